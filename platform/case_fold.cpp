#include "platform/case_fold.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace karvo::platform {

namespace {

// The C.UTF-8 locale gives full Unicode case mappings whatever the process locale is; without it only ASCII folds.
locale_t utf8_locale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

char32_t lower(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
    if (const locale_t locale = utf8_locale())
        return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale));
    return c;
}

// Decodes one UTF-8 sequence at `i`; an invalid byte stands for itself (mapped above the Unicode range so that it
// never equals a real character).
char32_t decode(std::string_view text, std::size_t& i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    int length = 0;
    char32_t c = 0;
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    if ((b0 & 0xE0) == 0xC0) { length = 2; c = b0 & 0x1F; }
    else if ((b0 & 0xF0) == 0xE0) { length = 3; c = b0 & 0x0F; }
    else if ((b0 & 0xF8) == 0xF0) { length = 4; c = b0 & 0x07; }
    if (length == 0 || i + length > text.size()) {
        ++i;
        return 0x110000 + b0;
    }
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return 0x110000 + b0;
        }
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    i += length;
    return c;
}

} // namespace

std::u32string fold_case(std::string_view text)
{
    std::u32string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = decode(text, i);
        result.push_back(c >= 0x110000 ? c : lower(c));
    }
    return result;
}

bool equal_ignoring_case(std::string_view a, std::string_view b)
{
    return fold_case(a) == fold_case(b);
}

} // namespace karvo::platform
