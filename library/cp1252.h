// Windows-1252, the code page of ID3v1 text on disk, to and from the program's UTF-8. The five bytes the code page
// leaves undefined map to the C1 controls of the same value, so every byte reads back as it was written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace karvo {

// Every byte becomes one character.
std::string cp1252_to_utf8(std::string_view bytes);

// At most `max_bytes` bytes, one per character; a character the code page lacks, and each byte that is not valid
// UTF-8, becomes '?'. Stops before the first character that does not fit, so nothing is cut in half.
std::string utf8_to_cp1252(std::string_view text, std::size_t max_bytes = std::string::npos);

// How many characters of `text` fit in `max_bytes` encoded bytes, and how many UTF-8 bytes they take: what a text
// field limited to that width may keep.
std::size_t utf8_prefix_fitting_cp1252(std::string_view text, std::size_t max_bytes);

} // namespace karvo
