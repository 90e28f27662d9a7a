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

    item("RemoveAllSelected", "Delete Selected", Qt::Key_Delete, [this] { RemoveAllSelectedClick(); });
    r.add_menu("mnuDelete", QStringLiteral("Delete"), {"RemoveAllSelected"});

    item("mnuMoveSelectedUp", "Move Selected Up", {}, [this] { playlist_->move_selected(true); });
    item("mnuMoveSelectedDown", "Move Selected Down", {}, [this] { playlist_->move_selected(false); });
    r.add_menu("mnuMove", QStringLiteral("Move"), {"mnuMoveSelectedUp", "mnuMoveSelectedDown"});

    item("mnuSelectAll", "Select All", QKeySequence(Qt::CTRL | Qt::Key_A), [this] { mnuSelectAllClick(); });
    r.add_menu("mnuSelect", QStringLiteral("Select"), {"mnuSelectAll"});

    // The program's own two formats head the submenu; the export plug-ins' items follow them.
    item("mnuExportM3U", "Export to M3U", {}, [this] { ExportM3UClick(); });
    item("mnuExportPLS", "Export to PLS", {}, [this] { ExportPLSClick(); });
    r.add_menu("ExportTo", QStringLiteral("Export To"), {"mnuExportM3U", "mnuExportPLS"});

    item("mnuExitKarvo", "Exit", QKeySequence(Qt::CTRL | Qt::Key_X), [this] { ExitClick(); });

    r.add_menu("mnuCommands", {},
               {"mnuPlay", "mnuID3", menu_separator, "mnuDelete", "mnuMove", "mnuSelect", menu_separator, "ExportTo",
                menu_separator, "mnuExitKarvo"});
}

} // namespace karvo
