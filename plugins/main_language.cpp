// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugins/main_language.h"

#include "plugins/plugin_lists.h"

#include <vector>

namespace karvo {
namespace {

constexpr std::array<const char*, main_message_count> builtin_messages = {
    "Media Names",
    "Total Files",
    "My Computer Operations Menu",
    "My Playlists Operations Menu",
    "My Media CDs Operations Menu",
    "Left Click: Moves selected Up, Right Click: Moves selected to Top.",
    "Left Click: Moves selected Down, Right Click: Moves selected to Bottom.",
    "Play the Current playlist.",
    "Attempt to Stop the currently selected Media Player.",
    "Randomize the current playlist.",
    "Sort in Ascending order",
    "Sort in Descending order",
    "Show the commands Menu.",
    "Show the preferences Menu.",
    "<none>",
    "Karvo Media can't find this Media Player.  Please go to Prefrences->Media Players and specify the location of: ",
    "Please go to My Computer and choose a Directory",
    "Save to PLS file",
    "Save to M3U file",
    "Can't Save! Please Choose a Playlist to Save or Not in Playlist Mode.",
    "Please Enter Playlist Name.",
    "Nothing was entered.",
    "Artist:",
    "Title:",
    "Album:",
    "Year:",
    "Path:",
    "Only Drives and Folders can be dropped on the Virtual Playlist.",
    "Are you sure you want to Revert the current Playlist?  All Changes will be Lost!",
    "My Computer",
    "My Playlists",
    "My Media CDs",
    "This Media CD is not inserted!  Please insert the selected Media CD in your CD Drive and retry.",
    "Please Enter a New Playlist Name.",
    "Are you sure you want to DELETE the currently selected Playlist: ",
    "Please Choose a Playlist to Delete.",
    "Can't Add Files Here.",
    ";Please Enter a New Playlist Name for: ",
    "Karvo was NOT able to create the Playlists directory.",
    "Add M3U playlist",
    "Add PLS playlist",
    "This will convert your previously saved Karvo v2.0 Playlists to Karvo v3.0 Playlists.  Do you wish to proceed?",
    "Conversion Complete.  Do you want to delete your Karvo v2.0 Playlists?",
    "Please enter a name for your new Media CD.",
    "The Selected Drive is not a CD-ROM!",
    "Are you sure you want to DELETE the currently selected Media CD, called: ",
    "Please Choose an Media CD to Delete.",
    "Can't Save or not in Media CD Mode.",
    "Select all entries that have...",
    "Couldn't Load Language file.",
    "There is nothing in your playlist.",
    "Length: ",
    "Please Enter a New Media CD Name for: ",
    "Please go to My Computer and choose a Directory.",
    "Play This Drive",
    "Play This Folder",
    "Search Type: Partial Search, Full Display.  Click to change to Partial Search, Partial Display.",
    "Search Type: Partial Search, Partial Display.  Click to change to Exact Search.",
    "Search Type: Exact Search, Full Display.  Click to change to Partial Search, Full Display.",
    "This feature only works when WinAMP or NAD is running and must be selected.",
    "There is Nothing Selected.",
    "This feature only works when %1 is running and is selected.",
    "Karvo Media could not write the temporary playlist %1, so no player was started.",
    "%1 could not be reached: %2",
    "%1 entries were left out: they lie outside the music folder that %2 knows.",
    "%2 did not take %1 entries:",
};

// One list entry and what it replaces: a message (message >= 0) and/or the captions of controls.
struct main_target {
    int index;
    int message;
    std::vector<const char*> controls;
};

constexpr int no_message = -1;
constexpr int long_list_threshold = 91; // entries 91 and up are read only from a list longer than this

std::vector<main_target> make_main_targets() {
    std::vector<main_target> t = {
        {6, 0, {}},
        {7, 1, {}},
        {11, no_message, {"mnuPlayAllPlaylists"}},
        {13, no_message, {"mnuPlaySelected"}},
        {14, no_message, {"mnuEnableID3Read"}},
    };
    for (int index = 15; index <= 62; ++index) {
        t.push_back({index, index - 13, {}});
        if (index == 20) // message 7 is also the caption of this menu entry
            t.back().controls = {"mnuPlayCurrentPlaylist"};
    }
    const std::vector<std::pair<int, std::vector<const char*>>> menus = {
        {63, {"AddNewMediaCD", "AddNewMediaCD1"}},
        {64, {"RemoveMediaCD"}},
        {65, {"RenameMediaCD"}},
        {66, {"SaveMediaCD"}},
        {67, {"mnuID3"}},
        {68, {"RemoveAllSelected"}},
        {69, {"RemoveAllbutSelected"}},
        {70, {"RemoveAll"}},
        {71, {"RemoveAllDeadFiles"}},
        {72, {"mnuSelectthatHave"}},
        {73, {"mnuRevertPlaylist"}},
        {74, {"mnuCloneSong"}},
        {75, {"mnuMoveSelectedTop"}},
        {76, {"mnuMoveSelectedBottom"}},
        {77, {"mnuSelectAll"}},
        {78, {"mnuInvertSelection"}},
        {79, {"mnuAbout"}},
        {80, {"mnuAdd_File"}},
        {81, {"mnuAdd_Directory"}},
        {82, {"mnuAdd_Files"}},
        {83, {"mnuNewPls"}},
        {84, {"mnuDeletePlaylist"}},
        {85, {"RenamePlaylist"}},
        {86, {"AddPlaylistFile"}},
        {89, {"mnuSaveAs"}},
    };
    for (const auto& [index, controls] : menus)
        t.push_back({index, no_message, controls});
    for (int index = 91; index <= 96; ++index)
        t.push_back({index, index - 41, {}});
    t.push_back({97, no_message, {"mnuPlaySelectedTemp"}});
    for (int index = 98; index <= 102; ++index)
        t.push_back({index, index - 42, {}});
    const std::vector<std::pair<int, const char*>> late_menus = {
        {103, "mnuShow"},
        {104, "mnuExit"},
        {105, "mnuPlayAllPlaylistsRandomized"},
        {106, "mnuEnqueuePlaylist"},
        {107, "mnuEnqueueSelected"},
        {108, "mnuShowFileInfo"},
        {109, "mnuMoveSelectedUp"},
        {110, "mnuMoveSelectedDown"},
        {111, "mnuExitKarvo"},
        {112, "mnuDisplayAllMediaCDs"},
        {113, "mnuDisplayAllSavedPlaylists"},
        {114, virtual_playlist_column1},
        {115, "ExportTo"},
        {116, "mnuSendTo"},
        {117, "mnuSelect"},
        {118, "mnuMove"},
        {119, "mnuDelete"},
    };
    for (const auto& [index, control] : late_menus)
        t.push_back({index, no_message, {control}});
    for (int index = 120; index <= 124; ++index)
        t.push_back({index, index - 59, {}});
    return t;
}

const std::vector<main_target>& main_targets() {
    static const std::vector<main_target> targets = make_main_targets();
    return targets;
}

} // namespace

const std::array<const char*, main_message_count>& builtin_main_messages() {
    return builtin_messages;
}

main_language builtin_main_language() {
    main_language language;
    for (int i = 0; i < main_message_count; ++i)
        language.messages[i] = builtin_messages[i];
    return language;
}

main_language apply_main_language(const string_list& list) {
    main_language language = builtin_main_language();
    const bool long_list = list.size() > static_cast<std::size_t>(long_list_threshold);
    for (const main_target& target : main_targets()) {
        if (target.index >= long_list_threshold && !long_list)
            break; // the targets are in index order
        if (static_cast<std::size_t>(target.index) >= list.size())
            continue;
        const std::string& text = list[target.index];
        if (target.message != no_message)
            language.messages[target.message] = text;
        for (const char* control : target.controls)
            language.captions[control] = text;
    }
    // These two menu entries show the import texts, whichever list they came from.
    language.captions["AddM3UPlaylist"] = language.messages[39];
    language.captions["AddPLSPlaylist"] = language.messages[40];
    return language;
}

} // namespace karvo
