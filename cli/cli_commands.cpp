// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"
#include "platform/numbers.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <utility>

#include "cli/cli_usage.h"
#include "components/Fileiterator/TFileIterator.h"
#include "components/Readahead/read_ahead_pool.h"
#include "components/Readahead/read_hints.h"
#include "library/media_entry.h"
#include "library/media_files.h"
#include "library/mp3_cd_class.h"
#include "library/playlist_class.h"
#include "library/playlist_files.h"
#include "library/store_commands.h"
#include "platform/cp1252.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "plugins/media_tags.h"
#include "plugins/resource_plugin.h"

namespace karvo::cli {

namespace {

std::string shown(const std::string& raw);

constexpr int status_ok = 0;
constexpr int status_bad_input = 1;
constexpr int status_usage = 2;

// Names of the info string fields, in string order.
constexpr const char* field_names[info_field_count] = {
    "path",  "song",  "artist", "album",       "year",    "comment", "genre",  "seconds",
    "info8", "info9", "info10", "sample_rate", "quality", "info13",  "info14",
};

struct parsed_args {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values; // options with a value
    std::map<std::string, bool> flags;
};

// The context of one subcommand: where its error lines go and what they start with.
class command {
public:
    command(const environment& env, std::string name) : env_(env), name_(std::move(name)) {}

    // "karvo-media-cli: import: FILE: no such file"
    int fail(const std::string& text, int status = status_bad_input) const {
        env_.err << program_name << ": " << name_ << ": " << shown(text) << "\n";
        return status;
    }
    int usage(const std::string& text) const {
        return fail(text + " (usage: " + program_name + " " + synopsis_of(name_) + ")", status_usage);
    }

    // Options as `with_value` and `flags` name them; anything else starting with "--" is refused.
    std::optional<parsed_args> parse(const std::vector<std::string>& args, std::size_t first,
                                     const std::vector<std::string>& with_value,
                                     const std::vector<std::string>& flags) const {
        parsed_args parsed;
        const auto listed = [](const std::vector<std::string>& names, const std::string& name) {
            return std::find(names.begin(), names.end(), name) != names.end();
        };
        for (std::size_t i = first; i < args.size(); ++i) {
            const std::string& arg = args[i];
            if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
                parsed.positional.push_back(arg);
            } else if (listed(with_value, arg)) {
                if (i + 1 >= args.size()) {
                    usage(arg + " needs a value");
                    return std::nullopt;
                }
                parsed.values[arg] = args[++i];
            } else if (listed(flags, arg)) {
                parsed.flags[arg] = true;
            } else {
                usage("unknown option " + arg);
                return std::nullopt;
            }
        }
        return parsed;
    }

