// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/text.h"

#include "platform/utf8.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <cwctype>
#include <iterator>
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

// The bytes of upper_case(text) one at a time, without building it: a comparison stops at the first bytes that
// differ.
class upper_bytes {
public:
    explicit upper_bytes(std::string_view text) : text_(text) {}
    bool next(unsigned char& out) {
        if (at_ < pending_.size()) {
            out = static_cast<unsigned char>(pending_[at_++]);
            return true;
        }
        if (i_ >= text_.size())
            return false;
        const auto byte = static_cast<unsigned char>(text_[i_]);
        char32_t code = 0;
        const std::size_t length = byte < 0x80 ? 0 : platform::decode_utf8(text_, i_, code);
        if (length == 0) { // ASCII, or an invalid byte kept as it is
            out = static_cast<unsigned char>(ascii_upper(text_[i_++]));
            return true;
        }
        i_ += length;
        pending_.clear(); // at most four bytes: no allocation
        platform::append_utf8(pending_, upper_code(code));
        at_ = 1;
        out = static_cast<unsigned char>(pending_[0]);
        return true;
    }

private:
    std::string_view text_;
    std::size_t i_ = 0;
    std::string pending_;
    std::size_t at_ = 0;
};

// Latin letters with diacritics and their base letters, upper case: a name collates with its base letter first.
struct base_letters {
    char32_t first, last;
    const char* base;
};
constexpr base_letters latin_bases[] = {
    {0xC0, 0xC5, "A"},     {0xC6, 0xC6, "AE"},    {0xC7, 0xC7, "C"},     {0xC8, 0xCB, "E"},     {0xCC, 0xCF, "I"},
    {0xD0, 0xD0, "D"},     {0xD1, 0xD1, "N"},     {0xD2, 0xD6, "O"},     {0xD8, 0xD8, "O"},     {0xD9, 0xDC, "U"},
    {0xDD, 0xDD, "Y"},     {0xDE, 0xDE, "TH"},    {0xDF, 0xDF, "SS"},    {0x100, 0x105, "A"},   {0x106, 0x10D, "C"},
    {0x10E, 0x111, "D"},   {0x112, 0x11B, "E"},   {0x11C, 0x123, "G"},   {0x124, 0x127, "H"},   {0x128, 0x131, "I"},
    {0x132, 0x133, "IJ"},  {0x134, 0x135, "J"},   {0x136, 0x138, "K"},   {0x139, 0x142, "L"},   {0x143, 0x14B, "N"},
    {0x14C, 0x151, "O"},   {0x152, 0x153, "OE"},  {0x154, 0x159, "R"},   {0x15A, 0x161, "S"},   {0x162, 0x167, "T"},
    {0x168, 0x173, "U"},   {0x174, 0x175, "W"},   {0x176, 0x178, "Y"},   {0x179, 0x17E, "Z"},   {0x17F, 0x17F, "S"},
    {0x1E9E, 0x1E9E, "SS"},
};

// upper_case(text) with every Latin letter's diacritic dropped: the first level of the name order.
std::string base_key(std::string_view text) {
    const std::string upper = upper_case(text);
    std::string key;
    key.reserve(upper.size());
    for (std::size_t i = 0; i < upper.size();) {
        char32_t code = 0;
        const std::size_t length =
            static_cast<unsigned char>(upper[i]) < 0x80 ? 0 : platform::decode_utf8(upper, i, code);
        if (length == 0) {
            key += upper[i++];
            continue;
        }
        const auto* base = std::find_if(std::begin(latin_bases), std::end(latin_bases),
                                        [code](const base_letters& b) { return code >= b.first && code <= b.last; });
        if (base != std::end(latin_bases))
            key += base->base;
        else
            key.append(upper, i, length);
        i += length;
    }
    return key;
}

} // namespace

