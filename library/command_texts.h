// SPDX-License-Identifier: GPL-3.0-or-later
// The texts the playlist commands show: the message-box title and the entries of the main window's message table
// (replaceable by the language plug-in), each named with its index and built-in wording, plus the few fixed texts
// the table does not hold.
#pragma once

#include <string>
#include <vector>

namespace karvo {

// The application's title and the caption of the main window's message boxes.
inline constexpr const char* application_title = "Karvo Media v4.0 Beta 3.5";

namespace texts {

struct message_id {
    int index;
    const char* builtin;
};

inline constexpr message_id media_names{0, "Media Names"};
inline constexpr message_id total_files{1, "Total Files"};
inline constexpr message_id my_computer_hint{2, "My Computer Operations Menu"};
inline constexpr message_id my_playlists_hint{3, "My Playlists Operations Menu"};
inline constexpr message_id my_media_cds_hint{4, "My Media CDs Operations Menu"};
inline constexpr message_id play_hint{7, "Play the Current playlist."};
inline constexpr message_id stop_hint{8, "Attempt to Stop the currently selected Media Player."};
inline constexpr message_id randomize_hint{9, "Randomize the current playlist."};
inline constexpr message_id sort_ascending_hint{10, "Sort in Ascending order"};
inline constexpr message_id sort_descending_hint{11, "Sort in Descending order"};
inline constexpr message_id commands_hint{12, "Show the commands Menu."};
inline constexpr message_id options_hint{13, "Show the preferences Menu."};
inline constexpr message_id none_name{14, "<none>"};
inline constexpr message_id cant_find_player{
    15, "Karvo Media can't find this Media Player.  Please go to Prefrences->Media Players and specify the location of: "};
inline constexpr message_id choose_a_directory{16, "Please go to My Computer and choose a Directory"};
inline constexpr message_id export_pls_title{17, "Save to PLS file"};
inline constexpr message_id export_m3u_title{18, "Save to M3U file"};
inline constexpr message_id cant_save_playlist{19,
                                               "Can't Save! Please Choose a Playlist to Save or Not in Playlist Mode."};
inline constexpr message_id enter_playlist_name{20, "Please Enter Playlist Name."};
inline constexpr message_id nothing_entered{21, "Nothing was entered."};
inline constexpr message_id only_drives_and_folders{27,
                                                    "Only Drives and Folders can be dropped on the Virtual Playlist."};
inline constexpr message_id my_computer{29, "My Computer"};
inline constexpr message_id my_playlists{30, "My Playlists"};
inline constexpr message_id my_media_cds{31, "My Media CDs"};
inline constexpr message_id media_cd_not_inserted{
    32, "This Media CD is not inserted!  Please insert the selected Media CD in your CD Drive and retry."};
inline constexpr message_id cant_add_here{36, "Can't Add Files Here."};
inline constexpr message_id add_m3u_title{39, "Add M3U playlist"};
inline constexpr message_id add_pls_title{40, "Add PLS playlist"};
inline constexpr message_id revert_question{
    28, "Are you sure you want to Revert the current Playlist?  All Changes will be Lost!"};
inline constexpr message_id enter_new_playlist_name{33, "Please Enter a New Playlist Name."};
inline constexpr message_id delete_playlist_question{
    34, "Are you sure you want to DELETE the currently selected Playlist: "};
inline constexpr message_id choose_playlist_to_delete{35, "Please Choose a Playlist to Delete."};
inline constexpr message_id rename_playlist_prompt{37, ";Please Enter a New Playlist Name for: "};
inline constexpr message_id name_new_media_cd{43, "Please enter a name for your new Media CD."};
inline constexpr message_id not_a_cdrom{44, "The Selected Drive is not a CD-ROM!"};
inline constexpr message_id delete_media_cd_question{
    45, "Are you sure you want to DELETE the currently selected Media CD, called: "};
inline constexpr message_id choose_media_cd_to_delete{46, "Please Choose an Media CD to Delete."};
inline constexpr message_id cant_save_media_cd{47, "Can't Save or not in Media CD Mode."};
inline constexpr message_id select_entries_that_have{48, "Select all entries that have..."};
inline constexpr message_id rename_media_cd_prompt{52, "Please Enter a New Media CD Name for: "};
inline constexpr message_id choose_directory{53, "Please go to My Computer and choose a Directory."};
inline constexpr message_id play_this_drive{54, "Play This Drive"};
inline constexpr message_id play_this_folder{55, "Play This Folder"};

// Texts outside the message table.
inline constexpr const char* playlist_exists_question = "This Playlist already exists.  Do you Want to overwrite it";
inline constexpr const char* new_playlist_default = "My New Favorite MP3's";
inline constexpr const char* save_as_default = "My Favorite MP3's";
inline constexpr const char* media_cd_caption = "Karvo Media";
inline constexpr const char* new_media_cd_added = "New Media CD added.";
inline constexpr const char* recaching_file = "Re-caching File: ";
inline constexpr const char* waste_bin_hint =
    "Drag'n Drop Saved Playlist, Media CDs or Media Files from your Virtual Playlist to Delete them.";
inline constexpr message_id volume_hint{-1, "Show or hide the Volume panel."};
inline constexpr const char* waste_bin_refusal =
    "You can only Drag'n Drop Saved Playlist, Media CDs, or Media Files from you Virtual Playlist";

} // namespace texts

class command_texts {
public:
    // The message-box title of every box the commands show (unless a text names its own caption).
    std::string title = application_title;
    // The main window's message table as the language plug-in left it; empty or short lists fall back to the
    // built-in wording.
    std::vector<std::string> messages;

    std::string operator[](texts::message_id id) const {
        if (id.index >= 0 && id.index < static_cast<int>(messages.size()))
            return messages[static_cast<std::size_t>(id.index)];
        return id.builtin;
    }
};

} // namespace karvo
