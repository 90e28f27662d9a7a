// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_path_resolver.h"

#include "platform/file_uri.h"

#include <algorithm>
#include <cctype>

#include "platform/case_fold.h"
#include "platform/directory_reader.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace karvo {

namespace {

// A playlist can name any number of folders; the cache of their listings is dropped when it grows this large.
constexpr std::size_t max_cached_listings = 4096;

bool starts_with_ignoring_case(const std::string& text, std::string_view prefix) {
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

bool is_drive_letter_path(const std::string& text) {
    return text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':';
}

std::vector<std::string> segments_of(std::string_view text) {
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('/', start), text.size());
        if (end > start)
            segments.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return segments;
}

// "." and "name/.." taken out of every segment but the last (which is always a name), so a walk never climbs up
// and down again: "a/./b/../c" becomes "a/c". ".." that climb above the start stay in front unless `at_root`,
// where they stay at the root and are dropped.
std::vector<std::string> without_dot_segments(std::vector<std::string> segments, bool at_root) {
    std::vector<std::string> kept;
    kept.reserve(segments.size());
    for (std::size_t i = 0; i < segments.size(); ++i) {
        std::string& segment = segments[i];
        const bool last = i + 1 == segments.size();
        if (!last && segment == ".")
            continue;
        if (!last && segment == "..") {
            if (!kept.empty() && kept.back() != "..")
                kept.pop_back();
            else if (!at_root)
                kept.push_back(std::move(segment));
            continue;
        }
        kept.push_back(std::move(segment));
    }
    return kept;
}

// No file has a path longer than this, nor a name longer than the second: a tail of segments beyond either can
// never be found, so the search for a foreign path starts where the tail fits.
constexpr std::size_t longest_path = 4096;
constexpr std::size_t longest_name = 255;

std::size_t first_findable_segment(const std::vector<std::string>& segments) {
    std::size_t length = 0;
    for (std::size_t i = segments.size(); i-- > 0;) {
        length += segments[i].size() + 1;
        if (length > longest_path || segments[i].size() > longest_name)
            return i + 1;
    }
    return 0;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string parent_of(const std::string& folder) {
    if (folder.size() <= 1)
        return "/";
    return platform::folder_of(folder.substr(0, folder.size() - 1));
}

} // namespace

bool is_stream_url(const std::string& text) {
    const std::size_t colon = text.find("://");
    if (colon == std::string::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!std::isalnum(c) && c != '+' && c != '.' && c != '-')
            return false;
    }
    return !starts_with_ignoring_case(text, "file:");
}

playlist_path_resolver::playlist_path_resolver(std::string playlist_folder, std::vector<std::string> roots)
    : folder_(platform::with_trailing_slash(std::move(playlist_folder))) {
    const auto add_base = [this](const std::string& base) {
        if (std::find(bases_.begin(), bases_.end(), base) == bases_.end())
            bases_.push_back(base);
    };
    // A playlist copied from Windows usually keeps its place beside or above its music.
    for (std::string folder = folder_;; folder = parent_of(folder)) {
        add_base(folder);
        if (folder == "/")
            break;
    }
    for (auto& root : roots)
        add_base(platform::with_trailing_slash(std::move(root)));
}

const playlist_path_resolver::listing& playlist_path_resolver::listing_of(const std::string& folder) {
    if (const auto found = listings_.find(folder); found != listings_.end())
        return found->second;
    if (listings_.size() >= max_cached_listings)
        listings_.clear();
    listing& entries = listings_[folder];
    platform::directory_reader reader(folder);
    while (reader.next()) {
        const platform::entry_kind kind = reader.kind();
        if (kind == platform::entry_kind::other)
            continue;
        entries[platform::fold_case(reader.name())].push_back(
            {std::string(reader.name()), kind == platform::entry_kind::directory});
    }
    for (auto& [key, names] : entries)
        std::sort(names.begin(), names.end(),
                  [](const listing_entry& a, const listing_entry& b) { return a.name < b.name; });
    return entries;
}

