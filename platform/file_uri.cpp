// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_uri.h"

#include <cctype>

#include "platform/case_fold.h"

#include <string_view>

namespace karvo::platform {
namespace {

constexpr std::string_view scheme = "file://";

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/';
}

int hex_value(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool starts_with_ignoring_case(const std::string& text, std::string_view prefix) {
    return text.size() >= prefix.size() && equal_ignoring_case(std::string_view(text).substr(0, prefix.size()), prefix);
}

} // namespace

std::string percent_encode(std::string_view text) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (unreserved(c)) {
            out += ch;
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

std::string percent_decode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? hex_value(text[i + 1]) : -1;
        const int low = high >= 0 ? hex_value(text[i + 2]) : -1;
        if (low < 0) {
            out += text[i];
            continue;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

std::string file_uri(const std::string& path) {
    return std::string(scheme) + percent_encode(path);
}

std::string path_of_file_uri(const std::string& uri) {
    if (!starts_with_ignoring_case(uri, "file:"))
        return {};
    std::string rest = uri.substr(5);
    if (rest.rfind("//", 0) == 0) {
        const std::size_t slash = rest.find('/', 2);
        const std::string host = rest.substr(2, slash == std::string::npos ? std::string::npos : slash - 2);
        if (!host.empty() && !equal_ignoring_case(host, "localhost"))
            return {};
        rest = slash == std::string::npos ? std::string() : rest.substr(slash);
    }
    if (rest.empty() || rest[0] != '/')
        return {};
    // "file:///C:/Music/a.mp3" and the old "file:///C|/Music/a.mp3" name a Windows drive; an encoded "%3A" is a
    // Linux name holding a colon.
    // A letter with its mark and more of the name after it ("/a|b.mp3") is a name, not a drive.
    const bool drive = rest.size() >= 3 && std::isalpha(static_cast<unsigned char>(rest[1])) &&
                       (rest[2] == ':' || rest[2] == '|') && (rest.size() == 3 || rest[3] == '/' || rest[3] == '\\');
    std::string path = percent_decode(rest);
    if (path.find('\0') != std::string::npos)
        return {};
    if (drive) {
        path.erase(0, 1);
        path[1] = ':';
    }
    return path;
}

} // namespace karvo::platform
