#include "platform/ini_file.h"

#include "platform/case_fold.h"
#include "platform/file_system.h"
#include "platform/numbers.h"

#include <cstdint>
#include <mutex>
#include <iterator>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace karvo::platform {

namespace {

constexpr std::string_view utf8_bom = "\xEF\xBB\xBF";
constexpr std::string_view crlf = "\r\n";

enum class line_kind { other, section, key, comment };

struct ini_line {
    std::string text;    // the bytes of the line without its ending
    std::string ending;  // "\r\n", "\n", "\r" or "" for a last line without one
    line_kind kind = line_kind::other;
    std::string name;    // section name, or key name trimmed
    std::string value;   // key value trimmed, quotes still on
};

struct ini_document {
    std::string bom;
    std::vector<ini_line> lines;
};

// The profile functions count CR and the DOS end-of-file mark among the blanks.
bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back()))
        text.remove_suffix(1);
    return text;
}

void classify(ini_line& line)
{
    const std::string_view text = trim(line.text);
    if (text.empty())
        return;
    if (text.front() == '[') {
        const auto close = text.rfind(']');
        if (close != std::string_view::npos) {
            // "[ name ]" is section "name": blanks inside the brackets do not belong to the name.
            line.kind = line_kind::section;
            line.name = std::string(trim(text.substr(1, close - 1)));
            return;
        }
    }
    if (text.front() == ';') {
        line.kind = line_kind::comment;
        return;
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos)
        return;  // a line without '=' is no key
    line.kind = line_kind::key;
    line.name = std::string(trim(text.substr(0, equals)));
    line.value = std::string(trim(text.substr(equals + 1)));
}

ini_document parse(std::string_view content)
{
    ini_document document;
    if (content.substr(0, utf8_bom.size()) == utf8_bom) {
        document.bom = std::string(utf8_bom);
        content.remove_prefix(utf8_bom.size());
    }
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = start;
        while (end < content.size() && content[end] != '\r' && content[end] != '\n')
            ++end;
        ini_line line;
        line.text = std::string(content.substr(start, end - start));
        std::size_t next = end;
        if (next < content.size() && content[next] == '\r')
            ++next;
        if (next < content.size() && content[next] == '\n')
            ++next;
        line.ending = std::string(content.substr(end, next - end));
        classify(line);
        document.lines.push_back(std::move(line));
        start = next;
    }
    return document;
}

std::string serialise(const ini_document& document)
{
    std::string out = document.bom;
    for (const ini_line& line : document.lines)
        out += line.text + line.ending;
    return out;
}

std::optional<ini_document> load(const std::string& file)
{
    const auto content = read_file(file);
    if (!content)
        return std::nullopt;
    return parse(*content);
}

// Index of the header of the first section of that name, or npos.
std::size_t find_section(const ini_document& document, std::string_view section)
{
    const std::u32string wanted = fold_case(trim(section));
    if (wanted.empty())
        return std::string::npos;
    for (std::size_t i = 0; i < document.lines.size(); ++i) {
        const ini_line& line = document.lines[i];
        if (line.kind == line_kind::section && !line.name.empty() && fold_case(line.name) == wanted)
            return i;
    }
    return std::string::npos;
}

// One past the last line of the section whose header is at `header`.
std::size_t section_end(const ini_document& document, std::size_t header)
{
    std::size_t i = header + 1;
    while (i < document.lines.size() && document.lines[i].kind != line_kind::section)
        ++i;
    return i;
}

std::size_t find_key(const ini_document& document, std::size_t header, std::string_view key)
{
    const std::u32string wanted = fold_case(trim(key));
    const std::size_t end = section_end(document, header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const ini_line& line = document.lines[i];
        if (line.kind == line_kind::key && fold_case(line.name) == wanted)
            return i;
    }
    return std::string::npos;
}

std::optional<std::string> find_value(const ini_document& document, std::string_view section, std::string_view key)
{
    if (trim(key).empty())
        return std::nullopt;
    const std::size_t header = find_section(document, section);
    if (header == std::string::npos)
        return std::nullopt;
    const std::size_t line = find_key(document, header, key);
    if (line == std::string::npos)
        return std::nullopt;
    return document.lines[line].value;
}

