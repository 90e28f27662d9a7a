// SPDX-License-Identifier: GPL-3.0-or-later
#include "addons/export_xspf/xspf_writer.h"

#include "addons/resource/media_info_reader.h"
#include "platform/file_system.h"
#include "platform/numbers.h"
#include "platform/utf8.h"

namespace karvo::xspf {
namespace {

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

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

std::string file_uri(std::string_view path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (unreserved(c) || c == '/') {
            uri += ch;
        } else {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 0xF];
        }
    }
    return uri;
}

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

track track_of(const std::string& path, bool read_tags) {
    track t;
    t.location = file_uri(path);
    if (!read_tags || !resource::representable_path(path))
        return t;
    long long length_ms = -1;
    const resource::info_fields fields = resource::read_media_info(path.c_str(), &length_ms);
    t.title = fields[resource::field_title];
    t.creator = fields[resource::field_artist];
    t.album = fields[resource::field_album];
    const long long number = platform::to_integer(fields[resource::field_track], 0);
    t.track_num = number > 0 && number <= 1000000 ? static_cast<int>(number) : 0;
    t.duration_ms = length_ms;
    return t;
}

bool write_playlist(const std::string& target, const string_list& paths, const std::string& title, bool read_tags) {
    std::vector<track> tracks;
    tracks.reserve(paths.size());
    for (const std::string& path : paths)
        tracks.push_back(track_of(path, read_tags));
    return platform::write_file_atomic(target, document(title, tracks));
}

} // namespace karvo::xspf
