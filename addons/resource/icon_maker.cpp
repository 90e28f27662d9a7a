// Build tool: draws the 16 x 16 icon of every media type (a coloured tile with a note and the extension) and writes
// them as PNG byte arrays into a C++ include file for the resource plug-in. Usage: icon_maker <output file>.
#include "addons/resource/media_types.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr int size = 16;
using bytes = std::vector<unsigned char>;

struct rgba {
    unsigned char r = 0, g = 0, b = 0, a = 0;
};
using picture = std::array<std::array<rgba, size>, size>;

// 3 x 5 pixel letters: five rows, three bits each (left pixel is the high bit).
struct glyph {
    char c;
    std::array<unsigned char, 5> rows;
};
constexpr std::array<glyph, 19> font = {{
    {'A', {2, 5, 7, 5, 5}}, {'C', {7, 4, 4, 4, 7}}, {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}},
    {'G', {7, 4, 5, 5, 7}}, {'I', {7, 2, 2, 2, 7}}, {'L', {4, 4, 4, 4, 7}}, {'M', {5, 7, 7, 5, 5}},
    {'O', {7, 5, 5, 5, 7}}, {'P', {6, 5, 6, 4, 4}}, {'S', {7, 4, 7, 1, 7}}, {'U', {5, 5, 5, 5, 7}},
    {'V', {5, 5, 5, 5, 2}}, {'W', {5, 5, 7, 7, 5}}, {'2', {6, 1, 2, 4, 7}}, {'3', {6, 1, 2, 1, 6}},
    {'4', {5, 5, 7, 1, 1}}, {'K', {5, 5, 6, 5, 5}}, {'R', {6, 5, 6, 5, 5}},
}};

const glyph* find_glyph(char c)
{
    for (const glyph& g : font)
        if (g.c == c)
            return &g;
    return nullptr;
}

picture draw_icon(const karvo::resource::media_type& type)
{
    const rgba tile{static_cast<unsigned char>(type.colour >> 16), static_cast<unsigned char>(type.colour >> 8),
                    static_cast<unsigned char>(type.colour), 255};
    const rgba ink{255, 255, 255, 255};
    picture p{};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool corner = (x == 0 || x == size - 1) && (y == 0 || y == size - 1);
            p[y][x] = corner ? rgba{} : tile;
        }
    // The note: stem, flag and an oval head.
    for (int y = 1; y <= 7; ++y)
        p[y][9] = ink;
    for (auto [x, y] : {std::pair{10, 1}, {11, 2}, {12, 3}, {12, 4}, {11, 5}})
        p[y][x] = ink;
    for (auto [x0, x1, y] : {std::tuple{7, 8, 6}, {6, 9, 7}, {6, 8, 8}})
        for (int x = x0; x <= x1; ++x)
            p[y][x] = ink;
    // The extension under it, centred.
    const std::string_view text = type.extension;
    const int width = static_cast<int>(text.size()) * 4 - 1;
    int left = (size - width) / 2;
    for (char c : text) {
        if (const glyph* g = find_glyph(c))
            for (int row = 0; row < 5; ++row)
                for (int col = 0; col < 3; ++col)
                    if (g->rows[row] & (4 >> col))
                        p[10 + row][left + col] = ink;
        left += 4;
    }
    return p;
}

std::uint32_t crc32(const unsigned char* data, std::size_t length, std::uint32_t crc = 0)
{
    crc = ~crc;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void put32(bytes& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

void put_chunk(bytes& out, const char* type, const bytes& data)
{
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc32(out.data() + start, out.size() - start));
}

// PNG with one stored (uncompressed) deflate block: small enough at 16 x 16 and needs no compression library.
bytes encode_png(const picture& p)
{
    bytes raw;
    for (const auto& row : p) {
        raw.push_back(0);  // filter: none
        for (const rgba& px : row)
            raw.insert(raw.end(), {px.r, px.g, px.b, px.a});
    }
    bytes zlib = {0x78, 0x01, 0x01};  // zlib header, final stored block
    const auto n = static_cast<std::uint16_t>(raw.size());
    zlib.insert(zlib.end(), {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                             static_cast<unsigned char>(~n), static_cast<unsigned char>(~n >> 8)});
    zlib.insert(zlib.end(), raw.begin(), raw.end());
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    put32(zlib, (b << 16) | a);

    bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    bytes header;
    put32(header, size);
    put32(header, size);
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits per channel, RGBA
    put_chunk(png, "IHDR", header);
    put_chunk(png, "IDAT", zlib);
    put_chunk(png, "IEND", {});
    return png;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output file>\n", argv[0]);
        return 2;
    }
    std::string text = "// Generated by icon_maker from media_types.h; do not edit.\n";
    std::string table = "static const struct { const unsigned char* bytes; int size; } generated_icons[] = {\n";
    int index = 0;
    for (const auto& type : karvo::resource::media_types) {
        const bytes png = encode_png(draw_icon(type));
        const std::string name = "icon_" + std::to_string(index++);
        text += "static const unsigned char " + name + "[] = {";
        for (std::size_t i = 0; i < png.size(); ++i)
            text += (i % 24 == 0 ? "\n    " : "") + std::to_string(png[i]) + ",";
        text += "\n};\n";
        table += "    {" + name + ", static_cast<int>(sizeof " + name + ")},\n";
    }
    text += table + "};\n";
    // Written beside the target and renamed, so an interrupted build never leaves half a file.
    const std::string temporary = std::string(argv[1]) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush())
            return 1;
    }
    std::error_code error;
    std::filesystem::rename(temporary, argv[1], error);
    return error ? 1 : 0;
}
