// SPDX-License-Identifier: GPL-3.0-or-later
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
    r.add(
        {"AddM3UPlaylist", QString::fromStdString(builtin[add_m3u_title]), {}, {}, [this] { AddM3UPlaylistClick(); }});
    r.add(
        {"AddPLSPlaylist", QString::fromStdString(builtin[add_pls_title]), {}, {}, [this] { AddPLSPlaylistClick(); }});
    r.add({"AddXSPFPlaylist", QString::fromStdString(xspf_import_title), {}, {}, [this] { AddXSPFPlaylistClick(); }});
    r.add({"mnuImportReport", QStringLiteral("Show Import Report"), {}, {}, [this] { mnuImportReportClick(); }});
    r.add_menu("AddPlaylistFile", QStringLiteral("Add Playlist File"),
               {"AddM3UPlaylist", "AddPLSPlaylist", "AddXSPFPlaylist", menu_separator, "mnuImportReport"});
    // The store commands themselves are declared with the others in main_form_stores.cpp.
    r.add_menu("mnuSave", {},
               {"mnuNewPls", "mnuDeletePlaylist", "RenamePlaylist", "RecachePlaylist", menu_separator,
                "AddPlaylistFile", menu_separator, "mnuDisplayAllSavedPlaylists", "mnuSaveAs"});
}

} // namespace karvo