    const environment& env() const { return env_; }

private:
    const environment& env_;
    std::string name_;
};

bool load_resource(const command& c, resource_plugin& resource) {
    if (resource.load_from(c.env().program_folder) && resource.has_media_info()) {
        // A plug-in crash on one file then ends a helper, not the command; without the helper it reads here.
        resource.use_reader_process(platform::with_trailing_slash(c.env().program_folder) + media_reader_program);
        return true;
    }
    c.fail("the resource plug-in cannot be loaded: " + platform::with_trailing_slash(c.env().program_folder) +
           resource_plugin::relative_path);
    return false;
}

std::string json_string(const std::string& raw) {
    // JSON is Unicode: a field in another encoding is shown as the Windows text it most likely is.
    const std::string text = platform::is_valid_utf8(raw) ? raw : platform::decode_cp1252_to_utf8(raw);
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            static constexpr char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

// Files hinted ahead of the one being delivered: more than the pool reads ahead, so the hints lead its reads.
constexpr std::size_t hint_ahead = 256;

// The media information of `files`, read ahead on the pool as the window reads a folder and handed to `take` in
// the files' order; a path that is not a file gets empty information.
void for_each_info(const resource_plugin& resource, const std::vector<std::string>& files,
                   const std::function<void(const std::string& path, const std::string& info)>& take) {
    // Only files go to the readers (which may take a stream of paths at once); the rest are answered in their place.
    std::vector<bool> is_file;
    for (const std::string& file : files)
        is_file.push_back(platform::file_exists(file));
    const auto wanted = [&](std::size_t i) { return is_file[i]; };
    // The disk is asked for the files some way ahead of the readers: on a cold cache it then has many reads in
    // flight, not one per reader.
    read_hints hints(files, wanted, hint_ahead);
    read_ahead_some(
        files, wanted, [&resource](const std::string& path) { return resource.media_info_string(path); },
        resource.read_ahead(), [&](std::size_t i, std::string info) {
            hints.reached(i + 1);
            take(files[i], info);
            return true;
        });
}

// One entry as a JSON object on one line: the info string's fields by name and the formatted length.
std::string json_entry(const media_fields& fields) {
    std::string line = "{";
    for (int i = 0; i < info_field_count; ++i)
        line += (i == 0 ? "" : ", ") + json_string(field_names[i]) + ": " + json_string(fields[i]);
    return line + ", \"length\": " + json_string(format_length(fields[7])) + "}";
}

// Text for a line of plain output: control characters (C0, DEL, and C1 in UTF-8 or as raw bytes) are shown as
// \xHH, so a tag or a name cannot move the cursor, retitle the terminal or end a line early. Text that is not UTF-8
// has every byte above 0x7F shown that way.
std::string shown(const std::string& raw) {
    static constexpr char hex[] = "0123456789ABCDEF";
    const bool utf8 = platform::is_valid_utf8(raw);
    std::string out;
    out.reserve(raw.size());
    const auto escape = [&out](unsigned char c) {
        out += "\\x";
        out += hex[c >> 4];
        out += hex[c & 15];
    };
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const auto c = static_cast<unsigned char>(raw[i]);
        const bool c1 = utf8 && c == 0xC2 && i + 1 < raw.size() && static_cast<unsigned char>(raw[i + 1]) < 0xA0;
        if (c1) {
            escape(c);
            escape(static_cast<unsigned char>(raw[++i]));
        } else if (c < 0x20 || c == 0x7F || (!utf8 && c >= 0x80)) {
            escape(c);
        } else {
            out += raw[i];
        }
    }
    return out;
}

// Several lines, each shown as above.
std::string shown_lines(const std::string& text) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        out += shown(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        out += '\n';
        start = end + 1;
    }
    return out;
}

int info_command(const command& c, const std::vector<std::string>& args) {
    const auto parsed = c.parse(args, 1, {}, {"--json"});
    if (!parsed)
        return status_usage;
    if (parsed->positional.empty())
        return c.usage("no file given");
    resource_plugin resource;
    if (!load_resource(c, resource))
        return status_bad_input;
    const bool json = parsed->flags.count("--json") > 0;
    std::ostream& out = c.env().out;
    int status = status_ok;
    bool first = true;
    if (json)
        out << "[";
    for_each_info(resource, parsed->positional, [&](const std::string& file, const std::string& info) {
        if (!platform::file_exists(file)) {
            status = c.fail(file + ": " + (platform::path_exists(file) ? "not a file" : "no such file"));
            return;
        }
        if (info.empty()) {
            status = c.fail(file + ": the resource plug-in cannot describe it");
            return;
        }
        const media_fields fields = parse_media_info(info);
        if (json) {
            out << (first ? "\n" : ",\n") << "  " << json_entry(fields);
        } else {
            out << (first ? "" : "\n") << shown(fields[0]) << "\n";
            for (int i = 1; i < info_field_count; ++i)
                out << "  " << field_names[i] << ": " << shown(fields[i]) << "\n";
            out << "  length: " << format_length(fields[7]) << "\n";
        }
        first = false;
    });
    if (json)
        out << (first ? "]\n" : "\n]\n");
    return status;
}

// scan --tags: the media files of the tree as JSON Lines, one entry a line, their information read ahead on the
// pool while the walk goes on; the count so far on standard error when it is a terminal.
void scan_with_tags(const command& c, const resource_plugin& resource, const std::vector<std::string>& files) {
    const bool progress = c.env().err_is_terminal;
    std::size_t done = 0;
    for_each_info(resource, files, [&](const std::string& file, const std::string& info) {
        if (info.empty()) {
            c.fail(file + ": the resource plug-in cannot describe it");
        } else {
            const media_fields fields = parse_media_info(info);
            c.env().out << json_entry(fields) << "\n";
        }
        ++done;
        if (progress && (done % 64 == 0 || done == files.size()))
            c.env().err << "\rreading tags: " << done << " of " << files.size() << " files" << std::flush;
    });
    if (progress && !files.empty())
        c.env().err << "\n";
}

