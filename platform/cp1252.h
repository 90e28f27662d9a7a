// The Windows-1252 code page, the text encoding Windows programs write by default: conversion to and from the
// UTF-8 used in memory, and the UTF-8 validity test that decides which of the two a foreign text is in.
#pragma once

#include <string>
#include <string_view>

namespace karvo::platform {

// Every byte becomes its character; the five bytes 1252 leaves undefined (0x81 0x8D 0x8F 0x90 0x9D) map to the
// C1 controls of the same number, so nothing is lost.
std::string decode_cp1252_to_utf8(std::string_view text);

// A character the code page lacks (and any byte that is not valid UTF-8) becomes '?'.
std::string encode_utf8_to_cp1252(std::string_view text);

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool is_valid_utf8(std::string_view text);

} // namespace karvo::platform