namespace {

char* put_utf8(char* out, char32_t code) {
    if (code < 0x80) {
        *out++ = static_cast<char>(code);
    } else if (code < 0x800) {
        *out++ = static_cast<char>(0xC0 | (code >> 6));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (code >> 12));
        *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (code >> 18));
        *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

} // namespace

std::size_t write_upper_case(char* const out, std::string_view text) {
    char* p = out;
    std::size_t i = 0;
    const std::size_t size = text.size();
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x8080808080808080u;
    while (i < size) {
        // Eight ASCII bytes at a time: a byte from 'a' to 'z' loses its 0x20 (no sum carries into the next byte,
        // as every byte is below 0x80).
        // A word with non-ASCII bytes has its ASCII start written the same way (the sums are taken without the high
        // bits, and the bytes that had one are left alone); all eight are stored, the room allowing it.
        while (i + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            const std::uint64_t low = word & ~highs;
            const std::uint64_t from_a = (low + (0x80 - 'a') * ones) & highs;
            const std::uint64_t past_z = (low + (0x80 - 'z' - 1) * ones) & highs;
            const std::uint64_t upper = word - ((from_a & ~past_z & ~word) >> 2);
            std::memcpy(p, &upper, 8);
            const std::uint64_t high = word & highs;
            if (high != 0) {
                if constexpr (std::endian::native == std::endian::little) {
                    const auto ascii = static_cast<std::size_t>(std::countr_zero(high) / 8);
                    p += ascii;
                    i += ascii;
                }
                break;
            }
            p += 8;
            i += 8;
        }
        if (i >= size)
            break;
        const auto byte = static_cast<unsigned char>(text[i]);
        // ASCII is the common case, then a two-byte letter: neither decodes in general nor calls the locale.
        if (byte < 0x80) {
            *p++ = ascii_upper(text[i++]);
            continue;
        }
        if (byte >= 0xC2 && byte <= 0xDF && i + 1 < size && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            p = put_utf8(p, upper_code(static_cast<char32_t>((byte & 0x1Fu) << 6 |
                                                             (static_cast<unsigned char>(text[i + 1]) & 0x3Fu))));
            i += 2;
            continue;
        }
        char32_t code = 0;
        const std::size_t length = platform::decode_utf8(text, i, code);
        if (length == 0) {
            *p++ = text[i++]; // an invalid byte stays as it is
            continue;
        }
        p = put_utf8(p, upper_code(code));
        i += length;
    }
    return static_cast<std::size_t>(p - out);
}

void append_upper_case(std::string& out, std::string_view text) {
    const std::size_t at = out.size();
    out.resize(at + 2 * text.size());
    out.resize(at + write_upper_case(out.data() + at, text));
}

std::string upper_case(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    append_upper_case(out, text);
    return out;
}

std::size_t common_upper_ascii_prefix(std::string_view a, std::string_view b) {
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t same = 0;
    while (same < limit && static_cast<unsigned char>(a[same]) < 0x80 && ascii_upper(a[same]) == ascii_upper(b[same]))
        ++same;
    return same;
}

int compare_upper(std::string_view a, std::string_view b) {
    // An ASCII byte is always a whole character, so the texts can be split after their common ASCII start and only
    // the rest needs full upper-casing.
    const std::size_t i = common_upper_ascii_prefix(a, b);
    upper_bytes left(a.substr(i));
    upper_bytes right(b.substr(i));
    for (;;) {
        unsigned char l = 0;
        unsigned char r = 0;
        const bool has_left = left.next(l);
        const bool has_right = right.next(r);
        if (!has_left || !has_right)
            return has_left == has_right ? 0 : (has_left ? 1 : -1);
        if (l != r)
            return l < r ? -1 : 1;
    }
}

bool less_case_insensitive(std::string_view a, std::string_view b) {
    // Base letters first (éclair with the Es), then accents and case, then the bytes, so the order is total.
    if (const int base = base_key(a).compare(base_key(b)); base != 0)
        return base < 0;
    if (const int upper = compare_upper(a, b); upper != 0)
        return upper < 0;
    return a < b;
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