int scan_command(const command& c, const std::vector<std::string>& args) {
    const auto parsed = c.parse(args, 1, {}, {"--tags"});
    if (!parsed)
        return status_usage;
    if (parsed->positional.size() != 1)
        return c.usage(parsed->positional.empty() ? "no folder given" : "one folder only");
    const std::string& folder = parsed->positional[0];
    if (!platform::directory_exists(folder))
        return c.fail(folder + ": " + (platform::path_exists(folder) ? "not a folder" : "no such folder"));
    resource_plugin resource;
    if (!load_resource(c, resource))
        return status_bad_input;
    // The extensions the program's settings leave enabled, as the program itself scans.
    const std::string settings = platform::with_trailing_slash(c.env().data_folder) + "karvo.ini";
    media_files media;
    media.load(resource.extensions(), [&settings](const std::string& extension) {
        return platform::get_private_profile_int("Advanced", extension, 1, settings) != 0;
    });
    TFileIterator walker;
    walker.SetRootFolder(folder);
    walker.SetOptions(fiPath | fiRecurseFolders);
    long long looked_at = 0;
    long long found = 0;
    const bool progress = c.env().err_is_terminal;
    const bool tags = parsed->flags.count("--tags") > 0;
    std::vector<std::string> media_paths; // with --tags: read once the walk has found them all
    walker.OnAddFile = [&](TFileIterator&, const std::string& path, const TFileInfo&) {
        ++looked_at;
        if (media.is_media_file(path)) {
            ++found;
            if (tags)
                media_paths.push_back(path);
            else
                c.env().out << shown(path) << "\n";
        }
        if (progress && looked_at % 256 == 0)
            c.env().err << "\rscanning: " << found << " media files in " << looked_at << " files" << std::flush;
    };
    walker.Iterate();
    if (progress)
        c.env().err << "\rscanning: " << found << " media files in " << looked_at << " files\n";
    if (tags)
        scan_with_tags(c, resource, media_paths);
    return status_ok;
}

// The data folder with its parents, created when missing (the stores create only their own sub-folder).
bool ensure_data_folder(const command& c) {
    if (platform::create_directories(c.env().data_folder))
        return true;
    c.fail("the data folder cannot be created: " + c.env().data_folder);
    return false;
}

int import_command(const command& c, const std::vector<std::string>& args) {
    const auto parsed = c.parse(args, 1, {}, {"--replace"});
    if (!parsed)
        return status_usage;
    if (parsed->positional.size() != 2)
        return c.usage("a playlist file and a name are needed");
    const std::string& file = parsed->positional[0];
    const std::string& name = parsed->positional[1];
    if (!platform::file_exists(file))
        return c.fail(file + ": " + (platform::path_exists(file) ? "not a file" : "no such file"));
    // The window's rules for a new name.
    if (const auto problem = unusable_name_message(name))
        return c.fail(*problem);
    if (!ensure_data_folder(c))
        return status_bad_input;
    std::string folder_error;
    playlist_class store(c.env().data_folder,
                         [&folder_error](const std::string& text, const std::string&) { folder_error = text; });
    if (!folder_error.empty())
        return c.fail(folder_error);
    // Replacing a saved playlist the program may hold open is the user's explicit choice.
    if (store.exists(name) && parsed->flags.count("--replace") == 0)
        return c.fail("a saved playlist \"" + name + "\" exists already (use --replace)");
    resource_plugin resource;
    if (!load_resource(c, resource))
        return status_bad_input;
    const auto info = [&resource](const std::string& path) { return resource.media_info_string(path); };
    const import_outcome outcome =
        import_playlist_file(file, playlist_format_of(file), name, store, info, system_roots());
    if (outcome.result != command_result::done)
        return c.fail(file + ": " + outcome.report.error);
    c.env().out << shown_lines(outcome.report.details());
    return status_ok;
}

