// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_class.h"

#include "library/media_list.h"

namespace karvo {

playlist_class::playlist_class(const std::string& data_folder, folder_failure_handler on_failure)
    : named_file_store(data_folder, "Playlists", ".spl", playlists_folder_failure, std::move(on_failure)) {}

bool save_media_list_as_playlist(playlist_class& store, const std::string& name, media_list& list) {
    if (!store.save_text(name, list.serialise_for_file().view()))
        return false;
    list.set_list_name_of_all(name);
    return true;
}

void load_playlist_into(playlist_class& store, const std::string& name, media_list& list,
                        const std::function<void(int rows)>& progress) {
    store.for_each_line(
        name, [&list](std::uint64_t size) { list.reserve_for(size); },
        [&](std::string_view line) {
            list.append(line, name);
            if (progress && list.count() % 16384 == 0)
                progress(list.count());
        });
}

} // namespace karvo
