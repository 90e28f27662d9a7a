// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/case_fold.h"

#include "platform/utf8.h"

#include <cwctype>

namespace karvo::platform {

namespace {

char32_t lower(char32_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
    if (const locale_t locale = utf8_locale())
        return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale));
    return c;
}

} // namespace

std::u32string fold_case(std::string_view text) {
    std::u32string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        if (const std::size_t length = decode_utf8(text, i, c)) {
            result.push_back(lower(c));
            i += length;
        } else {
            // A byte that is no character stands for itself, above the Unicode range so it never equals one.
            result.push_back(0x110000 + static_cast<unsigned char>(text[i]));
            ++i;
        }
    }
    return result;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    return fold_case(a) == fold_case(b);
}

} // namespace karvo::platform
