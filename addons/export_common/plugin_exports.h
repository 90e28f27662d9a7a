// SPDX-License-Identifier: GPL-3.0-or-later
// The seven entry points of a shipped export plug-in, written once: each plug-in describes itself in one
// `this_plugin` object, and plugin_exports.cpp, compiled into every plug-in, answers the program's calls from it.
#pragma once

#include "library/string_list.h"

namespace karvo::exports {

struct plugin_description {
    double version;
    const char* author;
    const char* name;
    const char* menu_name;
    const char* about; // the about box's description
    void (*execute)(const string_list& paths);
    void (*configure)();
};

// Defined by each plug-in.
extern const plugin_description this_plugin;

} // namespace karvo::exports
