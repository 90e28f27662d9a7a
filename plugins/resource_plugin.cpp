// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugins/resource_plugin.h"

#include "library/media_entry.h"
#include "plugins/crash_note.h"
#include "platform/paths.h"
#include "platform/readable_memory.h"
#include "plugins/plugin_lists.h"

namespace karvo {
namespace {

// Every export the program knows, resolved in one go before any is called.
struct resource_exports {
    explicit resource_exports(const platform::dynamic_library& library)
        : player_names(library.function<karvo_get_player_names_fn>("_get_player_names")),
          version(library.function<karvo_get_version_fn>("_get_version")),
          extensions(library.function<karvo_get_new_extensions_fn>("_get_new_extensions")),
          descriptions(library.function<karvo_get_new_descriptions_fn>("_get_new_descriptions")),
          filename(library.function<karvo_get_filename_fn>("_get_filename")),
          url(library.function<karvo_get_url_fn>("_get_URL")),
          plugin_info(library.function<karvo_get_plugin_info_fn>("_get_plugin_info")),
          author_name(library.function<karvo_get_author_name_fn>("_get_author_name")),
          default_locations(library.function<karvo_get_default_player_locations_fn>("_get_default_player_locations")),
          media_info_string(library.function<karvo_get_media_info_string_fn>("_get_media_info_string")),
          show_media_info(library.function<karvo_show_media_info_fn>("_show_media_info")),
          media_duration(library.function<karvo_get_media_duration_fn>("_get_media_duration")),
          is_reentrant(library.function<karvo_is_reentrant_fn>("_is_reentrant")) {}
    karvo_get_player_names_fn player_names;
    karvo_get_version_fn version;
    karvo_get_new_extensions_fn extensions;
    karvo_get_new_descriptions_fn descriptions;
    karvo_get_filename_fn filename;
    karvo_get_url_fn url;
    karvo_get_plugin_info_fn plugin_info;
    karvo_get_author_name_fn author_name;
    karvo_get_default_player_locations_fn default_locations;
    karvo_get_media_info_string_fn media_info_string;
    karvo_show_media_info_fn show_media_info;
    karvo_get_media_duration_fn media_duration;
    karvo_is_reentrant_fn is_reentrant;
};

} // namespace

std::string format_version_label(double version) {
    return "v. " + general_format(version);
}

std::string missing_resource_plugin_text(const std::string& message_15) {
    return message_15 + " plugins/resource.krp";
}

resource_plugin::resource_plugin() : reads_(std::make_unique<timed_calls>(default_read_time_limit)) {}

resource_plugin::~resource_plugin() {
    if (has_stuck_reads())
        library_.release();
}

void resource_plugin::clear() {
    const std::chrono::milliseconds limit = reads_ ? reads_->limit() : default_read_time_limit;
    if (has_stuck_reads())
        library_.release();
    *this = resource_plugin{};
    reads_->set_limit(limit);
}

bool resource_plugin::load(const std::string& library_path) {
    clear();
    if (!library_.load(library_path))
        return false;
    library_path_ = library_path;
    const resource_exports exports(library_);
    get_media_info_string_ = exports.media_info_string;
    show_media_info_ = exports.show_media_info;
    get_media_duration_ = exports.media_duration;
    reentrant_ = exports.is_reentrant && exports.is_reentrant() != 0;

    if (exports.plugin_info)
        info_lines_ = copy_plugin_list(exports.plugin_info());
    if (exports.author_name) {
        author_ = platform::read_text(exports.author_name(), max_plugin_item_bytes).value_or("");
    }
    if (exports.extensions && exports.descriptions) {
        extensions_ = copy_plugin_list(exports.extensions());
        const string_list descriptions = copy_plugin_list(exports.descriptions());
        const std::string none;
        for (std::size_t i = 0; i < extensions_.size(); ++i) {
            extension_display_.push_back(item_or(descriptions, i, none) + " (" + extensions_[i] + ")");
            extension_icons_.push_back(library_.icon_resource(static_cast<std::int32_t>(i + 1)));
        }
    }
    if (exports.default_locations)
        default_locations_ = copy_plugin_list(exports.default_locations());
    if (exports.filename)
        program_names_ = copy_plugin_list(exports.filename());
    if (exports.player_names)
        player_names_ = copy_plugin_list(exports.player_names());
    if (exports.version)
        version_label_ = format_version_label(exports.version());
    if (exports.url)
        home_pages_ = copy_plugin_list(exports.url());
    return true;
}

bool resource_plugin::load_from(const std::string& program_folder) {
    return load(platform::with_trailing_slash(program_folder) + relative_path);
}

string_list resource_plugin::slot_captions() const {
    string_list captions(player_slot_count);
    for (std::size_t i = 0; i < captions.size() && i < player_names_.size(); ++i)
        captions[i] = player_names_[i];
    return captions;
}

string_list resource_plugin::extra_player_names() const {
    if (player_names_.size() <= static_cast<std::size_t>(player_slot_count))
        return {};
    return string_list(player_names_.begin() + player_slot_count, player_names_.end());
}

std::string resource_plugin::player6_caption() const {
    const string_list extra = extra_player_names();
    return extra.empty() ? std::string() : extra.front();
}

std::unique_lock<std::mutex> resource_plugin::exclusive_call() const {
    return reentrant_ ? std::unique_lock<std::mutex>() : std::unique_lock<std::mutex>(*calls_);
}

namespace {

// What a file is listed with when the plug-in did not describe it in time: its path and empty fields, or nothing
// when the path cannot be held in a media info string.
std::string path_only_info(const std::string& path) {
    if (path.find_first_of(std::string("\r\n") + info_separator) != std::string::npos)
        return {};
    media_fields fields;
    fields[0] = path;
    return make_media_info(fields);
}

} // namespace

bool resource_plugin::use_reader_process(const std::string& program, int max_helpers) {
    reader_.reset();
    if (!get_media_info_string_)
        return false;
    auto reader = std::make_unique<media_reader>(program, library_path_, max_helpers);
    if (!reader->start(reads_->limit()))
        return false;
    reader_ = std::move(reader);
    return true;
}

std::string resource_plugin::media_info_string(const std::string& path) const {
    if (!get_media_info_string_)
        return {};
    if (reader_)
        return info_from(path, reader_->read(path, reads_->limit()));
    return in_process_info(path);
}

std::string resource_plugin::info_from(const std::string& path, media_reader::answer answer) const {
    switch (answer.how) {
    case media_reader::outcome::read:
        return std::move(answer.info);
    case media_reader::outcome::crashed:
        ++*crashed_;
        ++*unread_;
        return path_only_info(path);
    case media_reader::outcome::late:
        ++*unread_;
        return path_only_info(path);
    case media_reader::outcome::unavailable:
        break;
    }
    return in_process_info(path); // no helper could start: read here, as without helpers
}

read_ahead_policy resource_plugin::read_ahead() const {
    if (!reader_)
        return {reentrant_, 0, 0};
    return {true, reader_->max_helpers(), 0, [this](const stream_source& more, const auto& answer) {
                reader_->read_stream(
                    more,
                    [this, &answer](const std::string& path, media_reader::answer a) {
                        answer(info_from(path, std::move(a)));
                    },
                    reads_->limit());
            }};
}

std::string resource_plugin::in_process_info(const std::string& path) const {
    if (!*stuck_) {
        // Everything the call needs is copied in: a call given up may return after this object is gone.
        std::shared_ptr<std::mutex> calls = reentrant_ ? nullptr : calls_;
        std::optional<std::string> info = reads_->call([get = get_media_info_string_, calls, path] {
            std::unique_lock<std::mutex> lock;
            if (calls)
                lock = std::unique_lock<std::mutex>(*calls);
            const plugin_read_mark mark(path);
            // Joined under the lock: the list is only valid until the next call.
            return join_plugin_list(get(path.c_str()));
        });
        if (info)
            return std::move(*info);
        if (!reentrant_)
            *stuck_ = true; // its one call at a time is still running
    }
    ++*unread_;
    return path_only_info(path);
}

void resource_plugin::show_media_info(const std::string& path) const {
    if (!show_media_info_ || *stuck_)
        return;
    const auto lock = exclusive_call();
    show_media_info_(path.c_str());
}

int resource_plugin::media_duration(const std::string& path) const {
    if (!get_media_duration_ || *stuck_)
        return -1;
    const auto lock = exclusive_call();
    return get_media_duration_(path.c_str());
}

} // namespace karvo
