// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's replaceable texts: the message table with its built-in wording (the original 61 entries, then
// the player messages of this system), and how a language list replaces messages and control captions by index.
#pragma once

#include "library/string_list.h"

#include <array>
#include <map>
#include <string>

namespace karvo {

inline constexpr int main_message_count = 66;

// The built-in message table; in 61-65, %1 and %2 stand for values filled in when shown.
const std::array<const char*, main_message_count>& builtin_main_messages();

// Control name of the virtual playlist's column 1 caption ("Artist" in the layout).
inline constexpr const char* virtual_playlist_column1 = "LstMusicList.Column1";

struct main_language {
    std::array<std::string, main_message_count> messages;
    // Control name -> new caption; a control not named keeps its layout caption.
    std::map<std::string, std::string> captions;
};

// The built-in messages and no caption changes: what applies without the language library or its export.
main_language builtin_main_language();

// Applies a _get_main_language list: entries 6-89, and 91-124 only when the list has more than 91 entries
// (120-124 are messages 61-65).
// An entry beyond the list's count is not read, and whatever it would set keeps its built-in text; so a list of
// 91 entries or fewer keeps the built-in messages 50-60.
main_language apply_main_language(const string_list& list);

} // namespace karvo
