// SPDX-License-Identifier: GPL-3.0-or-later
// The program side of plugins/resource.krp: loads the library once, copies its player table, media types, icons and
// description into the program's own lists, and forwards the media information calls. Qt-free; the main window
// puts the lists into its controls.
#pragma once

#include "components/Readahead/read_ahead_pool.h"
#include "library/string_list.h"
#include "platform/dynamic_library.h"
#include "sdk/karvo_plugin.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "plugins/media_reader.h"
#include "plugins/timed_calls.h"

namespace karvo {

// "v. " followed by the number in general floating-point format: 2 gives "v. 2", 1.5 gives "v. 1.5".
std::string format_version_label(double version);

// What the user is told when the library cannot be loaded: message 15 of the main-window table, then the path.
std::string missing_resource_plugin_text(const std::string& message_15);

class resource_plugin {
public:
    static constexpr const char* relative_path = "plugins/resource.krp";
    static constexpr int player_slot_count = 6;
    static constexpr std::chrono::milliseconds default_read_time_limit{10000};

    resource_plugin();
    ~resource_plugin(); // a library a call is still stuck in stays loaded
    resource_plugin(resource_plugin&&) = default;
    resource_plugin& operator=(resource_plugin&&) = default;

    // Loads the library and fills every list, in the fixed step order. False when the library cannot be loaded
    // (the program then reports missing_resource_plugin_text and ends). A missing export leaves its list empty.
    bool load(const std::string& library_path);
    bool load_from(const std::string& program_folder); // program_folder + relative_path
    bool loaded() const { return library_.loaded(); }
    const std::string& error() const { return library_.error(); }

    // Parallel player lists, index = player index.
    const string_list& player_names() const { return player_names_; }
    const string_list& program_names() const { return program_names_; }
    const string_list& default_locations() const { return default_locations_; }
    const string_list& home_pages() const { return home_pages_; }
    // Captions of the six slot labels (names 0-5; blank where the plug-in names fewer).
    string_list slot_captions() const;
    // The extra-players box: names from index 6 on, in order.
    string_list extra_player_names() const;
    // lblPlayer6 takes the box's first entry; blank when the box is empty.
    std::string player6_caption() const;

    const string_list& extensions() const { return extensions_; }
    const string_list& extension_display() const { return extension_display_; }
    // PNG bytes of each extension's icon, same index; empty when the plug-in has none.
    const std::vector<std::vector<unsigned char>>& extension_icons() const { return extension_icons_; }

    const string_list& info_lines() const { return info_lines_; }
    const std::string& author() const { return author_; }
    const std::string& version_label() const { return version_label_; }

    bool has_media_info() const { return get_media_info_string_ != nullptr; }
    // The plug-in's _is_reentrant said so; without the export it is not.
    bool is_reentrant() const { return reentrant_; }
    // How the readers may call media_info_string: helpers are separate processes, so they read side by side
    // whatever the plug-in allows, each on a stream of requests. The policy refers to this object.
    read_ahead_policy read_ahead() const;
    // Media information is read from now on through helper processes running `program` (see media_reader.h), so a
    // crash in a read ends a helper, not the program; a helper that crashes or overruns the limit is replaced and
    // its file is described by its path and counted as unread. False (reads stay in this process) when the
    // helper cannot start. Call after load().
    bool use_reader_process(const std::string& program, int max_helpers = read_ahead_pool::default_threads());
    bool reads_in_helpers() const { return reader_ != nullptr; }
    // The file's media info string: the plug-in's items joined in order. Empty when the export is missing or the
    // plug-in cannot describe the file (the caller then skips it). Callable from any thread: the calls into a
    // plug-in that is not reentrant are made one at a time. A call runs on a helper thread and is waited for at
    // most the read time limit; past it the file is described by its path alone and counted as unread. After a
    // call into a plug-in that is not reentrant overran, the plug-in is not called again for media information.
    std::string media_info_string(const std::string& path) const;
    // Reads that ended their helper process by a crash.
    int crashed_count() const { return crashed_->load(); }
    void set_read_time_limit(std::chrono::milliseconds limit) { reads_->set_limit(limit); }
    // Files described by their path alone because the plug-in did not answer in time.
    int unread_count() const { return unread_->load(); }
    // A call is inside the plug-in (given up, or still waited for, here or in a helper): the program must end
    // without unloading it and without waiting for the call.
    bool has_stuck_reads() const {
        return (reads_ && (reads_->given_up() > 0 || reads_->in_flight() > 0)) || (reader_ && reader_->busy() > 0);
    }
    void show_media_info(const std::string& path) const;
    // Kept for completeness; -1 when the export is missing.
    int media_duration(const std::string& path) const;

    // The plug-in writes tags in each file's own format (_write_media_tags).
    bool writes_tags() const;
    struct tag_write_result {
        std::int32_t status = KARVO_TAG_FAILED; // KARVO_TAG_*
        std::string message;
    };
    // Writes the named fields (KARVO_TAG_* names, values in UTF-8; an empty value removes the field). Called like
    // media_info_string; a plug-in without the export gives KARVO_TAG_UNSUPPORTED.
    tag_write_result write_media_tags(const std::string& path,
                                      const std::vector<std::pair<std::string, std::string>>& fields) const;

private:
    void clear();
    std::unique_lock<std::mutex> exclusive_call() const; // held over a call into a plug-in that is not reentrant

    std::string in_process_info(const std::string& path) const;
    std::string info_from(const std::string& path, media_reader::answer answer) const;

    platform::dynamic_library library_;
    std::string library_path_;
    std::unique_ptr<media_reader> reader_;
    std::unique_ptr<std::atomic<int>> crashed_ = std::make_unique<std::atomic<int>>(0);
    // Serialises the calls into a plug-in that is not reentrant; shared with calls that may outlive this object.
    std::shared_ptr<std::mutex> calls_ = std::make_shared<std::mutex>();
    std::unique_ptr<timed_calls> reads_;
    std::unique_ptr<std::atomic<int>> unread_ = std::make_unique<std::atomic<int>>(0);
    std::unique_ptr<std::atomic<bool>> stuck_ = std::make_unique<std::atomic<bool>>(false);
    karvo_get_media_info_string_fn get_media_info_string_ = nullptr;
    karvo_show_media_info_fn show_media_info_ = nullptr;
    karvo_get_media_duration_fn get_media_duration_ = nullptr;
    bool reentrant_ = false;

    string_list player_names_, program_names_, default_locations_, home_pages_;
    string_list extensions_, extension_display_;
    std::vector<std::vector<unsigned char>> extension_icons_;
    string_list info_lines_;
    std::string author_, version_label_;
};

} // namespace karvo
