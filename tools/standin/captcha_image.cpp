#include "standin/captcha_image.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace dorvanel::standin {

namespace {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
using Glyph = std::array<std::uint8_t, kGlyphHeight>;  // one row per byte, bit 4 is the leftmost dot

constexpr std::array<Glyph, 26> kLetters = {{
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E},
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E},
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10},
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}, {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},
    {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C},
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}, {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F},
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}, {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11},
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10},
    {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}, {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11},
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}, {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04},
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}, {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11},
    {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F},
}};
constexpr std::array<Glyph, 10> kDigits = {{
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E},
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F},
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02},
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E},
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E},
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
}};
constexpr Glyph kBox = {0x1F, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1F};

const Glyph& glyphFor(char c) {
    if (c >= 'a' && c <= 'z') return kLetters[static_cast<size_t>(c - 'a')];
    if (c >= 'A' && c <= 'Z') return kLetters[static_cast<size_t>(c - 'A')];
    if (c >= '0' && c <= '9') return kDigits[static_cast<size_t>(c - '0')];
    return kBox;
}

void putBig32(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v >> 24);
    out += static_cast<char>(v >> 16);
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v);
}

void putChunk(std::string& out, const char type[4], const std::string& data) {
    putBig32(out, static_cast<std::uint32_t>(data.size()));
    std::string body(type, 4);
    body += data;
    out += body;
    putBig32(out, static_cast<std::uint32_t>(
                      crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

}  // namespace

std::string CaptchaPng(std::string_view text, int scale) {
    scale = std::clamp(scale, 1, 16);
    const int margin = 2 * scale;
    const int cell = (kGlyphWidth + 2) * scale;
    const int width = std::max<int>(1, static_cast<int>(text.size())) * cell + 2 * margin;
    const int height = kGlyphHeight * scale + 2 * margin;

    // Greyscale, light background; each character dark and shifted up or down a little, with light speckles.
    std::vector<std::uint8_t> pixels(static_cast<size_t>(width) * height, 0xF0);
    std::uint32_t noise = 0x2545F491u ^ static_cast<std::uint32_t>(text.size());
    for (auto& p : pixels) {
        noise = noise * 1664525u + 1013904223u;
        if ((noise >> 24) < 24) p = 0xC8;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const Glyph& g = glyphFor(text[i]);
        const int left = margin + static_cast<int>(i) * cell + scale / 2;
        const int top = margin + ((i % 2 == 0) ? -scale / 2 : scale / 2);
        for (int row = 0; row < kGlyphHeight; ++row) {
            for (int col = 0; col < kGlyphWidth; ++col) {
                if (!(g[static_cast<size_t>(row)] & (0x10 >> col))) continue;
                for (int dy = 0; dy < scale; ++dy) {
                    for (int dx = 0; dx < scale; ++dx) {
                        const int x = left + col * scale + dx;
                        const int y = top + row * scale + dy;
                        if (x >= 0 && x < width && y >= 0 && y < height)
                            pixels[static_cast<size_t>(y) * width + x] = 0x30;
                    }
                }
            }
        }
    }

    std::string raw;  // each row: filter type 0, then the row's bytes
    raw.reserve(static_cast<size_t>(width + 1) * height);
    for (int y = 0; y < height; ++y) {
        raw += '\0';
        raw.append(reinterpret_cast<const char*>(&pixels[static_cast<size_t>(y) * width]), static_cast<size_t>(width));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), 9);
    packed.resize(packedSize);

    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    putBig32(header, static_cast<std::uint32_t>(width));
    putBig32(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x00\x00\x00\x00", 5);  // 8-bit greyscale, deflate, no filter, no interlace
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", packed);
    putChunk(png, "IEND", "");
    return png;
}

}  // namespace dorvanel::standin
