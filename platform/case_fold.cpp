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

namespace karvo::platform {

namespace {

template <typename C>
bool is_digit(C c) {
    return c >= '0' && c <= '9';
}

template <typename C, typename Lower>
int natural_compare(std::basic_string_view<C> a, std::basic_string_view<C> b, Lower lower_of) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (is_digit(a[i]) && is_digit(b[j])) {
            // Leading zeros do not count; a longer run is a larger number; equal lengths compare digit by digit.
            while (i < a.size() && a[i] == '0' && i + 1 < a.size() && is_digit(a[i + 1]))
                ++i;
            while (j < b.size() && b[j] == '0' && j + 1 < b.size() && is_digit(b[j + 1]))
                ++j;
            std::size_t end_a = i;
            std::size_t end_b = j;
            while (end_a < a.size() && is_digit(a[end_a]))
                ++end_a;
            while (end_b < b.size() && is_digit(b[end_b]))
                ++end_b;
            if (end_a - i != end_b - j)
                return end_a - i < end_b - j ? -1 : 1;
            for (; i < end_a; ++i, ++j)
                if (a[i] != b[j])
                    return a[i] < b[j] ? -1 : 1;
            continue;
        }
        const auto x = lower_of(a[i]);
        const auto y = lower_of(b[j]);
        if (x != y)
            return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    return i < a.size() ? 1 : (j < b.size() ? -1 : 0);
}

bool is_ascii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

bool name_less(std::string_view a, std::string_view b) {
    int order = 0;
    if (is_ascii(a) && is_ascii(b)) {
        order = natural_compare(a, b, [](char c) { return static_cast<char32_t>(lower(static_cast<unsigned char>(c))); });
    } else {
        const std::u32string x = fold_case(a);
        const std::u32string y = fold_case(b);
        order = natural_compare(std::u32string_view(x), std::u32string_view(y), [](char32_t c) { return c; });
    }
    return order != 0 ? order < 0 : a < b;
}

} // namespace karvo::platform
