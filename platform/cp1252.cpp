// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/cp1252.h"

#include <array>

#include "platform/utf8.h"

namespace karvo::platform {

namespace {

// 0x80..0x9F; the rest of the page equals Latin-1.
constexpr std::array<char32_t, 32> high_controls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char encode(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (std::size_t k = 0; k < high_controls.size(); ++k)
        if (high_controls[k] == code)
            return static_cast<char>(0x80 + k);
    return '?';
}

// Walks the text one character at a time (an invalid byte counts as one) while the encoded width allows; returns
// the UTF-8 bytes consumed.
template <typename Sink>
std::size_t walk(std::string_view text, std::size_t max_bytes, Sink&& sink) {
    std::size_t i = 0;
    for (std::size_t written = 0; i < text.size() && written < max_bytes; ++written) {
        char32_t code = 0;
        const std::size_t length = decode_utf8(text, i, code);
        sink(length ? encode(code) : '?');
        i += length ? length : 1;
    }
    return i;
}

} // namespace

std::string decode_cp1252_to_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        append_utf8(out, byte >= 0x80 && byte < 0xA0 ? high_controls[byte - 0x80] : char32_t(byte));
    }
    return out;
}

std::string encode_utf8_to_cp1252(std::string_view text, std::size_t max_bytes) {
    std::string out;
    out.reserve(std::min(text.size(), max_bytes));
    walk(text, max_bytes, [&out](char c) { out += c; });
    return out;
}

std::size_t utf8_prefix_fitting_cp1252(std::string_view text, std::size_t max_bytes) {
    return walk(text, max_bytes, [](char) {});
}

bool is_valid_utf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        char32_t code = 0;
        const std::size_t length = decode_utf8(text, i, code);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

} // namespace karvo::platform
