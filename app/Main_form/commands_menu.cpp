// SPDX-License-Identifier: GPL-3.0-or-later
// The commands menu `mnuCommands`: the playlist view's pop-up menu, also opened by `cmdCommands`.
#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/playlist_pane.h"

namespace karvo {

void TfrmMain::declare_commands_menu() {
    command_registry& r = *commands_;
    auto item = [&r](const char* id, const char* caption, QKeySequence key, std::function<void()> handler) {
        r.add({id, QString::fromUtf8(caption), key, {}, std::move(handler)});
    };

    item("mnuPlaySelected", "Play Selected", Qt::Key_F6, [this] { mnuPlaySelectedClick(); });
    item("mnuPlayCurrentPlaylist", "Play Current Playlist", Qt::Key_F7, [this] { cmdPlayClick(); });
    item("mnuEnqueueSelected", "Enqueue Selected", Qt::Key_F8, [this] { mnuEnqueueSelectedClick(); });
    item("mnuEnqueuePlaylist", "Enqueue Playlist", Qt::Key_F9, [this] { mnuEnqueuePlaylistClick(); });
    item("mnuPlayAllPlaylists", "Play All Playlists", Qt::Key_F10, [this] { mnuPlayAllPlaylistsClick(); });
    item("mnuPlayAllPlaylistsRandomized", "Play All Playlists (Randomized)", Qt::Key_F11,
         [this] { mnuPlayAllPlaylistsRandomizedClick(); });
    r.add_menu("mnuPlay", QStringLiteral("Play"),
               {"mnuPlaySelected", "mnuPlayCurrentPlaylist", "mnuEnqueueSelected", "mnuEnqueuePlaylist",
                "mnuPlayAllPlaylists", "mnuPlayAllPlaylistsRandomized"});

    item("mnuID3", "Edit ID3 Tag", Qt::Key_F3, [this] { mnuID3Click(); });
    item("mnuShowFileInfo", "Show File Info", QKeySequence(Qt::CTRL | Qt::Key_I), [this] { mnuShowFileInfoClick(); });

    item("RemoveAllDeadFiles", "Delete Broken Files", QKeySequence(Qt::CTRL | Qt::Key_D),
         [this] { RemoveAllDeadFilesClick(); });
    item("RemoveAllSelected", "Delete Selected", Qt::Key_Delete, [this] { RemoveAllSelectedClick(); });
    item("RemoveAllbutSelected", "Delete All but Selected", QKeySequence(Qt::ALT | Qt::Key_Backspace),
         [this] { RemoveAllbutSelectedClick(); });
    item("RemoveAll", "Delete All", QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { RemoveAllClick(); });
    r.add_menu("mnuDelete", QStringLiteral("Delete"),
               {"RemoveAllDeadFiles", "RemoveAllSelected", "RemoveAllbutSelected", "RemoveAll"});

    item("mnuMoveSelectedTop", "Move Selected to Top", {}, [this] { playlist_->move_to_edge(true); });
    item("mnuMoveSelectedBottom", "Move Selected to Bottom", {}, [this] { playlist_->move_to_edge(false); });
    item("mnuMoveSelectedUp", "Move Selected Up", {}, [this] { playlist_->move_selected(true); });
    item("mnuMoveSelectedDown", "Move Selected Down", {}, [this] { playlist_->move_selected(false); });
    r.add_menu("mnuMove", QStringLiteral("Move"),
               {"mnuMoveSelectedTop", "mnuMoveSelectedBottom", "mnuMoveSelectedUp", "mnuMoveSelectedDown"});

    item("mnuInvertSelection", "Invert Selection", {}, [this] { mnuInvertSelectionClick(); });
    item("mnuSelectAll", "Select All", QKeySequence(Qt::CTRL | Qt::Key_A), [this] { mnuSelectAllClick(); });
    item("mnuSelectthatHave", "Select that Have...", {}, [this] { mnuSelectthatHaveClick(); });
    r.add_menu("mnuSelect", QStringLiteral("Select"), {"mnuInvertSelection", "mnuSelectAll", "mnuSelectthatHave"});

    // The program's own two formats head the submenu; the export plug-ins' items follow them.
    item("mnuExportM3U", "Export to M3U", {}, [this] { ExportM3UClick(); });
    item("mnuExportPLS", "Export to PLS", {}, [this] { ExportPLSClick(); });
    r.add_menu("ExportTo", QStringLiteral("Export To"), {"mnuExportM3U", "mnuExportPLS"});

    // Send To: a hidden first item and a separator, then one item per saved playlist, rebuilt as the menu opens.
    r.add({"mnuSendToFolder", QStringLiteral("Another Folder"), {}, {}, {}, false});
    r.add_menu("mnuSendTo", QStringLiteral("Send To"), {"mnuSendToFolder", menu_separator});

    item("mnuCloneSong", "Clone Selected", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C),
         [this] { mnuCloneSongClick(); });
    item("mnuAbout", "About Karvo Media.", {}, [this] { mnuAboutClick(); });
    const std::pair<const char*, const char*> pages[] = {
        {"Karvo Media Home Page", "https://github.com/karvo-media/karvo-media"},
        {"Report a Problem", "https://github.com/karvo-media/karvo-media/issues"},
        {"Writing Plug-ins", "https://github.com/karvo-media/karvo-media/blob/main/sdk/karvo_plugin.h"}};
    std::vector<std::string> online;
    for (const auto& [caption, address] : pages) {
        const std::string id = std::string("mnuOnline") + std::to_string(online.size() + 1);
        item(id.c_str(), caption, {}, [this, url = std::string(address)] { open_web_page(url); });
        online.push_back(id);
    }
    r.add_menu("mnuOnline", QStringLiteral("Online"), online);

    item("mnuExitKarvo", "Exit", QKeySequence(Qt::CTRL | Qt::Key_X), [this] { ExitClick(); });

    r.add_menu("mnuCommands", {},
               {"SavePlaylist",    "SavePlaylistAs", menu_separator, "mnuPlay",           "mnuID3",
                "mnuShowFileInfo", menu_separator,   "mnuDelete",    "mnuMove",           "mnuSelect",
                menu_separator,    "ExportTo",       "mnuSendTo",    "mnuRevertPlaylist", "mnuCloneSong",
                menu_separator,    "mnuWindow",      "mnuAbout",     "mnuOnline",         menu_separator,
                "mnuExitKarvo",
                menu_separator,    "mnuUndo",        "mnuRedo"});
    r.on_menu_open("mnuCommands", [this](QMenu& menu) { rebuild_send_to(menu); });
}

} // namespace karvo
