// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain: the saved playlist of the last session restored on a worker thread while the window is already up.
#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/list_loader.h"
#include "library/playlist_class.h"

namespace karvo {
namespace {

// Below this a playlist (some twenty thousand entries) loads in well under a tenth of a second: it is there when
// the window first paints, as it always was.
constexpr std::uint64_t background_bytes = 4 << 20;

} // namespace

void TfrmMain::restore_playlist_in_background(const std::string& name) {
    if (playlists->size_of(name) < background_bytes) {
        load_playlist_into(*playlists, name, music_list);
        set_current_playlist_name(name);
        return;
    }
    if (!loader_)
        loader_ = std::make_unique<list_loader>();
    restoring_name_ = name;
    playlist_class* const store = playlists.get();
    loader_->start(
        music_list.switches,
        [store, name](media_list& list, const std::function<void(int)>& progress) {
            load_playlist_into(*store, name, list, progress);
        },
        [this, name](int rows) {
            show_progress("Loading \"" + name + "\": " + std::to_string(rows) + " entries");
        },
        [this, name](media_list* loaded) {
            show_progress("");
            restoring_name_.clear();
            // The playlist is shown only where nothing happened meanwhile: a list the user opened, or an entry
            // added, stays as it is (the saved file is unchanged, nothing is lost). Until now the name was unset,
            // so no save could write the empty list over the file.
            if (!loaded || state_.PlaylistMode != mode_playlist || !state_.current_playlist_name.empty() ||
                music_list.count() != 0)
                return;
            music_list = std::move(*loaded);
            set_current_playlist_name(name);
            refresh_count();
        });
}

} // namespace karvo
