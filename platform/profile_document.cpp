// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profile_document.h"

#include "platform/case_fold.h"
#include "platform/numbers.h"

#include <cstdint>
#include <iterator>
#include <unordered_map>
#include <unordered_set>

namespace karvo::platform {

using profile_detail::line;
using profile_detail::line_kind;
using profile_detail::lines;

namespace {

constexpr std::string_view utf8_bom = "\xEF\xBB\xBF";
constexpr std::string_view crlf = "\r\n";

// The profile functions count CR and the DOS end-of-file mark among the blanks.
bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back()))
        text.remove_suffix(1);
    return text;
}

void name_line(line& l, line_kind kind, std::string_view name) {
    l.kind = kind;
    l.name = std::string(name);
    l.folded = fold_case(name);
}

void classify(line& l) {
    const std::string_view text = trim(l.text);
    if (text.empty())
        return;
    if (text.front() == '[') {
        const auto close = text.rfind(']');
        if (close != std::string_view::npos) {
            // "[ name ]" is section "name": blanks inside the brackets do not belong to the name.
            name_line(l, line_kind::section, trim(text.substr(1, close - 1)));
            return;
        }
    }
    if (text.front() == ';') {
        l.kind = line_kind::comment;
        return;
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos)
        return; // a line without '=' is no key
    name_line(l, line_kind::key, trim(text.substr(0, equals)));
    l.value = std::string(trim(text.substr(equals + 1)));
}

lines parse(std::string_view content) {
    lines document;
    if (content.substr(0, utf8_bom.size()) == utf8_bom) {
        document.bom = std::string(utf8_bom);
        content.remove_prefix(utf8_bom.size());
    }
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = start;
        while (end < content.size() && content[end] != '\r' && content[end] != '\n')
            ++end;
        line l;
        l.text = std::string(content.substr(start, end - start));
        std::size_t next = end;
        if (next < content.size() && content[next] == '\r')
            ++next;
        if (next < content.size() && content[next] == '\n')
            ++next;
        l.ending = std::string(content.substr(end, next - end));
        classify(l);
        document.items.push_back(std::move(l));
        start = next;
    }
    return document;
}

std::string serialise(const lines& document) {
    std::string out = document.bom;
    for (const line& l : document.items)
        out += l.text + l.ending;
    return out;
}

// Index of the header of the first section of that name, or npos.
std::size_t find_section(const lines& document, std::string_view section) {
    const std::u32string wanted = fold_case(trim(section));
    if (wanted.empty())
        return std::string::npos;
    for (std::size_t i = 0; i < document.items.size(); ++i) {
        const line& l = document.items[i];
        if (l.kind == line_kind::section && l.folded == wanted)
            return i;
    }
    return std::string::npos;
}

// One past the last line of the section whose header is at `header`.
std::size_t section_end(const lines& document, std::size_t header) {
    std::size_t i = header + 1;
    while (i < document.items.size() && document.items[i].kind != line_kind::section)
        ++i;
    return i;
}

std::size_t find_key(const lines& document, std::size_t header, std::string_view key) {
    const std::u32string wanted = fold_case(trim(key));
    const std::size_t end = section_end(document, header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const line& l = document.items[i];
        if (l.kind == line_kind::key && l.folded == wanted)
            return i;
    }
    return std::string::npos;
}

const std::string* find_value(const lines& document, std::string_view section, std::string_view key) {
    if (trim(key).empty())
        return nullptr;
    const std::size_t header = find_section(document, section);
    if (header == std::string::npos)
        return nullptr;
    const std::size_t at = find_key(document, header, key);
    return at == std::string::npos ? nullptr : &document.items[at].value;
}

// Each line with a key name in the first section of that name, in file order.
template <typename Visit>
void for_each_key_line(const lines& document, std::string_view section, Visit visit) {
    const std::size_t header = find_section(document, section);
    if (header == std::string::npos)
        return;
    const std::size_t end = section_end(document, header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const line& l = document.items[i];
        if (l.kind == line_kind::key && !l.name.empty())
            visit(l);
    }
}