int export_command(const command& c, const std::vector<std::string>& args) {
    const auto parsed = c.parse(args, 1, {"--format"}, {"--extended"});
    if (!parsed)
        return status_usage;
    if (parsed->positional.size() != 2)
        return c.usage("a saved playlist name and a file are needed");
    const std::string& name = parsed->positional[0];
    const std::string& file = parsed->positional[1];
    playlist_format format = playlist_format_of(file);
    if (const auto given = parsed->values.find("--format"); given != parsed->values.end()) {
        if (given->second == "pls")
            format = playlist_format::pls;
        else if (given->second == "m3u")
            format = playlist_format::m3u;
        else if (given->second == "xspf")
            format = playlist_format::xspf;
        else
            return c.usage("unknown format \"" + given->second + "\"");
    }
    const bool extended = parsed->flags.count("--extended") > 0;
    if (extended && format != playlist_format::m3u)
        return c.usage("--extended is for the m3u format");
    playlist_class store(c.env().data_folder, [](const std::string&, const std::string&) {});
    if (!playlist_class::is_valid_name(name) || !store.exists(name))
        return c.fail("no saved playlist \"" + name + "\"");
    const export_result result = write_playlist(file, format, rows_of_info_lines(store.load(name)),
                                                extended ? m3u_form::extended : m3u_form::plain);
    if (!result.written)
        return c.fail(file + ": cannot be written");
    if (result.left_out > 0)
        return c.fail(file + ": " + left_out_message(result.left_out));
    return status_ok;
}

int list_command(const command& c, const std::vector<std::string>& args) {
    const auto parsed = c.parse(args, 1, {}, {});
    if (!parsed)
        return status_usage;
    if (!parsed->positional.empty())
        return c.usage("no arguments expected");
    const auto ignore = [](const std::string&, const std::string&) {};
    for (const auto& name : playlist_class(c.env().data_folder, ignore).names())
        c.env().out << "playlist\t" << shown(name) << "\n";
    for (const auto& name : mp3_cd_class(c.env().data_folder, ignore).names())
        c.env().out << "media-cd\t" << shown(name) << "\n";
    return status_ok;
}

int tag_command(const command& c, const std::vector<std::string>& args) {
    static const std::vector<std::string> field_options = {"--title",   "--artist", "--album", "--year",
                                                           "--comment", "--genre",  "--track"};
    const auto parsed = c.parse(args, 1, field_options, {});
    if (!parsed)
        return status_usage;
    if (parsed->positional.size() != 1)
        return c.usage(parsed->positional.empty() ? "no file given" : "one file only");
    const std::string& file = parsed->positional[0];
    if (parsed->values.empty())
        return c.usage("no field to write");
    if (!platform::file_exists(file))
        return c.fail(file + ": " + (platform::path_exists(file) ? "not a file" : "no such file"));
    tag_field_changes changes;
    for (const auto& [option, value] : parsed->values)
        changes.emplace_back(option.substr(2), value);
    // Without the plug-in the ID3v1 tag of an MP3 file can still be written.
    resource_plugin resource;
    const bool loaded = resource.load_from(c.env().program_folder);
    if (const std::string error = media_tags(loaded ? &resource : nullptr).write(file, changes); !error.empty())
        return c.fail(file + ": " + error);
    return status_ok;
}

} // namespace

int run(const std::vector<std::string>& args, const environment& env) {
    environment local{env.program_folder, env.data_folder, env.out, env.err, env.err_is_terminal};
    std::size_t first = 0;
    while (first < args.size() && args[first].rfind("--", 0) == 0) {
        if (args[first] == "--help") {
            env.out << usage_text();
            return status_ok;
        }
        if (args[first] == "--man") { // the build renders the man page with it
            env.out << man_page();
            return status_ok;
        }
        if (args[first] == "--data-folder" && first + 1 < args.size()) {
            local.data_folder = args[first + 1];
            first += 2;
            continue;
        }
        env.err << program_name << ": unknown option " << args[first] << " (see " << program_name << " --help)\n";
        return status_usage;
    }
    if (first == args.size()) {
        env.err << program_name << ": no command given (see " << program_name << " --help)\n";
        return status_usage;
    }
    const std::vector<std::string> rest(args.begin() + static_cast<long>(first), args.end());
    const std::string& name = rest[0];
    if (std::find(rest.begin() + 1, rest.end(), "--help") != rest.end() && !synopsis_of(name).empty()) {
        env.out << "Usage: " << program_name << " " << synopsis_of(name) << "\n";
        return status_ok;
    }
    const command c(local, name);
    if (name == "info")
        return info_command(c, rest);
    if (name == "scan")
        return scan_command(c, rest);
    if (name == "import")
        return import_command(c, rest);
    if (name == "export")
        return export_command(c, rest);
    if (name == "list")
        return list_command(c, rest);
    if (name == "tag")
        return tag_command(c, rest);
    env.err << program_name << ": unknown command \"" << name << "\" (see " << program_name << " --help)\n";
    return status_usage;
}

} // namespace karvo::cli
