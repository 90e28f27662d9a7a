// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/text.h"

#include "platform/utf8.h"

#include <algorithm>
#include <cwctype>
#include <vector>

namespace karvo {
namespace {

char ascii_upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char32_t locale_upper(char32_t code) {
    const locale_t locale = platform::utf8_locale();
    if (!locale)
        return code;
    const wint_t upper = towupper_l(static_cast<wint_t>(code), locale);
    // A result that is no Unicode scalar value would not encode; keep the character then.
    if (upper > 0x10FFFF || (upper >= 0xD800 && upper <= 0xDFFF))
        return code;
    return static_cast<char32_t>(upper);
}

// The two-byte range (Latin, Greek, Cyrillic, Hebrew, Arabic) holds nearly every non-ASCII letter of tags; its
// upper cases are looked up once, as the locale call is costly when a sort upper-cases many keys.
constexpr char32_t two_byte_end = 0x800;

char32_t upper_code(char32_t code) {
    static const std::vector<char32_t> two_byte_upper = [] {
        std::vector<char32_t> table(two_byte_end);
        for (char32_t c = 0; c < two_byte_end; ++c)
            table[c] = locale_upper(c);
        return table;
    }();
    return code < two_byte_end ? two_byte_upper[code] : locale_upper(code);
}

} // namespace

void append_upper_case(std::string& out, std::string_view text) {
    std::size_t i = 0;
    const std::size_t size = text.size();
    while (i < size) {
        // Runs of ASCII are the common case: no decoding, no locale call.
        std::size_t run = i;
        while (run < size && static_cast<unsigned char>(text[run]) < 0x80)
            ++run;
        if (run > i) {
            const std::size_t at = out.size();
            out.append(text.data() + i, run - i);
            std::transform(out.begin() + static_cast<std::ptrdiff_t>(at), out.end(),
                           out.begin() + static_cast<std::ptrdiff_t>(at), ascii_upper);
            i = run;
            if (i == size)
                break;
        }
        char32_t code = 0;
        const std::size_t length = platform::decode_utf8(text, i, code);
        if (length == 0) {
            out += text[i]; // an invalid byte stays as it is
            ++i;
            continue;
        }
        platform::append_utf8(out, upper_code(code));
        i += length;
    }
}

std::string upper_case(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    append_upper_case(out, text);
    return out;
}

int compare_upper(std::string_view a, std::string_view b) {
    // Compare ASCII prefixes in place; an ASCII byte is always a whole character, so the texts can be split there
    // and only the rest needs full upper-casing.
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t i = 0;
    for (; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (ca >= 0x80 || cb >= 0x80)
            break;
        const auto ua = static_cast<unsigned char>(ascii_upper(static_cast<char>(ca)));
        const auto ub = static_cast<unsigned char>(ascii_upper(static_cast<char>(cb)));
        if (ua != ub)
            return ua < ub ? -1 : 1;
    }
    if (i == common)
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    const int result = upper_case(a.substr(i)).compare(upper_case(b.substr(i)));
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

bool less_case_insensitive(std::string_view a, std::string_view b) {
    return compare_upper(a, b) < 0;
}

std::string without_three_letter_extension(const std::string& name) {
    if (name.size() > 4 && name[name.size() - 4] == '.')
        return name.substr(0, name.size() - 4);
    return name;
}

std::string upper_extension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    const std::string_view extension = path.substr(dot + 1);
    if (extension.find('/') != std::string_view::npos)
        return {}; // the dot belongs to a folder name
    return upper_case(extension);
}

} // namespace karvo
