// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/cp1252.h"

#include <gtest/gtest.h>

namespace karvo::platform {
namespace {

TEST(cp1252, converts_both_ways_and_marks_what_the_page_lacks) {
    struct {
        const char* name;
        std::string cp1252;
        std::string utf8;
    } both_ways[] = {
        {"ascii", "Song 1.mp3", "Song 1.mp3"},
        {"latin-1 range", "Caf\xE9 \xFF", "Caf\xC3\xA9 \xC3\xBF"},
        {"the page's own 0x80-0x9F", "\x80\x8A\x99\x9F", "\xE2\x82\xAC\xC5\xA0\xE2\x84\xA2\xC5\xB8"},
        {"undefined bytes keep their C1 control", "\x81\x9D", "\xC2\x81\xC2\x9D"},
    };
    for (const auto& c : both_ways) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decode_cp1252_to_utf8(c.cp1252), c.utf8);
        EXPECT_EQ(encode_utf8_to_cp1252(c.utf8), c.cp1252);
    }
    // Not in the page, and bytes that are no UTF-8.
    EXPECT_EQ(encode_utf8_to_cp1252("\xE6\x97\xA5 \xF0\x9F\x8E\xB5 \xE9"), "? ? ?");
}

TEST(cp1252, utf8_validity_rejects_what_decoders_must_not_accept) {
    struct {
        const char* name;
        std::string text;
        bool valid;
    } cases[] = {
        {"empty", "", true},
        {"two, three and four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5", true},
        {"latin-1 byte", "Caf\xE9", false},
        {"overlong slash", "\xC0\xAF", false},
        {"overlong three bytes", "\xE0\x80\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"cut short", "\xE2\x82", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(is_valid_utf8(c.text), c.valid);
    }
}

} // namespace
} // namespace karvo::platform
