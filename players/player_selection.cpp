// SPDX-License-Identifier: GPL-3.0-or-later
#include "players/player_selection.h"

#include "players/mpd_player.h"

#include <algorithm>

#include "platform/ini_file.h"
#include "platform/profile_document.h"
#include "platform/prompts.h"

namespace karvo {
namespace {

constexpr int missing_player_message = 15;

} // namespace

const std::string& entry_or_empty(std::span<const std::string> list, int index) {
    static const std::string empty;
    return index >= 0 && index < static_cast<int>(list.size()) ? list[index] : empty;
}

player_selection::player_selection(platform::prompts& prompts, std::span<const std::string> messages,
                                   std::string settings_file, exists_test program_exists)
    : prompts_(prompts), messages_(messages), settings_file_(std::move(settings_file)),
      exists_(std::move(program_exists)) {}

player_selection::player_selection(platform::prompts& prompts, std::span<const std::string> messages,
                                   platform::profile_document& settings, exists_test program_exists)
    : prompts_(prompts), messages_(messages), settings_(&settings), exists_(std::move(program_exists)) {}

std::string player_selection::slot_caption(int slot) const {
    return slot < player_slot_count ? entry_or_empty(lists.names, slot) : std::string();
}

string_list player_selection::extra_player_names() const {
    if (lists.names.size() <= static_cast<std::size_t>(first_extra_player))
        return {};
    return string_list(lists.names.begin() + first_extra_player, lists.names.end());
}

void player_selection::names_changed() {
    extra_label_ = entry_or_empty(lists.names, first_extra_player);
}

int player_selection::index_of(const std::string& name) const {
    const auto found = std::find(lists.names.begin(), lists.names.end(), name);
    return found == lists.names.end() ? -1 : static_cast<int>(found - lists.names.begin());
}

bool player_selection::program_exists(int index) const {
    const std::string& path = location(index);
    return !path.empty() && exists_(path);
}

void player_selection::show_missing(const std::string& caption) {
    prompts_.message_box(entry_or_empty(messages_, missing_player_message) + " " + caption + ".", application_title,
                         platform::message_buttons::ok, platform::message_icon::none);
}

bool player_selection::apply(int index, const std::string& caption) {
    if (!program_exists(index)) {
        show_missing(caption);
        return false;
    }
    name_ = caption;
    program_ = location(index);
    index_ = index;
    if (settings_)
        settings_->set_string("Settings", "SelectedPlayer", std::to_string(index));
    else if (!settings_file_.empty())
        platform::write_private_profile_string("Settings", "SelectedPlayer", std::to_string(index), settings_file_);
    return true;
}

bool player_selection::select_by_label(const std::string& caption) {
    // A caption that names no player (fewer plug-in names than slots) has no program: reported like a missing one.
    return apply(index_of(caption), caption);
}

bool player_selection::select_extra(int box_index) {
    const string_list extras = extra_player_names();
    if (extras.empty())
        return false;
    // An entry that names no player falls back to the box's first entry, so name and program stay a pair.
    if (box_index < 0 || box_index >= static_cast<int>(extras.size()))
        box_index = 0;
    const std::string entry = extras[box_index];
    if (!apply(index_of(entry), entry))
        return false;
    extra_label_ = entry;
    return true;
}

void player_selection::select_at_startup(int stored_index) {
    if (stored_index < 0) {
        const int count = static_cast<int>(lists.locations.size());
        // The music daemon's marker needs no program here, so it would always be found: a first run picks only a
        // player whose program is installed, and MPD when the user chooses it.
        int first = 0;
        while (first < count && (!program_exists(first) || is_mpd_location(location(first))))
            ++first;
        if (first == count) {
            prompts_.message_box(no_player_location_text, application_title, platform::message_buttons::ok,
                                 platform::message_icon::information);
            return;
        }
        stored_index = first;
    }
    if (stored_index < first_extra_player) {
        select_by_label(slot_caption(stored_index));
        return;
    }
    // The box's change handler, then the click on lblPlayer6 with whatever caption it holds afterwards.
    select_extra(stored_index - first_extra_player);
    if (!extra_label_.empty())
        select_by_label(extra_label_);
}

} // namespace karvo
