#include "library/text.h"

#include <algorithm>
#include <climits>
#include <cwctype>
#include <locale.h>
#include <vector>

namespace karvo {
namespace {

// The UTF-8 character-type rules, made once: upper-casing must not depend on the process locale.
locale_t utf8_locale()
{
    static const locale_t locale = [] {
        locale_t made = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        if (!made)
            made = newlocale(LC_CTYPE_MASK, "en_US.UTF-8", static_cast<locale_t>(nullptr));
        return made;
    }();
    return locale;
}

char ascii_upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool continuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Decodes one well-formed UTF-8 sequence at text[i]; returns its length, or 0 when the bytes are not one.
std::size_t decode(std::string_view text, std::size_t i, char32_t& code)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const std::size_t left = text.size() - i;
    const unsigned char lead = byte(0);
    if (lead >= 0xC2 && lead <= 0xDF) {
        if (left < 2 || !continuation(byte(1)))
            return 0;
        code = (char32_t(lead & 0x1F) << 6) | (byte(1) & 0x3F);
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (left < 3 || !continuation(byte(1)) || !continuation(byte(2)))
            return 0;
        if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) > 0x9F))
            return 0;  // overlong form or surrogate
        code = (char32_t(lead & 0x0F) << 12) | (char32_t(byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (left < 4 || !continuation(byte(1)) || !continuation(byte(2)) || !continuation(byte(3)))
            return 0;
        if ((lead == 0xF0 && byte(1) < 0x90) || (lead == 0xF4 && byte(1) > 0x8F))
            return 0;  // overlong form or beyond U+10FFFF
        code = (char32_t(lead & 0x07) << 18) | (char32_t(byte(1) & 0x3F) << 12) | (char32_t(byte(2) & 0x3F) << 6) |
               (byte(3) & 0x3F);
        return 4;
    }
    return 0;
}

void encode(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

char32_t locale_upper(char32_t code)
{
    const locale_t locale = utf8_locale();
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

char32_t upper_code(char32_t code)
{
    static const std::vector<char32_t> two_byte_upper = [] {
        std::vector<char32_t> table(two_byte_end);
        for (char32_t c = 0; c < two_byte_end; ++c)
            table[c] = locale_upper(c);
        return table;
    }();
    return code < two_byte_end ? two_byte_upper[code] : locale_upper(code);
}

} // namespace

void append_upper_case(std::string& out, std::string_view text)
{
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
        const std::size_t length = decode(text, i, code);
        if (length == 0) {
            out += text[i];  // an invalid byte stays as it is
            ++i;
            continue;
        }
        encode(out, upper_code(code));
        i += length;
    }
}

std::string upper_case(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    append_upper_case(out, text);
    return out;
}

int compare_upper(std::string_view a, std::string_view b)
{
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

bool less_case_insensitive(std::string_view a, std::string_view b)
{
    return compare_upper(a, b) < 0;
}

std::string without_three_letter_extension(const std::string& name)
{
    if (name.size() > 4 && name[name.size() - 4] == '.')
        return name.substr(0, name.size() - 4);
    return name;
}

std::string upper_extension(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    const std::string_view extension = path.substr(dot + 1);
    if (extension.find('/') != std::string_view::npos)
        return {};  // the dot belongs to a folder name
    return upper_case(extension);
}

long long to_integer(std::string_view text, long long fallback)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size() || text[i] < '0' || text[i] > '9')
        return fallback;
    unsigned long long value = 0;
    const unsigned long long limit = negative ? 0ULL - static_cast<unsigned long long>(LLONG_MIN) : LLONG_MAX;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const auto digit = static_cast<unsigned long long>(text[i] - '0');
        if (value > (limit - digit) / 10)
            return fallback;  // too large to be a number the program can hold
        value = value * 10 + digit;
    }
    return negative ? static_cast<long long>(0ULL - value) : static_cast<long long>(value);
}

} // namespace karvo
