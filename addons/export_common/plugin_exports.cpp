// SPDX-License-Identifier: GPL-3.0-or-later
#include "addons/export_common/plugin_exports.h"

#include "addons/export_common/plugin_windows.h"
#include "plugins/plugin_lists.h"
#include "sdk/karvo_plugin.h"

using karvo::exports::this_plugin;

extern "C" {

KARVO_EXPORT double _get_version_number(void) {
    return this_plugin.version;
}
KARVO_EXPORT const char* _get_author_name(void) {
    return this_plugin.author;
}
KARVO_EXPORT const char* _get_plugin_name(void) {
    return this_plugin.name;
}
KARVO_EXPORT const char* _get_menu_name(void) {
    return this_plugin.menu_name;
}

KARVO_EXPORT void _execute(const karvo_string_list* paths) {
    karvo::exports::guarded([paths] { this_plugin.execute(karvo::copy_plugin_list(paths)); });
}

KARVO_EXPORT void _show_config_window(void) {
    karvo::exports::guarded(this_plugin.configure);
}

KARVO_EXPORT void _show_about_window(void) {
    karvo::exports::guarded([] {
        karvo::exports::show_about({QString::fromUtf8(this_plugin.name), QString::number(this_plugin.version, 'g', 15),
                                    QString::fromUtf8(this_plugin.author), QString::fromUtf8(this_plugin.about)});
    });
}

} // extern "C"