// One pair of matching quotes around the whole text comes off; a lone quote stays.
std::string strip_quotes(std::string text)
{
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        return text.substr(1, text.size() - 2);
    return text;
}

bool has_line_break(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// A name that would read back as something else (a comment, a section, a different key) is refused instead of
// being written into the file.
bool writable_names(std::string_view section, std::string_view key)
{
    const std::string_view s = trim(section);
    const std::string_view k = trim(key);
    if (s.empty() || has_line_break(section))
        return false;
    if (k.empty() || has_line_break(key) || k.find('=') != std::string_view::npos)
        return false;
    return k.front() != ';' && k.front() != '[';
}

void end_line(ini_line& line)
{
    if (line.ending.empty())
        line.ending = std::string(crlf);
}

ini_line make_line(std::string text)
{
    ini_line line;
    line.text = std::move(text);
    line.ending = std::string(crlf);
    classify(line);
    return line;
}

// The existing file's lines; an empty document when it does not exist. nullopt when it exists but cannot be read,
// so that a write never replaces a file it could not see.
std::optional<ini_document> load_for_write(const std::string& file)
{
    if (auto document = load(file))
        return document;
    if (path_exists(file))
        return std::nullopt;
    return ini_document{};
}

bool save(const ini_document& document, const std::string& file)
{
    return write_file_atomic(file, serialise(document));
}

// The writes as successive single writes would make them, in one pass over the file: an existing key (its first
// line in the section) changes in place keeping its spelling, a new key follows the section's last key in the
// order given, a missing section is added at the end. Returns whether any line changed.
bool apply_writes(ini_document& document, std::string_view section,
                  const std::vector<std::pair<std::string, std::string>>& pairs)
{
    auto& lines = document.lines;
    const std::size_t header = find_section(document, section);
    std::unordered_map<std::u32string, std::size_t> existing;  // folded key -> line
    std::size_t after = header;                                 // the section's last key line
    if (header != std::string::npos) {
        const std::size_t end = section_end(document, header);
        for (std::size_t i = header + 1; i < end; ++i) {
            if (lines[i].kind == line_kind::key) {
                existing.try_emplace(fold_case(lines[i].name), i);
                after = i;
            }
        }
    }
    std::vector<ini_line> added;
    std::unordered_map<std::u32string, std::size_t> added_index;  // folded key -> index in `added`
    bool changed = false;
    for (const auto& [key, value] : pairs) {
        std::string_view stored = value;
        while (!stored.empty() && is_blank(stored.front()))
            stored.remove_prefix(1);
        const std::u32string folded = fold_case(trim(key));
        ini_line* line = nullptr;
        if (const auto found = existing.find(folded); found != existing.end())
            line = &lines[found->second];
        else if (const auto again = added_index.find(folded); again != added_index.end())
            line = &added[again->second];
        if (!line) {
            added_index.emplace(folded, added.size());
            added.push_back(make_line(std::string(trim(key)) + "=" + std::string(stored)));
            changed = true;
        } else if (line->value != stored) {
            *line = make_line(line->name + "=" + std::string(stored));
            changed = true;
        }
    }
    if (added.empty())
        return changed;
    if (header == std::string::npos) {
        if (!lines.empty())
            end_line(lines.back());
        lines.push_back(make_line("[" + std::string(trim(section)) + "]"));
        after = lines.size() - 1;
    } else {
        end_line(lines[after]);
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after + 1), std::make_move_iterator(added.begin()),
                 std::make_move_iterator(added.end()));
    return true;
}

// Each line with a key name in the first section of that name, in file order; none when the file or section is
// missing.
template <typename Visit>
void for_each_key_line(const std::string& section, const std::string& file, Visit visit)
{
    const auto document = load(file);
    if (!document)
        return;
    const std::size_t header = find_section(*document, section);
    if (header == std::string::npos)
        return;
    const std::size_t end = section_end(*document, header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const ini_line& line = document->lines[i];
        if (line.kind == line_kind::key && !line.name.empty())
            visit(line);
    }
}

