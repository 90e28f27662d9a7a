// The playlist menu `mnuSave`: opened from saved playlist nodes (tag 1), the "My Playlists" root (tag 2) and the
// `my_saved_pls` button (tag 0).
#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"

namespace karvo {

namespace {
constexpr int add_m3u_title = 39;
constexpr int add_pls_title = 40;
} // namespace

void TfrmMain::declare_playlist_menu() {
    command_registry& r = *commands_;
    const auto& builtin = builtin_main_messages();
    r.add({"AddM3UPlaylist", QString::fromStdString(builtin[add_m3u_title]), {}, {}, [this] { AddM3UPlaylistClick(); }});
    r.add({"AddPLSPlaylist", QString::fromStdString(builtin[add_pls_title]), {}, {}, [this] { AddPLSPlaylistClick(); }});
    r.add_menu("AddPlaylistFile", QStringLiteral("Add Playlist File"), {"AddM3UPlaylist", "AddPLSPlaylist"});
    r.add({"mnuDisplayAllSavedPlaylists", QStringLiteral("Display All Saved Playlists"),
           QKeySequence(Qt::CTRL | Qt::Key_W), {}, [this] { DisplayAllSavedPlaylists(); }});
    r.add_menu("mnuSave", {}, {"AddPlaylistFile", menu_separator, "mnuDisplayAllSavedPlaylists"});
}

} // namespace karvo
