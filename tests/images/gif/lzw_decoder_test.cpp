// The LZW decoder on hand-packed code streams: string codes, the code being defined, widening, clear codes,
// interlacing, and the decisions on damaged data.
#include <gtest/gtest.h>

#include "images/gif/gif_bytes.h"
#include "images/gif/lzw_decoder.h"

namespace dorvanel::gif {
namespace {

using testing::PackCodes;
using testing::SubBlocks;

std::string Stored(int minCodeSize, const std::string& packed) {
    return std::string(1, static_cast<char>(minCodeSize)) + SubBlocks(packed);
}

using Pixels = TIndexPixels;

TEST(LzwDecoder, StringCodesAndTheCodeBeingDefined) {
    // Minimum code size 2: clear 4, end 5, first free code 6; codes start 3 bits wide.
    // 1; 1 (defines 6 = "1 1"); 6 -> "1 1" (defines 7 = "1 1", and the table reaching 8 widens codes to 4
    // bits); 8 -> not in the table when read: it is the code being defined, "1 1" plus its own first pixel;
    // 2 (defines 9 = "1 1 1 2"); 9.
    std::string packed = PackCodes({{4, 3}, {1, 3}, {1, 3}, {6, 3}, {8, 4}, {2, 4}, {9, 4}, {5, 4}});
    TLZWResult r = DecodeLZW(Stored(2, packed), 12, 1, 2, false);
    EXPECT_FALSE(r.Corrupted);
    EXPECT_EQ(r.Pixels, (Pixels{1, 1, 1, 1, 1, 1, 1, 2, 1, 1, 1, 2}));
}

TEST(LzwDecoder, ClearCodeResetsTableAndWidth) {
    std::string packed = PackCodes({{4, 3}, {3, 3}, {3, 3}, {6, 3}, {2, 4}, {4, 4}, {1, 3}, {5, 3}});
    TLZWResult r = DecodeLZW(Stored(2, packed), 6, 1, 2, false);
    EXPECT_FALSE(r.Corrupted);
    EXPECT_EQ(r.Pixels, (Pixels{3, 3, 3, 3, 2, 1}));
}

TEST(LzwDecoder, StopsWhenEveryPixelIsFilledAndClipsTheLastString) {
    std::string packed = PackCodes({{4, 3}, {2, 3}, {2, 3}, {6, 3}, {6, 4}});
    TLZWResult r = DecodeLZW(Stored(2, packed), 5, 1, 2, false);
    EXPECT_FALSE(r.Corrupted);
    EXPECT_EQ(r.Pixels, (Pixels{2, 2, 2, 2, 2}));
}

TEST(LzwDecoder, CodeNotYetInTheTableMarksTheFrameCorrupted) {
    // 7 is one past the next free code (6).
    std::string packed = PackCodes({{4, 3}, {1, 3}, {7, 3}, {1, 3}});
    TLZWResult r = DecodeLZW(Stored(2, packed), 4, 1, 2, false);
    EXPECT_TRUE(r.Corrupted);
    EXPECT_EQ(r.Pixels, (Pixels{1, 0, 0, 0}));
}

TEST(LzwDecoder, StringCodeRightAfterAClearIsCorrupt) {
    std::string packed = PackCodes({{4, 3}, {6, 3}});
    TLZWResult r = DecodeLZW(Stored(2, packed), 3, 1, 2, false);
    EXPECT_TRUE(r.Corrupted);
    EXPECT_EQ(r.Pixels, (Pixels{0, 0, 0}));
}

TEST(LzwDecoder, DataRunningOutLeavesIndexZero) {
    std::string packed = PackCodes({{4, 3}, {3, 3}, {2, 3}});
    TLZWResult r = DecodeLZW(Stored(2, packed), 3, 2, 2, false);
    EXPECT_FALSE(r.Corrupted);  // running out is not itself damage; the reader marks a cut file
    EXPECT_EQ(r.Pixels, (Pixels{3, 2, 0, 0, 0, 0}));
    EXPECT_TRUE(DecodeLZW("", 2, 2, 2, false).Corrupted);
    EXPECT_EQ(DecodeLZW("", 2, 2, 2, false).Pixels, (Pixels{0, 0, 0, 0}));
}

TEST(LzwDecoder, MinimumCodeSizeOutOfRangeIsBroughtInAndMarked) {
    // Size 1 is read as 2 (clear 4, end 5).
    std::string packed = PackCodes({{4, 3}, {1, 3}, {0, 3}, {5, 3}});
    TLZWResult r = DecodeLZW(Stored(1, packed), 2, 1, 1, false);
    EXPECT_TRUE(r.Corrupted);
    EXPECT_EQ(r.Pixels, (Pixels{1, 0}));
    // Size 12 is read as 9: codes 10 bits wide, clear 512.
    std::string wide = PackCodes({{512, 10}, {200, 10}, {513, 10}});
    TLZWResult w = DecodeLZW(Stored(12, wide), 1, 1, 8, false);
    EXPECT_TRUE(w.Corrupted);
    EXPECT_EQ(w.Pixels, (Pixels{200}));
}

TEST(LzwDecoder, PixelsAreMaskedToTheFrameDepth) {
    // A 1-bit frame with codes of a 2-bit alphabet: 3 shows as 1, 2 as 0.
    std::string packed = PackCodes({{4, 3}, {3, 3}, {2, 3}, {5, 3}});
    TLZWResult r = DecodeLZW(Stored(2, packed), 2, 1, 1, false);
    EXPECT_EQ(r.Pixels, (Pixels{1, 0}));
}

TEST(LzwDecoder, InterlacedRowsGoBackInPlace) {
    // Ten rows of one pixel each, row r holding the value of its place in the interlaced stream.
    // Interlace order for 10 rows: 0, 8, 4, 2, 6, 1, 3, 5, 7, 9.
    std::vector<std::uint8_t> stream = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::string stored = testing::LiteralImageData(stream, 4);
    TLZWResult r = DecodeLZW(stored, 1, 10, 4, true);
    EXPECT_EQ(r.Pixels, (Pixels{0, 5, 3, 6, 2, 7, 4, 8, 1, 9}));
}

TEST(LzwDecoder, InterlacedFrameCutShortKeepsIndexZeroInRowsNotReached) {
    // Three rows of ten arrive (picture rows 0, 8 and 4), then the end code.
    std::string stored = testing::LiteralImageData({7, 8, 9}, 4);
    TLZWResult r = DecodeLZW(stored, 1, 10, 4, true);
    EXPECT_EQ(r.Pixels, (Pixels{7, 0, 0, 0, 9, 0, 0, 0, 8, 0}));
}

TEST(LzwDecoder, WidensToTwelveBitsAndStopsAddingWhenTheTableIsFull) {
    // Minimum code size 8: clear 256, end 257. One literal then the code being defined, again and again,
    // builds runs of growing length. The widths follow the table: 9 bits until code 511 is defined,
    // 10 until 1023, 11 until 2047, 12 after. Past 4095 nothing is added, and codes stay 12 bits wide.
    std::vector<std::pair<int, int>> codes{{256, 9}, {7, 9}};
    int next = 258;
    int width = 9;
    std::size_t expected = 1;
    int previousLength = 1;
    while (next < 4096) {
        codes.emplace_back(next, width);
        previousLength += 1;
        expected += previousLength;
        ++next;
        if (next == (1 << width) && width < 12) ++width;
    }
    // The table is full: code 4095 (the longest run) still decodes, then the end code, 12 bits wide.
    codes.emplace_back(4095, 12);
    expected += previousLength;
    codes.emplace_back(257, 12);
    const std::string packed = PackCodes(codes);
    TLZWResult r = DecodeLZW(Stored(8, packed), static_cast<int>(expected) + 3, 1, 8, false);
    EXPECT_FALSE(r.Corrupted);
    ASSERT_EQ(r.Pixels.size(), expected + 3);
    for (std::size_t i = 0; i < expected; ++i) ASSERT_EQ(r.Pixels[i], 7) << i;
    // Nothing of the eight-byte copies is left past the last string.
    EXPECT_EQ(r.Pixels[expected], 0);
}

}  // namespace
}  // namespace dorvanel::gif
