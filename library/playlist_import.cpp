// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_import.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "library/media_entry.h"
#include "library/text.h"
#include "library/xspf_playlist.h"
#include "platform/numbers.h"
#include "platform/case_fold.h"
#include "platform/cp1252.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/file_uri.h"
#include "platform/ini_file.h"

namespace karvo {

namespace {

constexpr std::string_view utf8_bom = "\xEF\xBB\xBF";
constexpr std::size_t sniff_size = 64 * 1024;
// Far above any path (PATH_MAX is 4096) or title; a longer line is junk and is left out.
constexpr std::size_t max_line_length = 32 * 1024;

struct file_closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using file_handle = std::unique_ptr<std::FILE, file_closer>;

// Lines split at CR LF, LF or a lone CR, as split_lines does, read block by block; a line longer than the limit
// is reported and skipped up to its end.
class line_reader {
public:
    explicit line_reader(std::FILE* file) : file_(file) {}

    // False at the end of the file.
    bool next(std::string& line, bool& too_long) {
        line.clear();
        too_long = false;
        bool any = false;
        for (;;) {
            if (position_ == filled_ && !fill())
                return any;
            if (after_cr_) {
                after_cr_ = false;
                if (buffer_[position_] == '\n') {
                    ++position_;
                    continue;
                }
            }
            any = true;
            const char* start = buffer_.data() + position_;
            const char* end = buffer_.data() + filled_;
            const char* stop = std::find_if(start, end, [](char c) { return c == '\n' || c == '\r'; });
            if (!too_long) {
                const std::size_t room = max_line_length - line.size();
                const std::size_t take = std::min<std::size_t>(stop - start, room + 1);
                line.append(start, take);
                if (line.size() > max_line_length) {
                    too_long = true;
                    line.clear();
                }
            }
            position_ = static_cast<std::size_t>(stop - buffer_.data());
            if (stop != end) {
                after_cr_ = *stop == '\r';
                ++position_;
                return true;
            }
        }
    }

private:
    bool fill() {
        filled_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
        position_ = 0;
        return filled_ > 0;
    }

