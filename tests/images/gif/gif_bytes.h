#pragma once
// Builds GIF files byte by byte for the reader's tests, block by block as the format lays them out.
#include <cstdint>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace dorvanel::gif::testing {

inline void PutWord(std::string& out, int v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

// Codes packed low bit first, each with the width given beside it.
inline std::string PackCodes(const std::vector<std::pair<int, int>>& codes) {
    std::string out;
    std::uint64_t acc = 0;
    int bits = 0;
    for (auto [code, width] : codes) {
        acc |= static_cast<std::uint64_t>(code) << bits;
        bits += width;
        while (bits >= 8) {
            out.push_back(static_cast<char>(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0) out.push_back(static_cast<char>(acc & 0xFF));
    return out;
}

// Data cut into sub-blocks of at most 255 bytes, with the empty block that ends them.
inline std::string SubBlocks(const std::string& data, bool terminate = true) {
    std::string out;
    for (std::size_t at = 0; at < data.size(); at += 255) {
        std::size_t n = std::min<std::size_t>(255, data.size() - at);
        out.push_back(static_cast<char>(n));
        out += data.substr(at, n);
    }
    if (terminate) out.push_back('\0');
    return out;
}

// Image data in which every pixel is its own literal code. A clear code comes before the table could grow
// enough to widen the codes, so every code has the width minCodeSize + 1.
inline std::string LiteralImageData(const std::vector<std::uint8_t>& pixels, int minCodeSize) {
    const int clear = 1 << minCodeSize;
    const int width = minCodeSize + 1;
    const std::size_t perClear = static_cast<std::size_t>(clear - 2);
    std::vector<std::pair<int, int>> codes;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (i % perClear == 0) codes.emplace_back(clear, width);
        codes.emplace_back(pixels[i], width);
    }
    codes.emplace_back(clear + 1, width);
    return std::string(1, static_cast<char>(minCodeSize)) + SubBlocks(PackCodes(codes));
}

class GifBuilder {
public:
    // Signature, logical screen descriptor and, when globalBits > 0, a global table of 2^globalBits colours
    // (entry i is (i, 2i, 255 - i) unless colours are given).
    GifBuilder& Header(int width, int height, int globalBits, int background = 0, const std::string& sig = "GIF89a",
                       std::vector<std::uint8_t> colours = {}) {
        bytes += sig;
        PutWord(bytes, width);
        PutWord(bytes, height);
        bytes.push_back(static_cast<char>(globalBits > 0 ? 0x80 | 0x70 | (globalBits - 1) : 0x70));
        bytes.push_back(static_cast<char>(background));
        bytes.push_back('\0');
        if (globalBits > 0) Table(globalBits, colours);
        return *this;
    }
    GifBuilder& GraphicControl(int disposal, int delay, int transparentIndex = -1) {
        bytes += "\x21\xF9\x04";
        bytes.push_back(static_cast<char>((disposal << 2) | (transparentIndex >= 0 ? 1 : 0)));
        PutWord(bytes, delay);
        bytes.push_back(static_cast<char>(transparentIndex >= 0 ? transparentIndex : 0));
        bytes.push_back('\0');
        return *this;
    }
    GifBuilder& Comment(const std::string& text) {
        bytes += "\x21\xFE";
        bytes += SubBlocks(text);
        return *this;
    }
    GifBuilder& Application(const std::string& id11, const std::string& data) {
        bytes += "\x21\xFF\x0B";
        bytes += id11;
        bytes += SubBlocks(data);
        return *this;
    }
    GifBuilder& Loop(int count, const std::string& id11 = "NETSCAPE2.0") {
        std::string data = "\x01";
        PutWord(data, count);
        return Application(id11, data);
    }
    GifBuilder& PlainText(const std::string& text) {
        bytes += "\x21\x01\x0C";
        bytes += std::string(12, '\0');
        bytes += SubBlocks(text);
        return *this;
    }
    // An image descriptor, its local table when localBits > 0, and its data (see LiteralImageData).
    GifBuilder& Image(int left, int top, int width, int height, const std::string& data, int localBits = 0,
                      bool interlaced = false, std::vector<std::uint8_t> colours = {}) {
        bytes.push_back(',');
        PutWord(bytes, left);
        PutWord(bytes, top);
        PutWord(bytes, width);
        PutWord(bytes, height);
        bytes.push_back(static_cast<char>((localBits > 0 ? 0x80 | (localBits - 1) : 0) | (interlaced ? 0x40 : 0)));
        if (localBits > 0) Table(localBits, colours);
        bytes += data;
        return *this;
    }
    GifBuilder& Trailer() {
        bytes.push_back(';');
        return *this;
    }
    GifBuilder& Raw(const std::string& raw) {
        bytes += raw;
        return *this;
    }

    std::string bytes;

private:
    void Table(int bits, const std::vector<std::uint8_t>& colours) {
        for (int i = 0; i < (1 << bits); ++i) {
            if (static_cast<std::size_t>(3 * i + 2) < colours.size()) {
                for (int k = 0; k < 3; ++k) bytes.push_back(static_cast<char>(colours[3 * i + k]));
            } else {
                bytes.push_back(static_cast<char>(i));
                bytes.push_back(static_cast<char>(2 * i));
                bytes.push_back(static_cast<char>(255 - i));
            }
        }
    }
};

}  // namespace dorvanel::gif::testing