// Every call reads the file afresh; one lock keeps a read-modify-write of one thread from losing another's.
std::mutex& profile_lock()
{
    static std::mutex lock;
    return lock;
}

} // namespace

std::string get_private_profile_string(const std::string& section, const std::string& key,
                                       const std::string& default_value, const std::string& file)
{
    std::lock_guard guard(profile_lock());
    if (const auto document = load(file)) {
        if (const auto value = find_value(*document, section, key))
            return strip_quotes(*value);
    }
    // The default is trimmed of trailing blanks and loses its quotes as a stored value would.
    std::string fallback = default_value;
    while (!fallback.empty() && fallback.back() == ' ')
        fallback.pop_back();
    return strip_quotes(fallback);
}

int get_private_profile_int(const std::string& section, const std::string& key, int default_value,
                            const std::string& file)
{
    std::string text = get_private_profile_string(section, key, "", file);
    if (text.empty())
        return default_value;
    text.resize(std::min<std::size_t>(text.size(), 29));  // the system reads the value into 30 characters

    // Every control character counts as a blank ahead of the number.
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    const integer_scan scan = scan_integer(std::string_view(text).substr(i), true);
    auto total = static_cast<std::uint32_t>(scan.magnitude);  // wraps modulo 2^32 as the system's conversion does
    if (scan.negative)
        total = 0u - total;
    return static_cast<int>(total);
}

bool write_private_profile_string(const std::string& section, const std::string& key, const std::string& value,
                                  const std::string& file)
{
    return write_private_profile_strings(section, {{key, value}}, file);
}

bool write_private_profile_strings(const std::string& section,
                                   const std::vector<std::pair<std::string, std::string>>& pairs,
                                   const std::string& file)
{
    std::lock_guard guard(profile_lock());
    for (const auto& [key, value] : pairs) {
        if (!writable_names(section, key) || has_line_break(value))
            return false;
    }
    if (pairs.empty())
        return true;
    auto document = load_for_write(file);
    if (!document)
        return false;
    return !apply_writes(*document, section, pairs) || save(*document, file);
}

bool delete_private_profile_key(const std::string& section, const std::string& key, const std::string& file)
{
    std::lock_guard guard(profile_lock());
    auto document = load_for_write(file);
    if (!document)
        return false;
    const std::size_t header = find_section(*document, section);
    if (header == std::string::npos)
        return true;
    const std::size_t line = find_key(*document, header, key);
    if (line == std::string::npos)
        return true;
    document->lines.erase(document->lines.begin() + static_cast<std::ptrdiff_t>(line));
    return save(*document, file);
}

bool delete_private_profile_section(const std::string& section, const std::string& file)
{
    std::lock_guard guard(profile_lock());
    auto document = load_for_write(file);
    if (!document)
        return false;
    const std::size_t header = find_section(*document, section);
    if (header == std::string::npos)
        return true;
    const std::size_t end = section_end(*document, header);
    auto& lines = document->lines;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(header), lines.begin() + static_cast<std::ptrdiff_t>(end));
    return save(*document, file);
}

std::vector<std::string> get_private_profile_keys(const std::string& section, const std::string& file)
{
    std::lock_guard guard(profile_lock());
    std::vector<std::string> keys;
    for_each_key_line(section, file, [&keys](const ini_line& line) { keys.push_back(line.name); });
    return keys;
}

std::vector<std::pair<std::string, std::string>> get_private_profile_section(const std::string& section,
                                                                             const std::string& file)
{
    std::lock_guard guard(profile_lock());
    std::vector<std::pair<std::string, std::string>> pairs;
    std::unordered_set<std::u32string> seen;
    for_each_key_line(section, file, [&](const ini_line& line) {
        if (seen.insert(fold_case(line.name)).second)
            pairs.emplace_back(line.name, strip_quotes(line.value));
    });
    return pairs;
}

std::vector<std::string> get_private_profile_sections(const std::string& file)
{
    std::lock_guard guard(profile_lock());
    std::vector<std::string> sections;
    if (const auto document = load(file)) {
        for (const ini_line& line : document->lines) {
            if (line.kind == line_kind::section && !line.name.empty())
                sections.push_back(line.name);
        }
    }
    return sections;
}

} // namespace karvo::platform
