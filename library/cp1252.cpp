#include "library/cp1252.h"

#include <array>

namespace karvo {
namespace {

// Code points of 0x80..0x9F; the undefined bytes keep their own value.
constexpr std::array<char16_t, 32> high_controls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D,
    0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A,
    0x0153, 0x009D, 0x017E, 0x0178,
};

void append_utf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// One well-formed UTF-8 sequence at text[i]: its length, or 0 for a byte that does not start one.
std::size_t next_code(std::string_view text, std::size_t i, char32_t& code)
{
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const auto tail = [&](std::size_t k) { return i + k < text.size() && (at(k) & 0xC0) == 0x80; };
    const unsigned char lead = at(0);
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF && tail(1)) {
        code = (char32_t(lead & 0x1F) << 6) | (at(1) & 0x3F);
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF && tail(1) && tail(2)) {
        if ((lead == 0xE0 && at(1) < 0xA0) || (lead == 0xED && at(1) > 0x9F)) return 0;
        code = (char32_t(lead & 0x0F) << 12) | (char32_t(at(1) & 0x3F) << 6) | (at(2) & 0x3F);
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4 && tail(1) && tail(2) && tail(3)) {
        if ((lead == 0xF0 && at(1) < 0x90) || (lead == 0xF4 && at(1) > 0x8F)) return 0;
        code = (char32_t(lead & 0x07) << 18) | (char32_t(at(1) & 0x3F) << 12) | (char32_t(at(2) & 0x3F) << 6) |
               (at(3) & 0x3F);
        return 4;
    }
    return 0;
}

char encode(char32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
    for (std::size_t k = 0; k < high_controls.size(); ++k)
        if (high_controls[k] == code) return static_cast<char>(0x80 + k);
    return '?';
}

// Walks the text character by character (an invalid byte counts as one); returns the UTF-8 bytes consumed.
template <typename Sink>
std::size_t walk(std::string_view text, std::size_t max_bytes, Sink&& sink)
{
    std::size_t i = 0;
    for (std::size_t written = 0; i < text.size() && written < max_bytes; ++written) {
        char32_t code = 0;
        const std::size_t length = next_code(text, i, code);
        sink(length ? encode(code) : '?');
        i += length ? length : 1;
    }
    return i;
}

} // namespace

std::string cp1252_to_utf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        append_utf8(out, b >= 0x80 && b < 0xA0 ? char32_t(high_controls[b - 0x80]) : char32_t(b));
    }
    return out;
}

std::string utf8_to_cp1252(std::string_view text, std::size_t max_bytes)
{
    std::string out;
    walk(text, max_bytes, [&](char c) { out += c; });
    return out;
}

std::size_t utf8_prefix_fitting_cp1252(std::string_view text, std::size_t max_bytes)
{
    return walk(text, max_bytes, [](char) {});
}

} // namespace karvo
