// SPDX-License-Identifier: GPL-3.0-or-later
// The player lists of the players panel and the one selected player. The name, the program path and the stored
// `SelectedPlayer` index change only together; a player whose program file is missing is never selected.
#pragma once

#include <functional>
#include <span>
#include <string>

#include "library/command_texts.h"
#include "library/string_list.h"

namespace karvo {
namespace platform {
class prompts;
class profile_document;
} // namespace platform

// Indices 0-5 are the six slot labels, 6 and up the extra players of the box.
inline constexpr int player_slot_count = 6;
inline constexpr int first_extra_player = 6;

// Names the player commands treat specially.
inline constexpr const char* winamp_player_name = "WinAMP";
inline constexpr const char* sonique_player_name = "Sonique";
inline constexpr const char* nad_player_name = "NAD";
inline constexpr int sonique_slot = 1;

inline constexpr const char* no_player_location_text =
    "Currently, no Media Player Location is defined.  Please go to Preferences Menu->Media Players to tell Karvo "
    "Media where your Favorite Media Players are located.";

// The parallel lists of the resource plug-in and the settings, all indexed by player index.
struct player_lists {
    string_list names;
    string_list locations;     // program path of each player ([Settings], one key per name)
    string_list program_names; // file-dialog filter of each player's program
    string_list default_locations;
    string_list home_pages;
};

// Element `index` of a list or of the message table, or "" when there is no such element.
const std::string& entry_or_empty(std::span<const std::string> list, int index);

class player_selection {
public:
    using exists_test = std::function<bool(const std::string& path)>;

    // `messages` is the main-window message table (message 15 names a missing player); `settings_file` receives
    // `SelectedPlayer` whenever the selection changes.
    player_selection(platform::prompts& prompts, std::span<const std::string> messages, std::string settings_file,
                     exists_test program_exists);
    // The same, writing through the settings document the window has open.
    player_selection(platform::prompts& prompts, std::span<const std::string> messages,
                     platform::profile_document& settings, exists_test program_exists);

    player_lists lists;

    const std::string& name() const { return name_; }       // caption of lblPlayerTop; "" before a selection
    const std::string& program() const { return program_; } // the current player program
    int index() const { return index_; }                    // -1 before a selection

    // Caption of slot label 0-5: the plug-in's name for it, blank when the plug-in names fewer players.
    std::string slot_caption(int slot) const;
    // Names from index 6 on, the entries of cmbPlayers.
    string_list extra_player_names() const;
    // Caption of lblPlayer6: the box's first entry until an extra player is chosen.
    const std::string& extra_label() const { return extra_label_; }

    int index_of(const std::string& name) const; // -1 when the name is not a player
    const std::string& location(int index) const { return entry_or_empty(lists.locations, index); }
    bool program_exists(int index) const;
    // Whether a slot label accepts files dropped from a file manager, and whether a playlist drag may go there.
    bool slot_accepts_drops(int slot) const { return slot >= 0 && slot < player_slot_count && program_exists(slot); }

    // Click on lblPlayer0..lblPlayer6 with that label's caption. Returns whether the player was selected; when its
    // program is missing, message 15 with the name is shown and nothing changes.
    bool select_by_label(const std::string& caption);
    // Change of cmbPlayers to entry `box_index` (an index out of range falls back to the first entry).
    bool select_extra(int box_index);
    // Applies the stored `SelectedPlayer` at start-up.
    void select_at_startup(int stored_index);

    // To be called after `lists.names` changes: lblPlayer6 takes the box's first entry.
    void names_changed();

private:
    bool apply(int index, const std::string& caption);
    void show_missing(const std::string& caption);

    platform::prompts& prompts_;
    std::span<const std::string> messages_;
    std::string settings_file_;
    platform::profile_document* settings_ = nullptr;
    exists_test exists_;
    std::string name_;
    std::string program_;
    int index_ = -1;
    std::string extra_label_;
};

} // namespace karvo
