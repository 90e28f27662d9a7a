// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugins/id3_language.h"

namespace karvo {
namespace {

const std::array<std::pair<std::size_t, const char*>, 9> id3_targets = {{
    {0, id3_window_caption},
    {1, "cmdSave"},
    {2, "cmdExit"},
    {3, "lblGenre"},
    {4, "lblComments"},
    {5, "cmdNext"},
    {6, "cmdBack"},
    {7, "CurrentLabel"},
    {8, "TotalLabel"},
}};

// Entries 35-38 of the main window's list (messages 22-25: "Artist:", "Title:", ...).
const std::array<std::pair<std::size_t, const char*>, 4> main_targets = {{
    {35, "lblArtist"},
    {36, "lblTitle"},
    {37, "lblAlbum"},
    {38, "lblYear"},
}};

template <typename Targets>
void apply(const Targets& targets, const string_list& list, id3_language& language) {
    for (const auto& [index, control] : targets)
        if (index < list.size())
            language.captions[control] = list[index];
}

} // namespace

id3_language apply_id3_language(const string_list& id3_list, const string_list& main_list) {
    id3_language language;
    apply(id3_targets, id3_list, language);
    apply(main_targets, main_list, language);
    return language;
}

} // namespace karvo