    std::FILE* file_;
    std::vector<char> buffer_ = std::vector<char>(64 * 1024);
    std::size_t filled_ = 0;
    std::size_t position_ = 0;
    bool after_cr_ = false;
};

enum class text_kind { text, utf16, binary };

// Playlists are text: a file whose first block is more than 5 % control bytes (NULs included) is something else.
// A few stray bytes in a short file are not enough to refuse it; its lines are cut at them instead.
text_kind kind_of(std::string_view head) {
    if (head.substr(0, 2) == "\xFF\xFE" || head.substr(0, 2) == "\xFE\xFF")
        return text_kind::utf16;
    const auto controls = std::count_if(head.begin(), head.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f' && byte != 0x1A;
    });
    return controls > 8 && static_cast<std::size_t>(controls) * 20 > head.size() ? text_kind::binary : text_kind::text;
}

std::string plural(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void add_note(import_report& report, std::string note) {
    if (report.notes.size() < import_report::max_listed)
        report.notes.push_back(std::move(note));
}

void cut_at_nul(std::string& line, long long number, import_report& report) {
    if (const auto nul = line.find('\0'); nul != std::string::npos) {
        line.resize(nul);
        add_note(report, "line " + std::to_string(number) + " holds a NUL byte: read up to it");
    }
}

bool is_extm3u_header(std::string_view line) {
    return line.substr(0, 7) == "#EXTM3U";
}

// "#EXTINF:123,Artist - Title"; attributes before the comma ("-1 tvg-id=\"a,b\"") may hold quoted commas.
void parse_extinf(std::string_view directive, playlist_entry& entry) {
    const std::string_view body = directive.substr(8);
    bool quoted = false;
    std::size_t comma = std::string_view::npos;
    for (std::size_t i = 0; i < body.size() && comma == std::string_view::npos; ++i) {
        if (body[i] == '"')
            quoted = !quoted;
        else if (body[i] == ',' && !quoted)
            comma = i;
    }
    entry.seconds = platform::to_integer(body.substr(0, comma), -1);
    entry.title = comma == std::string_view::npos ? std::string() : std::string(body.substr(comma + 1));
}

// What the reader of one kind keeps before paths are resolved: the entry and the line it came from.
struct raw_entry {
    playlist_entry entry;
    long long line = 0;
};

// A line that is not UTF-8 is read as Windows-1252 unless the file declares UTF-8; then the line as it was read is
// returned.
std::optional<std::string> decode_line(std::string& text, bool declared_utf8) {
    if (declared_utf8 || platform::is_valid_utf8(text))
        return std::nullopt;
    std::string decoded = platform::decode_cp1252_to_utf8(text);
    return std::exchange(text, std::move(decoded));
}

// The path of an entry no file was found for: a local file:// URI stands for its path.
std::string unresolved_path(std::string written) {
    if (written.size() > 5 && platform::equal_ignoring_case(std::string_view(written).substr(0, 5), "file:"))
        if (std::string path = platform::path_of_file_uri(written); !path.empty())
            return path;
    return written;
}

// Decodes the texts and, with a resolver, turns each path into a file of this system.
void finish(std::vector<raw_entry>& raw, playlist_format format, bool declared_utf8, playlist_path_resolver* resolver,
            playlist_read& read) {
    import_report& report = read.report;
    read.entries.reserve(raw.size());
    for (auto& r : raw) {
        playlist_entry& entry = r.entry;
        const std::optional<std::string> as_written = decode_line(entry.path, declared_utf8);
        report.cp1252_lines += static_cast<int>(as_written.has_value()) +
                               static_cast<int>(decode_line(entry.title, declared_utf8).has_value());
        if (resolver == nullptr) {
            read.entries.push_back(std::move(entry));
            continue;
        }
        // A Linux name may hold bytes that are not UTF-8: the file named by the bytes as written comes first.
        resolved_path where;
        if (as_written)
            where = resolver->resolve(*as_written);
        if (where.state != entry_state::resolved)
            where = resolver->resolve(entry.path);
        entry.state = where.state;
        switch (where.state) {
            case entry_state::resolved: ++report.resolved; break;
            case entry_state::stream: ++report.streams; break;
            case entry_state::not_found:
                ++report.not_found;
                entry.path = unresolved_path(std::move(entry.path));
                if (report.unresolved.size() < import_report::max_listed)
                    report.unresolved.push_back((format == playlist_format::pls    ? "File"
                                                 : format == playlist_format::xspf ? "track "
                                                                                   : "line ") +
                                                std::to_string(r.line) + ": " + entry.path);
                break;
        }
        if (where.state != entry_state::not_found)
            entry.path = std::move(where.path);
        if (!where.ambiguity.empty() && report.ambiguities.size() < import_report::max_listed)
            report.ambiguities.push_back(std::move(where.ambiguity));
        read.entries.push_back(std::move(entry));
    }
    if (report.cp1252_lines > 0)
        add_note(report, plural(report.cp1252_lines, "line is", "lines are") + " not UTF-8: read as Windows-1252");
    report.imported = static_cast<int>(read.entries.size());
    raw.clear();
}

std::string read_head(const std::string& file, bool& readable) {
    file_handle handle(std::fopen(file.c_str(), "rb"));
    readable = handle != nullptr && platform::file_exists(file);
    std::string head(sniff_size, '\0');
    head.resize(readable ? std::fread(head.data(), 1, head.size(), handle.get()) : 0);
    return head;
}

bool refuse_foreign_data(std::string_view head, import_report& report) {
    switch (kind_of(head)) {
        case text_kind::utf16: report.error = "UTF-16 text is not understood; save the playlist as UTF-8"; return true;
        case text_kind::binary: report.error = "not a playlist: the file holds binary data"; return true;
        case text_kind::text: return false;
    }
    return false;
}

void read_m3u_entries(const std::string& file, std::vector<raw_entry>& raw, import_report& report) {
    file_handle handle(std::fopen(file.c_str(), "rb"));
    if (!handle)
        return;
    line_reader reader(handle.get());
    std::string line;
    bool too_long = false;
    bool extended = false;
    playlist_entry pending;
    for (long long number = 1; reader.next(line, too_long); ++number) {
        if (number == 1 && std::string_view(line).substr(0, 3) == utf8_bom)
            line.erase(0, utf8_bom.size());
        if (too_long) {
            ++report.left_out;
            add_note(report, "line " + std::to_string(number) + " is longer than " + std::to_string(max_line_length) +
                                 " bytes: left out");
            continue;
        }
        cut_at_nul(line, number, report);
        if (number == 1 && is_extm3u_header(line)) {
            extended = true;
            continue;
        }
        if (extended) {
            if (line.rfind("#EXTINF:", 0) == 0) {
                parse_extinf(line, pending);
                continue;
            }
            if (line.empty() || line[0] == '#' || line.find_first_not_of(" \t") == std::string::npos)
                continue;
        }
        pending.path = std::move(line);
        raw.push_back({std::move(pending), number});
        pending = {};
    }
}

void read_pls_entries(const std::string& file, std::vector<raw_entry>& raw, import_report& report) {
    struct item {
        std::string path, title;
        long long seconds = -1;
        bool has_file = false;
    };
    std::map<long long, item> items;
    long long count = -1;
    const auto numbered = [](const std::u32string& key, std::u32string_view prefix) -> long long {
        if (key.size() <= prefix.size() || key.compare(0, prefix.size(), prefix) != 0)
            return 0;
        long long n = 0;
        for (std::size_t i = prefix.size(); i < key.size(); ++i) {
            if (key[i] < U'0' || key[i] > U'9' || n > 100000000)
                return 0;
            n = n * 10 + (key[i] - U'0');
        }
        return n;
    };
    for (auto& [key, value] : platform::get_private_profile_section("playlist", file)) {
        const std::u32string folded = platform::fold_case(key);
        if (folded == U"numberofentries") {
            count = platform::to_integer(value, -1);
        } else if (const long long file_n = numbered(folded, U"file"); file_n > 0) {
            items[file_n].path = std::move(value);
            items[file_n].has_file = true;
        } else if (const long long title_n = numbered(folded, U"title"); title_n > 0) {
            items[title_n].title = std::move(value);
        } else if (const long long length_n = numbered(folded, U"length"); length_n > 0) {
            items[length_n].seconds = static_cast<int>(platform::to_integer(value, -1));
        }
    }
    long long expected = 1;
    long long highest = 0;
    int ignored = 0;
    for (auto& [n, it] : items) {
        if (!it.has_file)
            continue;
        if (count >= 0 && n > count) {
            ++ignored;
            continue;
        }
        if (n > expected)
            add_note(report, n == expected + 1 ? "File" + std::to_string(expected) + " is missing"
                                               : "File" + std::to_string(expected) + " to File" +
                                                     std::to_string(n - 1) + " are missing");
        expected = n + 1;
        highest = n;
        raw.push_back({{std::move(it.path), std::move(it.title), it.seconds, entry_state::not_found}, n});
    }
    if (count < 0 && !raw.empty())
        add_note(report, "NumberOfEntries is missing: read File1 to File" + std::to_string(highest));
    else if (count > highest && count > 0)
        add_note(report, "NumberOfEntries is " + std::to_string(count) + " but the highest File key is File" +
                             std::to_string(highest));
    if (ignored > 0)
        add_note(report, std::to_string(ignored) + " File keys above NumberOfEntries=" + std::to_string(count) +
                             " were ignored");
}

// XSPF tracks: a file:// location is left to the resolver, a location without a scheme is a relative reference.
void read_xspf_entries(const std::string& file, std::vector<raw_entry>& raw, import_report& report) {
    constexpr std::uintmax_t max_document = 64u << 20;
    std::error_code error;
    if (std::filesystem::file_size(file, error) > max_document) {
        report.error = "the XSPF playlist is larger than 64 MB";
        return;
    }
    const auto tracks = xspf::parse(platform::read_file(file).value_or(std::string()));
    if (!tracks) {
        report.error = "not a playlist: the file holds XML that is no XSPF playlist";
        return;
    }
    long long number = 0;
    for (const xspf::track& track : *tracks) {
        ++number;
        if (track.location.empty()) {
            add_note(report, "track " + std::to_string(number) + " has no location: left out");
            ++report.left_out;
            continue;
        }
        playlist_entry entry;
        const bool has_scheme = track.location.find(':') != std::string::npos &&
                                (is_stream_url(track.location) ||
                                 platform::equal_ignoring_case(std::string_view(track.location).substr(0, 5), "file:"));
        entry.path = has_scheme ? track.location : platform::percent_decode(track.location);
        entry.title = track.creator.empty() || track.title.empty() ? track.creator + track.title
                                                                   : track.creator + " - " + track.title;
        entry.seconds = track.duration_ms > 0 ? (track.duration_ms + 500) / 1000 : -1;
        raw.push_back({std::move(entry), number});
    }
}

} // namespace

playlist_format playlist_format_of(const std::string& file) {
    const std::string extension = upper_extension(platform::file_name_of(file));
    return extension == "PLS"    ? playlist_format::pls
           : extension == "XSPF" ? playlist_format::xspf
                                 : playlist_format::m3u;
}

std::vector<std::string> system_roots() {
    std::vector<std::string> roots;
    for (const auto& drive : platform::system_drives().drives())
        roots.push_back(drive.root);
    return roots;
}

namespace {

playlist_read read_with(const std::string& file, playlist_format format, playlist_path_resolver* resolver) {
    playlist_read read;
    bool readable = false;
    const std::string head = read_head(file, readable);
    if (!readable) {
        read.report.error = "the file cannot be read";
        return read;
    }
    if (refuse_foreign_data(head, read.report))
        return read;
    const bool bom = std::string_view(head).substr(0, 3) == utf8_bom;
    if (xspf::looks_like_xml(head))
        format = playlist_format::xspf;
    std::vector<raw_entry> raw;
    if (format == playlist_format::pls)
        read_pls_entries(file, raw, read.report);
    else if (format == playlist_format::xspf)
        read_xspf_entries(file, raw, read.report);
    else
        read_m3u_entries(file, raw, read.report);
    if (!read.report.error.empty())
        return read;
    const bool declared_utf8 =
        bom || format == playlist_format::xspf || upper_extension(platform::file_name_of(file)) == "M3U8";
    finish(raw, format, declared_utf8, resolver, read);
    return read;
}

} // namespace

playlist_read read_playlist(const std::string& file, playlist_format format, const std::vector<std::string>& roots) {
    // Entries relative to the playlist become absolute paths, whatever folder the caller runs in.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error).lexically_normal();
    playlist_path_resolver resolver(platform::folder_of(error ? file : absolute.string()), roots);
    return read_with(file, format, &resolver);
}

std::vector<playlist_entry> read_playlist_as_written(const std::string& file, playlist_format format) {
    return read_with(file, format, nullptr).entries;
}

playlist_read read_playlist(const std::string& file, const std::vector<std::string>& roots) {
    return read_playlist(file, playlist_format_of(file), roots);
}

string_list media_info_lines(const playlist_read& read, const media_info_source& info) {
    string_list lines;
    lines.reserve(read.entries.size());
    for (const auto& entry : read.entries)
        lines.push_back(
            media_info_line(entry, entry.state == entry_state::stream || !info ? std::string() : info(entry.path)));
    return lines;
}

std::string media_info_line(const playlist_entry& entry, std::string from_source) {
    media_fields fields = parse_media_info(from_source);
    bool changed = from_source.empty();
    if (changed)
        fields[0] = entry.path;
    // "Artist - Title" is how the writers put both into one text.
    if (fields[1].empty() && fields[2].empty() && !entry.title.empty()) {
        const auto dash = entry.title.find(" - ");
        fields[1] = dash == std::string::npos ? entry.title : entry.title.substr(dash + 3);
        if (dash != std::string::npos)
            fields[2] = entry.title.substr(0, dash);
        changed = true;
    }
    if (platform::to_integer(fields[7]) <= 0 && entry.seconds > 0) {
        fields[7] = std::to_string(entry.seconds);
        changed = true;
    }
    if (changed)
        for (int field : {0, 1, 2}) // 0xFF would split the info string
            std::replace(fields[field].begin(), fields[field].end(), info_separator, '?');
    return changed ? make_media_info(fields) : std::move(from_source);
}

std::string import_report::summary() const {
    if (!error.empty())
        return error;
    std::string text = plural(imported, "entry", "entries") + " imported, " + std::to_string(resolved) + " resolved, " +
                       std::to_string(not_found) + " not found";
    if (streams > 0)
        text += ", " + plural(streams, "stream", "streams");
    if (left_out > 0)
        text += ", " + plural(left_out, "line", "lines") + " left out";
    if (cp1252_lines > 0)
        text += ", " + plural(cp1252_lines, "line", "lines") + " read as Windows-1252";
    return text;
}

std::string import_report::details() const {
    std::string text = summary() + "\n";
    const auto section = [&text](const char* heading, const string_list& items, int total) {
        if (items.empty())
            return;
        text += std::string("\n") + heading + "\n";
        for (const auto& item : items)
            text += "  " + item + "\n";
        if (total > static_cast<int>(items.size()))
            text += "  ... and " + std::to_string(total - static_cast<int>(items.size())) + " more\n";
    };
    section("Not found:", unresolved, not_found);
    section("Names that differ only in case:", ambiguities, static_cast<int>(ambiguities.size()));
    section("Notes:", notes, static_cast<int>(notes.size()));
    return text;
}

} // namespace karvo