bool playlist_path_resolver::walk(const std::string& base, const std::vector<std::string>& segments, std::size_t first,
                                  resolved_path& result) {
    std::string current = base;
    std::string ambiguity;
    for (std::size_t i = first; i < segments.size(); ++i) {
        const std::string& segment = segments[i];
        const bool last = i + 1 == segments.size();
        if (segment == "." && !last)
            continue;
        if (segment == ".." && !last) {
            current = parent_of(current);
            continue;
        }
        const listing& entries = listing_of(current);
        const auto found = entries.find(platform::fold_case(segment));
        if (found == entries.end())
            return false;
        const listing_entry* exact = nullptr;
        const listing_entry* chosen = nullptr;
        int candidates = 0;
        for (const auto& entry : found->second) {
            if (entry.directory == last)
                continue;
            ++candidates;
            if (chosen == nullptr)
                chosen = &entry;
            if (entry.name == segment)
                exact = &entry;
        }
        if (chosen == nullptr)
            return false;
        if (exact == nullptr && candidates > 1 && ambiguity.empty())
            ambiguity = std::to_string(candidates) + " names differ only in case from \"" + segment + "\" in " +
                        current + "; took \"" + chosen->name + "\"";
        current += (exact != nullptr ? exact : chosen)->name;
        if (!last)
            current += '/';
    }
    result = {entry_state::resolved, current, ambiguity};
    return true;
}

bool playlist_path_resolver::find_foreign(const std::vector<std::string>& segments, const std::string& written,
                                          resolved_path& result) {
    // The longest tail of the path that lies under a base wins, so a match on the bare file name comes last.
    for (std::size_t drop = first_findable_segment(segments); drop < segments.size(); ++drop)
        for (const auto& base : bases_)
            if (walk(base, segments, drop, result)) {
                if (!result.ambiguity.empty())
                    result.ambiguity = written + ": " + result.ambiguity;
                return true;
            }
    return false;
}

resolved_path playlist_path_resolver::resolve(const std::string& written) {
    resolved_path result;
    if (written.empty())
        return result;
    if (written[0] == '/' ? platform::file_exists(written) : platform::file_exists(folder_ + written)) {
        result.state = entry_state::resolved;
        result.path = written[0] == '/' ? written : folder_ + written;
        return result;
    }
    if (is_stream_url(written))
        return {entry_state::stream, written, {}};
    std::string text = trimmed(written);
    if (text.empty())
        return result;
    if (starts_with_ignoring_case(text, "file:")) {
        text = platform::path_of_file_uri(text);
        if (text.empty())
            return result;
        // A URI of an absolute path names a file of this system: a backslash in it is part of the name.
        if (text[0] == '/') {
            if (platform::file_exists(text))
                result = {entry_state::resolved, text, {}};
            return result;
        }
    }
    const bool windows_form = text.find('\\') != std::string::npos || is_drive_letter_path(text);
    std::replace(text.begin(), text.end(), '\\', '/');
    if (is_drive_letter_path(text)) {
        find_foreign(without_dot_segments(segments_of(std::string_view(text).substr(2)), true), written, result);
    } else if (text.rfind("//", 0) == 0) {
        // \\server\share\folder\file: the share's content may be mounted anywhere.
        auto segments = segments_of(text);
        segments.erase(segments.begin(), segments.begin() + std::min<std::size_t>(2, segments.size()));
        find_foreign(without_dot_segments(std::move(segments), true), written, result);
    } else if (text[0] == '/') {
        if (platform::file_exists(text))
            result = {entry_state::resolved, text, {}};
        else if (windows_form) // "\Music\a.mp3": the root of some drive
            find_foreign(without_dot_segments(segments_of(text), true), written, result);
    } else {
        walk(folder_, without_dot_segments(segments_of(text), false), 0, result);
        if (!result.ambiguity.empty())
            result.ambiguity = written + ": " + result.ambiguity;
    }
    return result;
}

} // namespace karvo
