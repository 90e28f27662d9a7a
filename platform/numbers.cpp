// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/numbers.h"

#include <limits>

namespace karvo::platform {

namespace {

unsigned digit_value(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned>(c - 'A' + 10);
    return 99;
}

} // namespace

integer_scan scan_integer(std::string_view text, bool base_prefixes) {
    integer_scan scan;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        scan.negative = text[i++] == '-';
    unsigned base = 10;
    if (base_prefixes && i + 1 < text.size() && text[i] == '0') {
        const char mark = text[i + 1];
        base = mark == 'x' ? 16 : mark == 'o' ? 8 : mark == 'b' ? 2 : 10;
        if (base != 10)
            i += 2;
    }
    constexpr std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
    for (; i < text.size(); ++i) {
        const unsigned digit = digit_value(text[i]);
        if (digit >= base)
            break;
        if (scan.magnitude > (most - digit) / base)
            scan.overflow = true; // keeps wrapping: callers that read modulo 2^32 still get their value
        scan.magnitude = scan.magnitude * base + digit;
        scan.has_digits = true;
    }
    return scan;
}

long long to_integer(std::string_view text, long long fallback) {
    const integer_scan scan = scan_integer(text);
    constexpr auto most = static_cast<std::uint64_t>(std::numeric_limits<long long>::max());
    if (!scan.has_digits || scan.overflow || scan.magnitude > most + (scan.negative ? 1 : 0))
        return fallback; // no number, or too large to be one the program can hold
    return scan.negative ? static_cast<long long>(0ULL - scan.magnitude) : static_cast<long long>(scan.magnitude);
}

} // namespace karvo::platform
