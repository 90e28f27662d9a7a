// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/xspf_playlist.h"

#include <charconv>
#include <utility>

#include "platform/numbers.h"
#include "platform/utf8.h"

namespace karvo::xspf {
namespace {

// XML 1.0 Char: tab, LF, CR, U+0020-U+D7FF, U+E000-U+FFFD, U+10000 on (surrogates never decode).
bool xml_char(char32_t code) {
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code != 0xFFFE && code != 0xFFFF);
}

void element(std::string& out, const char* name, const std::string& text) {
    if (text.empty())
        return;
    out += "      <";
    out += name;
    out += '>';
    out += xml_text(text);
    out += "</";
    out += name;
    out += ">\n";
}

} // namespace

std::string xml_text(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t code = 0;
        const std::size_t length = platform::decode_utf8(text, i, code);
        if (length == 0) {
            ++i;
            continue;
        }
        if (code == '&')
            out += "&amp;";
        else if (code == '<')
            out += "&lt;";
        else if (code == '>')
            out += "&gt;";
        else if (code == '"')
            out += "&quot;";
        else if (xml_char(code))
            out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

std::string document(const std::string& title, const std::vector<track>& tracks) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">\n";
    if (!title.empty())
        out += "  <title>" + xml_text(title) + "</title>\n";
    out += "  <trackList>\n";
    for (const track& t : tracks) {
        // The order of the format's description: location, title, creator, album, trackNum, duration.
        out += "    <track>\n";
        element(out, "location", t.location);
        element(out, "title", t.title);
        element(out, "creator", t.creator);
        element(out, "album", t.album);
        if (t.track_num > 0)
            element(out, "trackNum", std::to_string(t.track_num));
        if (t.duration_ms >= 0)
            element(out, "duration", std::to_string(t.duration_ms));
        out += "    </track>\n";
    }
    out += "  </trackList>\n</playlist>\n";
    return out;
}

bool looks_like_xml(std::string_view head) {
    if (head.substr(0, 3) == "\xEF\xBB\xBF")
        head.remove_prefix(3);
    const auto start = head.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos)
        return false;
    head.remove_prefix(start);
    return head.substr(0, 5) == "<?xml" || head.substr(0, 4) == "<!--" || head.substr(0, 9) == "<playlist";
}

namespace {

// "&amp;", "&#233;", "&#xE9;" and the other predefined entities; an unknown one stays as written.
std::string decode_entities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t semicolon = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        if (semicolon == std::string_view::npos || semicolon - i > 10) {
            out += text[i];
            continue;
        }
        const std::string_view name = text.substr(i + 1, semicolon - i - 1);
        static constexpr std::pair<std::string_view, char> named[] = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        bool done = false;
        for (const auto& [entity, c] : named)
            if (name == entity) {
                out += c;
                done = true;
            }
        if (!done && name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            const std::string_view digits = name.substr(hex ? 2 : 1);
            long long code = -1;
            const auto [end, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
            if (error != std::errc() || end != digits.data() + digits.size())
                code = -1;
            if (code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
                platform::append_utf8(out, static_cast<char32_t>(code));
                done = true;
            }
        }
        if (!done) {
            out += text[i];
            continue;
        }
        i = semicolon;
    }
    return out;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    return first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string_view local_name(std::string_view name) {
    const auto colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

} // namespace

std::optional<std::vector<track>> parse(std::string_view xml) {
    std::vector<track> tracks;
    std::vector<std::string> open; // local names of the elements open at this point
    std::string text;              // character data of the innermost element
    bool root_seen = false;
    for (std::size_t at = 0; at < xml.size();) {
        const std::size_t lt = xml.find('<', at);
        text += decode_entities(xml.substr(at, (lt == std::string_view::npos ? xml.size() : lt) - at));
        if (lt == std::string_view::npos)
            break;
        const std::string_view rest = xml.substr(lt);
        const auto skip_to = [&](std::string_view end) {
            const std::size_t found = xml.find(end, lt);
            return found == std::string_view::npos ? xml.size() : found + end.size();
        };
        if (rest.substr(0, 4) == "<!--") {
            at = skip_to("-->");
            continue;
        }
        if (rest.substr(0, 9) == "<![CDATA[") {
            const std::size_t end = xml.find("]]>", lt);
            text += xml.substr(lt + 9, (end == std::string_view::npos ? xml.size() : end) - lt - 9);
            at = end == std::string_view::npos ? xml.size() : end + 3;
            continue;
        }
        if (rest.substr(0, 2) == "<?" || rest.substr(0, 2) == "<!") {
            at = skip_to(rest[1] == '?' ? "?>" : ">");
            continue;
        }
        const std::size_t gt = xml.find('>', lt);
        if (gt == std::string_view::npos)
            break;
        std::string_view tag = xml.substr(lt + 1, gt - lt - 1);
        at = gt + 1;
        const bool closing = !tag.empty() && tag[0] == '/';
        const bool empty = !tag.empty() && tag.back() == '/';
        if (closing)
            tag.remove_prefix(1);
        const std::string_view name = local_name(tag.substr(0, tag.find_first_of(" \t\r\n/")));
        if (!closing) {
            if (!root_seen && name != "playlist")
                return std::nullopt;
            root_seen = true;
            const bool in_track_list = open.size() == 2 && open[1] == "trackList";
            if (name == "track" && in_track_list)
                tracks.emplace_back();
            if (!empty)
                open.emplace_back(name);
            text.clear();
            continue;
        }
        // A field of a track: playlist / trackList / track / field.
        if (open.size() == 4 && open[2] == "track" && open[3] == name && !tracks.empty()) {
            track& t = tracks.back();
            if (name == "location" && t.location.empty())
                t.location = trimmed(text);
            else if (name == "title")
                t.title = text;
            else if (name == "creator")
                t.creator = text;
            else if (name == "album")
                t.album = text;
            else if (name == "duration")
                t.duration_ms = platform::to_integer(text, -1);
        }
        if (!open.empty())
            open.pop_back();
        text.clear();
    }
    if (!root_seen)
        return std::nullopt;
    return tracks;
}

} // namespace karvo::xspf
