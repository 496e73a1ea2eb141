// Composing frames: fill and transparent colour, disposal methods, start frames, clipping, and the cache
// giving the same picture as composing afresh.
#include <gtest/gtest.h>

#include "images/gif/frame_composer.h"
#include "images/gif/gif_bytes.h"
#include "images/gif/gif_image.h"

namespace dorvanel::gif {
namespace {

using testing::GifBuilder;
using testing::LiteralImageData;

// Global table: 0 white, 1 red, 2 green, 3 blue.
const std::vector<std::uint8_t> kColours = {255, 255, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255};
constexpr std::uint32_t W = 0xFFFFFFFF, R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF;
constexpr TRGB kWindow{10, 20, 30};
constexpr std::uint32_t Win = 0xFF0A141E;

std::string Solid(int count, std::uint8_t index) {
    return LiteralImageData(std::vector<std::uint8_t>(static_cast<std::size_t>(count), index), 2);
}

TGIFImage Load(const GifBuilder& b) {
    TGIFImage image;
    image.LoadFromBytes(b.bytes);
    return image;
}

std::vector<std::uint32_t> Fresh(TGIFImage& image, int n) {
    TFrameComposer composer(kWindow);
    return composer.ComposeFrameBitmap(image, n).Pixels;
}

// Every frame composed afresh must equal the same frame reached step by step, on every round of the loop.
void ExpectCacheAgrees(TGIFImage& image) {
    TFrameComposer stepping(kWindow);
    for (int round = 0; round < 2; ++round) {
        for (int n = 0; n < image.FrameCount(); ++n) {
            EXPECT_EQ(stepping.ComposeFrameBitmap(image, n).Pixels, Fresh(image, n)) << "frame " << n;
        }
    }
}

TEST(FrameComposer, OpaquePictureFillsWithTheWindowColour) {
    GifBuilder b;
    b.Header(4, 2, 2, 3, "GIF89a", kColours).Image(1, 0, 2, 1, Solid(2, 1)).Trailer();
    TGIFImage image = Load(b);
    TFrameComposer composer(kWindow);
    const TComposedBitmap& bmp = composer.ComposeFrameBitmap(image, 0);
    EXPECT_EQ(bmp.Width, 4);
    EXPECT_EQ(bmp.Pixels, (std::vector<std::uint32_t>{Win, R, R, Win, Win, Win, Win, Win}));
    EXPECT_FALSE(composer.TransparentColor());
}

TEST(FrameComposer, FirstFrameTransparentColourIsTheFillAndIsSeeThrough) {
    GifBuilder b;
    b.Header(4, 1, 2, 0, "GIF89a", kColours).GraphicControl(1, 10, 2);
    b.Image(0, 0, 4, 1, LiteralImageData({1, 2, 3, 2}, 2)).Trailer();
    TGIFImage image = Load(b);
    TFrameComposer composer(kWindow);
    const TComposedBitmap& bmp = composer.ComposeFrameBitmap(image, 0);
    EXPECT_EQ(bmp.Pixels, (std::vector<std::uint32_t>{R, 0x0000FF00, B, 0x0000FF00}));
    EXPECT_EQ(composer.TransparentColor(), (TRGB{0, 255, 0}));
    // With the picture's Transparent switched off the fill colour is painted.
    image.SetTransparent(false);
    EXPECT_EQ(Fresh(image, 0), (std::vector<std::uint32_t>{R, G, B, G}));
}

TEST(FrameComposer, OpaquePixelOfTheTransparentColourStillShows) {
    // Entries 1 and 2 are both red; only index 2 is transparent.
    std::vector<std::uint8_t> colours = {0, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 255};
    GifBuilder b;
    b.Header(3, 1, 2, 0, "GIF89a", colours).GraphicControl(1, 10, 2);
    b.Image(0, 0, 3, 1, LiteralImageData({1, 2, 3}, 2)).Trailer();
    TGIFImage image = Load(b);
    EXPECT_EQ(Fresh(image, 0), (std::vector<std::uint32_t>{R, 0x00FF0000, B}));
}

TEST(FrameComposer, BackgroundColourFillsATransparentPictureWhoseFirstFrameIsOpaque) {
    GifBuilder b;
    b.Header(4, 1, 2, 3, "GIF89a", kColours).GraphicControl(1, 10);
    b.Image(0, 0, 2, 1, Solid(2, 1));
    b.GraphicControl(1, 10, 0).Image(2, 0, 1, 1, Solid(1, 0)).Trailer();
    TGIFImage image = Load(b);
    EXPECT_EQ(Fresh(image, 0), (std::vector<std::uint32_t>{R, R, B, B}));
    EXPECT_EQ(Fresh(image, 1), (std::vector<std::uint32_t>{R, R, B, B}));
}

TEST(FrameComposer, DisposalTwoClearsItsRectangleDisposalThreeLeavesNoTrace) {
    GifBuilder b;
    b.Header(4, 1, 2, 0, "GIF89a", kColours);
    b.GraphicControl(1, 10).Image(0, 0, 4, 1, Solid(4, 1));  // red everywhere
    b.GraphicControl(2, 10).Image(0, 0, 2, 1, Solid(2, 2));  // green left, then cleared
    b.GraphicControl(3, 10).Image(2, 0, 2, 1, Solid(2, 3));  // blue right, then restored
    b.GraphicControl(1, 10).Image(3, 0, 1, 1, Solid(1, 0));  // white at the end
    b.Trailer();
    TGIFImage image = Load(b);
    EXPECT_EQ(Fresh(image, 1), (std::vector<std::uint32_t>{G, G, R, R}));
    EXPECT_EQ(Fresh(image, 2), (std::vector<std::uint32_t>{Win, Win, B, B}));
    EXPECT_EQ(Fresh(image, 3), (std::vector<std::uint32_t>{Win, Win, R, W}));
    ExpectCacheAgrees(image);
}

TEST(FrameComposer, DisposalTwoWithATransparentFirstFrameShowsWhatIsBehind) {
    GifBuilder b;
    b.Header(2, 1, 2, 0, "GIF89a", kColours);
    b.GraphicControl(2, 10, 0).Image(0, 0, 2, 1, LiteralImageData({1, 0}, 2));
    b.GraphicControl(1, 10, 0).Image(1, 0, 1, 1, Solid(1, 3)).Trailer();
    TGIFImage image = Load(b);
    EXPECT_EQ(Fresh(image, 1), (std::vector<std::uint32_t>{0x00FFFFFF, B}));
}

TEST(FrameComposer, CoveringFrameStartsAfreshUnlessItRestores) {
    GifBuilder b;
    b.Header(2, 1, 2, 0, "GIF89a", kColours);
    b.GraphicControl(1, 10).Image(0, 0, 2, 1, Solid(2, 1));  // red
    b.GraphicControl(3, 10).Image(0, 0, 2, 1, Solid(2, 2));  // green, then restored to red
    b.GraphicControl(1, 10, 0).Image(1, 0, 1, 1, Solid(1, 3)).Trailer();
    TGIFImage image = Load(b);
    EXPECT_EQ(Fresh(image, 2), (std::vector<std::uint32_t>{R, B}));
    ExpectCacheAgrees(image);
}

TEST(FrameComposer, CoveringFrameWithTransparentPixelsShowsWhatLiesBeneath) {
    // Frame 2 covers the screen but its right pixel is see-through: composed afresh, from a jump or after a
    // reset, that pixel shows what frames 0 and 1 left there, as it does when the frames are stepped through.
    GifBuilder b;
    b.Header(2, 1, 2, 0, "GIF89a", kColours);
    b.GraphicControl(1, 10).Image(0, 0, 2, 1, Solid(2, 1));                        // red
    b.GraphicControl(1, 10).Image(1, 0, 1, 1, Solid(1, 2));                        // green right
    b.GraphicControl(1, 10, 0).Image(0, 0, 2, 1, LiteralImageData({3, 0}, 2));  // blue left, right see-through
    b.Trailer();
    TGIFImage image = Load(b);
    const std::vector<std::uint32_t> expected{B, G};
    EXPECT_EQ(Fresh(image, 2), expected);
    TFrameComposer composer(kWindow);
    composer.ComposeFrameBitmap(image, 0);
    EXPECT_EQ(composer.ComposeFrameBitmap(image, 2).Pixels, expected);  // a jump over frame 1
    composer.Reset();
    EXPECT_EQ(composer.ComposeFrameBitmap(image, 2).Pixels, expected);
    ExpectCacheAgrees(image);
}

TEST(FrameComposer, AnotherWindowColourReachesAFrameAlreadyComposed) {
    GifBuilder b;
    b.Header(2, 1, 2, 3, "GIF89a", kColours).Image(1, 0, 1, 1, Solid(1, 1)).Trailer();
    TGIFImage image = Load(b);
    TFrameComposer composer(kWindow);
    EXPECT_EQ(composer.ComposeFrameBitmap(image, 0).Pixels, (std::vector<std::uint32_t>{Win, R}));
    composer.SetWindowColor(TRGB{0, 0, 255});
    EXPECT_EQ(composer.ComposeFrameBitmap(image, 0).Pixels, (std::vector<std::uint32_t>{B, R}));
    EXPECT_EQ(composer.FillPixel(), B);
}

TEST(FrameComposer, UndefinedDisposalsKeepTheFrame) {
    GifBuilder b;
    b.Header(2, 1, 2, 0, "GIF89a", kColours);
    b.GraphicControl(5, 10).Image(0, 0, 1, 1, Solid(1, 1));
    b.GraphicControl(7, 10).Image(1, 0, 1, 1, Solid(1, 2));
    b.GraphicControl(1, 10).Image(1, 0, 1, 1, Solid(1, 3)).Trailer();
    TGIFImage image = Load(b);
    EXPECT_EQ(Fresh(image, 2), (std::vector<std::uint32_t>{R, B}));
    ExpectCacheAgrees(image);
}

TEST(FrameComposer, FramesReachingPastTheScreenAreClipped) {
    GifBuilder b;
    b.Header(3, 2, 2, 0, "GIF89a", kColours);
    b.GraphicControl(2, 10).Image(2, 1, 4, 4, Solid(16, 1));
    b.GraphicControl(1, 10).Image(60000, 60000, 2, 2, Solid(4, 2));
    b.GraphicControl(1, 10).Image(1, 0, 3, 1, Solid(3, 3)).Trailer();
    TGIFImage image = Load(b);
    EXPECT_EQ(Fresh(image, 0), (std::vector<std::uint32_t>{Win, Win, Win, Win, Win, R}));
    EXPECT_EQ(Fresh(image, 1), (std::vector<std::uint32_t>{Win, Win, Win, Win, Win, Win}));
    EXPECT_EQ(Fresh(image, 2), (std::vector<std::uint32_t>{Win, B, B, Win, Win, Win}));
    ExpectCacheAgrees(image);
}

TEST(FrameComposer, IndexIsHeldWithinTheFrames) {
    GifBuilder b;
    b.Header(1, 1, 2, 0, "GIF89a", kColours);
    b.Image(0, 0, 1, 1, Solid(1, 1)).Image(0, 0, 1, 1, Solid(1, 2)).Trailer();
    TGIFImage image = Load(b);
    TFrameComposer composer(kWindow);
    EXPECT_EQ(composer.ComposeFrameBitmap(image, 7).Pixels, (std::vector<std::uint32_t>{G}));
    EXPECT_EQ(composer.CachedIndex(), 1);
    EXPECT_EQ(composer.ComposeFrameBitmap(image, -3).Pixels, (std::vector<std::uint32_t>{R}));
}

// Runs of disposal-3 frames, overlapping, clipped, transparent, and one that covers the screen: each is undone
// from what it covered, giving the same pictures as composing afresh.
TEST(FrameComposer, DisposalThreeRunsPutBackWhatTheyCovered) {
    GifBuilder b;
    b.Header(4, 2, 2, 0, "GIF89a", kColours);
    b.GraphicControl(1, 10).Image(0, 0, 4, 2, Solid(8, 1));  // red
    b.GraphicControl(3, 10).Image(1, 0, 2, 2, Solid(4, 2));  // green
    b.GraphicControl(3, 10, 0).Image(2, 1, 4, 4, LiteralImageData(std::vector<std::uint8_t>(16, 3), 2));
    b.GraphicControl(1, 10).Image(0, 1, 1, 1, Solid(1, 0));                     // white stays
    b.GraphicControl(3, 10).Image(0, 0, 4, 2, Solid(8, 3));                     // blue over all
    b.GraphicControl(3, 10, 2).Image(0, 0, 2, 1, LiteralImageData({2, 3}, 2));  // half see-through
    b.GraphicControl(1, 10).Image(3, 0, 1, 1, Solid(1, 2));
    b.Trailer();
    TGIFImage image = Load(b);
    EXPECT_EQ(Fresh(image, 1), (std::vector<std::uint32_t>{R, G, G, R, R, G, G, R}));
    EXPECT_EQ(Fresh(image, 2), (std::vector<std::uint32_t>{R, R, R, R, R, R, B, B}));
    EXPECT_EQ(Fresh(image, 4), (std::vector<std::uint32_t>{B, B, B, B, B, B, B, B}));
    EXPECT_EQ(Fresh(image, 5), (std::vector<std::uint32_t>{R, B, R, R, W, R, R, R}));
    EXPECT_EQ(Fresh(image, 6), (std::vector<std::uint32_t>{R, R, R, G, W, R, R, R}));
    ExpectCacheAgrees(image);
}

// Jumping straight to a disposal-3 frame and then stepping on restores from what that jump drew.
TEST(FrameComposer, StepAfterAJumpToADisposalThreeFrame) {
    GifBuilder b;
    b.Header(3, 1, 2, 0, "GIF89a", kColours);
    b.GraphicControl(1, 10).Image(0, 0, 3, 1, Solid(3, 1));
    for (int i = 0; i < 3; ++i) b.GraphicControl(3, 10).Image(i, 0, 1, 1, Solid(1, 2 + i % 2));
    b.Trailer();
    TGIFImage image = Load(b);
    TFrameComposer composer(kWindow);
    composer.ComposeFrameBitmap(image, 2);
    EXPECT_EQ(composer.ComposeFrameBitmap(image, 3).Pixels, (std::vector<std::uint32_t>{R, R, G}));
    composer.ComposeFrameBitmap(image, 0);
    EXPECT_EQ(composer.ComposeFrameBitmap(image, 1).Pixels, (std::vector<std::uint32_t>{G, R, R}));
}

}  // namespace
}  // namespace dorvanel::gif
