// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/options_settings.h"

#include <algorithm>
#include <charconv>

#include "library/main_settings.h"

namespace karvo {

namespace {

constexpr const char* settings_section = "Settings";
constexpr const char* advanced_section = "Advanced";
constexpr const char* auto_section = "AutoPlaylister";

using K = option_kind;

// The main window keeps these within the same bounds (main_settings.cpp).
constexpr int max_font_size = 72;
constexpr int max_randomize_times = 1000;

} // namespace

const std::vector<option_key>& option_keys() {
    static const std::vector<option_key> keys = {
        {settings_section, "MainBackColor", K::colour, {"BackColor"}, 0x800000},
        {settings_section, "MainForeColor", K::colour, {"ForeColor"}, 0xFFFFFF},
        {settings_section, "PanelColor", K::colour, {"PanelColor"}, 0xC08000},
        {settings_section, "PanelBorderColor", K::colour, {"PanelBorderColor"}, 0x000000},
        {settings_section, "MiscBackColorOn", K::colour, {"MiscBackColorOn"}, 0xA00000},
        {settings_section, "MiscBackColorOff", K::colour, {"MiscBackColorOff"}, 0x400000},
        {settings_section, "MiscForeColorOn", K::colour, {"MiscForeColorOn"}, 0xFFFF80},
        {settings_section, "MiscForeColorOff", K::colour, {"MiscForeColorOff"}, 0xC08000},
        {settings_section, "pls_font_size", K::integer, {"FontSize"}, 7, 1, max_font_size},
        {settings_section, "EnhancedWinamp", K::boolean, {"chkEnhancedWinamp"}, 0},
        {settings_section, "underscore_with_space", K::boolean, {"chkUnderscore"}, 1},
        {settings_section, "%20_with_space", K::boolean, {"chkPrctWithSpace"}, 1},
        {settings_section, "dot_with_space", K::boolean, {"chkDotWithSpace"}, 1},
        {settings_section, "remove_brackets", K::boolean, {"chkRemoveBracket"}, 1},
        {settings_section, "ShowFileExtension", K::boolean, {"chkShowExtension"}, 1},
        {settings_section, "verify_on_startup", K::boolean, {"chkVeryfiyMP3"}, 1},
        {settings_section, "search_item", K::choice, {"chkSearchFileName", "chkSearchFullPath"}, 1, 0, 1},
        {settings_section, "sort_item", K::choice, {"chkSortFileName", "chkSortFullPath"}, 1, 0, 1},
        {settings_section, "add_playlist_type", K::choice, {"chkAddPlaylist", "chkAddPlaylistContents"}, 1, 0, 1},
        {settings_section, "show_in", K::choice, {"rdoTaskbar", "rdoSystemTray", "rdoBoth"}, 0, 0, 2},
        {advanced_section, "Double_Click", K::choice, {"rdoEnqueue", "rdoPlay", "rdoRemove", "rdoSelectAll"}, 1, 0, 3},
        {settings_section, "system_tray_icon", K::integer, {"IconTrackBar"}, 0, 0, 9},
        {advanced_section, "RandomizeTimes", K::integer, {"RandomizeTimes"}, 1, 0, max_randomize_times},
        {settings_section, "drag_n_drop", K::choice, {"rdoAtBottom", "rdoCurrsorPos", "rdoAtTop"}, 0, 0, 2},
        {settings_section, "drag_n_drop_rnd", K::boolean, {"chkDragNDrop_Rnd"}, 0},
        {auto_section, "enqueue", K::boolean, {"chkEnqueue"}, 0},
        {auto_section, "add_curr_playlist", K::boolean, {"chkAddCurrPlaylist"}, 0},
        {auto_section, "add_saved_playlist", K::boolean, {"chkAddSavedPlaylist"}, 0},
        {auto_section, "enabled", K::boolean, {"chkEnableAutoPlayliser"}, 0},
        {auto_section, "dir", K::text, {"txtAutoPlaylister"}},
        {auto_section, "saved_playlist", K::text, {"cmbPlaylists"}},
    };
    return keys;
}

int option_row(std::string_view key) {
    const auto& keys = option_keys();
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (key == keys[i].key)
            return static_cast<int>(i);
    return -1;
}

namespace {

const option_value& row_of(const options_values& values, std::string_view key) {
    static const option_value none;
    const int row = option_row(key);
    return row < 0 || static_cast<std::size_t>(row) >= values.rows.size() ? none : values.rows[row];
}

option_value* row_of(options_values& values, std::string_view key) {
    const int row = option_row(key);
    return row < 0 || static_cast<std::size_t>(row) >= values.rows.size() ? nullptr : &values.rows[row];
}

option_value read_row(const platform::profile_document& ini, const option_key& k) {
    option_value v;
    switch (k.kind) {
        case K::boolean: v.number = ini.get_int(k.section, k.key, k.shown_default) != 0 ? 1 : 0; break;
        case K::colour:
            v.number = static_cast<int>(static_cast<std::uint32_t>(ini.get_int(k.section, k.key, k.shown_default)) &
                                        0xFFFFFFu);
            break;
        case K::integer: v.number = std::clamp(ini.get_int(k.section, k.key, k.shown_default), k.first, k.last); break;
        case K::text: v.text = ini.get_string(k.section, k.key, ""); break;
        case K::choice:
            // sort_item is read as a boolean, show_in as text; both end up a value of the range or the default.
            if (std::string_view(k.key) == "show_in") {
                v.number = read_show_in(ini);
            } else {
                const int stored = ini.get_int(k.section, k.key, k.shown_default);
                v.number = std::string_view(k.key) == "sort_item" || std::string_view(k.key) == "search_item"
                               ? (stored != 0 ? 1 : 0)
                               : (stored < k.first || stored > k.last ? k.shown_default : stored);
            }
            break;
    }
    return v;
}

} // namespace

int options_values::number(std::string_view key) const {
    return row_of(*this, key).number;
}
const std::string& options_values::text(std::string_view key) const {
    return row_of(*this, key).text;
}

void options_values::set_number(std::string_view key, int value) {
    if (option_value* v = row_of(*this, key))
        v->number = value;
}

void options_values::set_text(std::string_view key, std::string value) {
    if (option_value* v = row_of(*this, key))
        v->text = std::move(value);
}

options_values read_options(const platform::profile_document& ini, const std::vector<std::string>& extensions) {
    options_values values;
    for (const option_key& k : option_keys())
        values.rows.push_back(read_row(ini, k));
    for (const auto& extension : extensions)
        values.extensions.push_back(ini.get_int(advanced_section, extension, 1) != 0);
    return values;
}

bool write_options(platform::profile_document& ini, const options_values& values,
                   const std::vector<std::string>& player_names, const std::vector<std::string>& player_locations,
                   const std::vector<std::string>& extensions) {
    // The rows of a section keep their order, so one write per section leaves the file as the run of single
    // writes in the written order would.
    struct batch {
        const char* section;
        platform::profile_document::key_values pairs;
    };
    std::vector<batch> batches = {{settings_section, {}}, {advanced_section, {}}, {auto_section, {}}};
    auto put = [&](const char* section, const std::string& key, std::string value) {
        for (batch& b : batches)
            if (std::string_view(b.section) == section)
                b.pairs.emplace_back(key, std::move(value));
    };
    bool complete = true;
    for (std::size_t i = 0; i < player_names.size(); ++i) {
        if (player_names[i].empty())
            continue; // a slot without a player has no key
        put(settings_section, player_names[i], i < player_locations.size() ? player_locations[i] : "");
    }
    const auto& keys = option_keys();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const option_key& k = keys[i];
        const option_value v = i < values.rows.size() ? values.rows[i] : option_value{k.shown_default, {}};
        if (k.kind == K::text)
            put(k.section, k.key, v.text);
        else if (k.kind == K::boolean)
            put(k.section, k.key, v.number != 0 ? "1" : "0");
        else if (k.kind != K::choice || v.number >= 0)
            put(k.section, k.key, std::to_string(v.number));
        if (std::string_view(k.key) == "RandomizeTimes")
            for (std::size_t e = 0; e < extensions.size(); ++e)
                put(advanced_section, extensions[e], e >= values.extensions.size() || values.extensions[e] ? "1" : "0");
    }
    for (const batch& b : batches)
        complete = ini.set_strings_leaving_out(b.section, b.pairs) && complete;
    return complete;
}

int coerce_number(std::string_view text, int fallback, int first, int last) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        value = fallback;
    return std::clamp(value, first, last);
}

void restore_default_colours(options_values& values) {
    const auto& keys = option_keys();
    for (std::size_t i = 0; i < keys.size() && i < values.rows.size(); ++i)
        if (keys[i].kind == K::colour)
            values.rows[i].number = keys[i].shown_default;
}

std::string player_location_prompt(const std::string& prompt, const std::string& player_name) {
    return prompt + player_name + ".";
}

std::string player_file_filter(const std::string& player_name, const std::string& program_name) {
    return player_name + " MP3 Player |" + program_name + "|All Files (*.*)|*.*";
}

} // namespace karvo
