#include "players/file_uri.h"

#include <string_view>

namespace karvo {
namespace {

constexpr std::string_view scheme = "file://";

bool unreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/';
}

int hex_value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::string file_uri(const std::string& path)
{
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

std::string path_of_file_uri(const std::string& uri)
{
    if (uri.compare(0, scheme.size(), scheme) != 0)
        return {};
    std::string_view rest = std::string_view(uri).substr(scheme.size());
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos)
        return {};
    const std::string_view host = rest.substr(0, slash);
    if (!host.empty() && host != "localhost")
        return {};
    rest.remove_prefix(slash);
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const int high = rest[i] == '%' && i + 2 < rest.size() ? hex_value(rest[i + 1]) : -1;
        const int low = high >= 0 ? hex_value(rest[i + 2]) : -1;
        if (low >= 0) {
            path += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            path += rest[i];
        }
    }
    return path;
}

} // namespace karvo