// One pair of matching quotes around the whole text comes off; a lone quote stays.
std::string strip_quotes(std::string_view text) {
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        text = text.substr(1, text.size() - 2);
    return std::string(text);
}

bool has_line_break(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// A name that would read back as something else (a comment, a section, a different key) is refused instead of
// being written into the file.
bool writable_names(std::string_view section, std::string_view key) {
    const std::string_view s = trim(section);
    const std::string_view k = trim(key);
    if (s.empty() || has_line_break(section))
        return false;
    if (k.empty() || has_line_break(key) || k.find('=') != std::string_view::npos)
        return false;
    return k.front() != ';' && k.front() != '[';
}

void end_line(line& l) {
    if (l.ending.empty())
        l.ending = std::string(crlf);
}

line make_line(std::string text) {
    line l;
    l.text = std::move(text);
    l.ending = std::string(crlf);
    classify(l);
    return l;
}

// The writes as successive single writes would make them, in one pass over the lines: an existing key (its first
// line in the section) changes in place keeping its spelling, a new key follows the section's last key in the
// order given, a missing section is added at the end. Returns whether any line changed.
bool apply_writes(lines& document, std::string_view section, const profile_document::key_values& pairs) {
    auto& items = document.items;
    const std::size_t header = find_section(document, section);
    std::unordered_map<std::u32string, std::size_t> existing; // folded key -> line
    std::size_t after = header;                               // the section's last key line
    if (header != std::string::npos) {
        const std::size_t end = section_end(document, header);
        for (std::size_t i = header + 1; i < end; ++i) {
            if (items[i].kind == line_kind::key) {
                existing.try_emplace(items[i].folded, i);
                after = i;
            }
        }
    }
    std::vector<line> added;
    std::unordered_map<std::u32string, std::size_t> added_index; // folded key -> index in `added`
    bool changed = false;
    for (const auto& [key, value] : pairs) {
        std::string_view stored = value;
        while (!stored.empty() && is_blank(stored.front()))
            stored.remove_prefix(1);
        const std::u32string folded = fold_case(trim(key));
        line* l = nullptr;
        if (const auto found = existing.find(folded); found != existing.end())
            l = &items[found->second];
        else if (const auto again = added_index.find(folded); again != added_index.end())
            l = &added[again->second];
        if (!l) {
            added_index.emplace(folded, added.size());
            added.push_back(make_line(std::string(trim(key)) + "=" + std::string(stored)));
            changed = true;
        } else if (l->value != stored) {
            *l = make_line(l->name + "=" + std::string(stored));
            changed = true;
        }
    }
    if (added.empty())
        return changed;
    if (header == std::string::npos) {
        if (!items.empty())
            end_line(items.back());
        const std::string_view name = trim(section);
        std::string text;
        text.reserve(name.size() + 2);
        text.append(1, '[').append(name).append(1, ']');
        items.push_back(make_line(std::move(text)));
        after = items.size() - 1;
    } else {
        end_line(items[after]);
    }
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(after + 1), std::make_move_iterator(added.begin()),
                 std::make_move_iterator(added.end()));
    return true;
}

// The value as get_int reads it: the system reads it into 30 characters, skips every control character, and
// converts with base prefixes, wrapping modulo 2^32.
int profile_integer(std::string text) {
    text.resize(std::min<std::size_t>(text.size(), 29));
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    const integer_scan scan = scan_integer(std::string_view(text).substr(i), true);
    auto total = static_cast<std::uint32_t>(scan.magnitude);
    if (scan.negative)
        total = 0u - total;
    return static_cast<int>(total);
}

} // namespace

std::recursive_mutex& profile_lock() {
    static std::recursive_mutex lock;
    return lock;
}

void profile_document::open(std::string file) {
    std::lock_guard guard(profile_lock());
    file_ = std::move(file);
    lines_ = {};
    refresh(true);
}

void profile_document::refresh(bool always) const {
    if (file_.empty())
        return;
    // The version is taken before the bytes: a change in between shows as a new version at the next call.
    const std::optional<file_version> now = file_version_of(file_);
    if (now == version_ && !always)
        return;
    version_ = now;
    lines_ = {};
    if (!now) {
        state_ = file_state::missing;
        return;
    }
    const std::optional<std::string> content = read_file(file_);
    state_ = content ? file_state::read : file_state::unreadable;
    if (content)
        lines_ = parse(*content);
}

