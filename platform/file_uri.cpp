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

std::string file_uri(const std::string& path) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string uri(scheme);
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (unreserved(c)) {
            uri += ch;
        } else {
            uri += '%';
            uri += digits[c >> 4];
            uri += digits[c & 15];
        }
    }
    return uri;
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
    std::string path;
    path.reserve(rest.size());
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const int high = rest[i] == '%' && i + 2 < rest.size() ? hex_value(rest[i + 1]) : -1;
        const int low = high >= 0 ? hex_value(rest[i + 2]) : -1;
        if (low < 0) {
            path += rest[i];
            continue;
        }
        const char byte = static_cast<char>(high * 16 + low);
        if (byte == '\0')
            return {};
        path += byte;
        i += 2;
    }
    // "file:///C:/Music/a.mp3" and the old "file:///C|/Music/a.mp3" name a Windows drive; an escaped "%7C" is a
    // plain "|" of a name, and a letter followed by more than the drive mark is a name too.
    const bool drive_mark = rest.size() >= 3 && (rest[2] == ':' || rest[2] == '|' || rest.compare(2, 3, "%3A") == 0 ||
                                                 rest.compare(2, 3, "%3a") == 0);
    if (drive_mark && path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[1])) &&
        (path[2] == ':' || path[2] == '|') && (path.size() == 3 || path[3] == '/' || path[3] == '\\')) {
        path.erase(0, 1);
        path[1] = ':';
    }
    return path;
}

} // namespace karvo::platform
