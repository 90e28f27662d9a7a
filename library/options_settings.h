// SPDX-License-Identifier: GPL-3.0-or-later
// The preferences dialog's side of karvo.ini: which key each control edits, the value shown when the key is
// missing, how a damaged value is brought back into range, and the write of every key in its order. The dialog
// only moves these values in and out of its controls.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile_document.h"

namespace karvo {

enum class option_kind {
    boolean, // a tick box, "1"/"0"
    integer, // a number field or track bar, clamped to first..last
    colour,  // a colour shape, 0x00BBGGRR as a decimal integer
    text,    // a text field or the text of the chosen drop-down item
    choice,  // radio buttons (or a pair of tick boxes acting as one): the value is the ticked control's index
};

struct option_key {
    const char* section;
    const char* key;
    option_kind kind;
    // The control that edits the key; a choice names one control per value 0, 1, ... (the rest null).
    std::array<const char*, 4> controls;
    int shown_default = 0; // what the dialog shows when the key is missing
    int first = 0;         // integer and choice: the values that make sense
    int last = 0;
};

// Every key of the dialog except the per-player and per-extension ones, in the order they are written.
const std::vector<option_key>& option_keys();
// The row of a key (by its name, sections apart), -1 when the dialog has none.
int option_row(std::string_view key);

struct option_value {
    int number = 0;   // every kind but text; a choice with nothing ticked is -1
    std::string text; // option_kind::text
    bool operator==(const option_value&) const = default;
};

struct options_values {
    std::vector<option_value> rows; // one per option_keys() row
    std::vector<bool> extensions;   // one per media extension of the resource plug-in

    int number(std::string_view key) const;
    const std::string& text(std::string_view key) const;
    void set_number(std::string_view key, int value);
    void set_text(std::string_view key, std::string value);
    bool operator==(const options_values&) const = default;
};

// Every control's value as the dialog shows it: the file's value, or the shown default when the key is missing or
// makes no sense (out of its range, a colour with bits above 0x00FFFFFF cut off).
options_values read_options(const platform::profile_document& ini, const std::vector<std::string>& extensions);

// OK and Apply: each player name with its location, then every row in its order, the extensions' [Advanced] keys
// after RandomizeTimes. A choice with nothing ticked writes nothing. One replacement of the file per section; a
// value the file cannot hold (a line break in a folder) is left out and the rest are still written. False when
// something was left out or the file could not be written.
bool write_options(platform::profile_document& ini, const options_values& values,
                   const std::vector<std::string>& player_names, const std::vector<std::string>& player_locations,
                   const std::vector<std::string>& extensions);

// The number fields after each change: the integer the whole text holds, else `fallback`; then clamped.
int coerce_number(std::string_view text, int fallback, int first, int last);

// Restore Defaults sets the eight colours, and only them, to the values shown for missing keys.
void restore_default_colours(options_values& values);

// The Media Players page: the label over the location field, and the browse dialog's filter.
std::string player_location_prompt(const std::string& prompt, const std::string& player_name);
std::string player_file_filter(const std::string& player_name, const std::string& program_name);

} // namespace karvo