template <typename Change>
bool profile_document::change(Change apply) {
    std::lock_guard guard(profile_lock());
    refresh();
    if (state_ == file_state::unreadable)
        return false;
    if (file_.empty()) {
        apply(lines_);
        return true;
    }
    lines next = lines_;
    if (!apply(next))
        return true;
    if (!write_file_atomic(file_, serialise(next)))
        return false;
    lines_ = std::move(next);
    version_ = file_version_of(file_);
    state_ = file_state::read;
    return true;
}

std::string profile_document::get_string(std::string_view section, std::string_view key,
                                         std::string_view default_value) const {
    std::lock_guard guard(profile_lock());
    refresh();
    if (const std::string* value = find_value(lines_, section, key))
        return strip_quotes(*value);
    // The default is trimmed of trailing blanks and loses its quotes as a stored value would.
    while (!default_value.empty() && default_value.back() == ' ')
        default_value.remove_suffix(1);
    return strip_quotes(default_value);
}

int profile_document::get_int(std::string_view section, std::string_view key, int default_value) const {
    std::string text = get_string(section, key, "");
    return text.empty() ? default_value : profile_integer(std::move(text));
}

std::vector<std::string> profile_document::keys(std::string_view section) const {
    std::lock_guard guard(profile_lock());
    refresh();
    std::vector<std::string> names;
    for_each_key_line(lines_, section, [&names](const line& l) { names.push_back(l.name); });
    return names;
}

profile_document::key_values profile_document::values(std::string_view section) const {
    std::lock_guard guard(profile_lock());
    refresh();
    key_values pairs;
    std::unordered_set<std::u32string> seen;
    for_each_key_line(lines_, section, [&](const line& l) {
        if (seen.insert(l.folded).second)
            pairs.emplace_back(l.name, strip_quotes(l.value));
    });
    return pairs;
}

std::vector<std::string> profile_document::sections() const {
    std::lock_guard guard(profile_lock());
    refresh();
    std::vector<std::string> names;
    for (const line& l : lines_.items) {
        if (l.kind == line_kind::section && !l.name.empty())
            names.push_back(l.name);
    }
    return names;
}

std::string profile_document::text() const {
    std::lock_guard guard(profile_lock());
    refresh();
    return serialise(lines_);
}

bool profile_document::set_string(std::string_view section, std::string_view key, std::string_view value) {
    return set_strings(section, {{std::string(key), std::string(value)}});
}

bool profile_document::set_strings(std::string_view section, const key_values& pairs) {
    for (const auto& [key, value] : pairs) {
        if (!writable_names(section, key) || has_line_break(value))
            return false;
    }
    if (pairs.empty())
        return true;
    return change([&](lines& document) { return apply_writes(document, section, pairs); });
}

bool profile_document::set_strings_leaving_out(std::string_view section, const key_values& pairs) {
    key_values kept;
    for (const auto& pair : pairs)
        if (writable_names(section, pair.first) && !has_line_break(pair.second))
            kept.push_back(pair);
    return set_strings(section, kept) && kept.size() == pairs.size();
}

bool profile_document::delete_key(std::string_view section, std::string_view key) {
    return change([&](lines& document) {
        const std::size_t header = find_section(document, section);
        if (header == std::string::npos)
            return false;
        const std::size_t at = find_key(document, header, key);
        if (at == std::string::npos)
            return false;
        document.items.erase(document.items.begin() + static_cast<std::ptrdiff_t>(at));
        return true;
    });
}

bool profile_document::delete_section(std::string_view section) {
    return change([&](lines& document) {
        const std::size_t header = find_section(document, section);
        if (header == std::string::npos)
            return false;
        auto& items = document.items;
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(header),
                    items.begin() + static_cast<std::ptrdiff_t>(section_end(document, header)));
        return true;
    });
}

} // namespace karvo::platform
