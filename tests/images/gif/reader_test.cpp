// Reading GIF streams: accepted blocks, their messages, delays, loop extension, comments, damaged and hostile
// files.
#include <gtest/gtest.h>

#include <sstream>

#include "images/gif/gif_errors.h"
#include "images/gif/gif_image.h"
#include "images/gif/gif_bytes.h"
#include "support/plain/temp_dir.h"

namespace dorvanel::gif {
namespace {

using testing::GifBuilder;
using testing::LiteralImageData;

// A 2 x 2 picture whose pixels are 0, 1, 2, 3.
std::string Pixels2x2() { return LiteralImageData({0, 1, 2, 3}, 2); }

std::string MessageOf(const std::string& bytes) {
    TGIFImage image;
    try {
        image.LoadFromBytes(bytes);
    } catch (const EInvalidGraphicOperation& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(GifReader, ReadsScreenTablesAndOneFrame) {
    GifBuilder b;
    b.Header(2, 2, 2, 3).Image(0, 0, 2, 2, Pixels2x2()).Trailer();
    TGIFImage image;
    int changes = 0;
    image.OnChange = [&] { ++changes; };
    image.LoadFromBytes(b.bytes);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(image.Version(), 2);
    EXPECT_EQ(image.Width(), 2);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(image.BitsPerPixel(), 2);
    EXPECT_EQ(image.ColorResolution(), 8);
    ASSERT_EQ(image.GlobalColorTable().size(), 4u);
    EXPECT_EQ(image.BackgroundColor(), (TRGB{3, 6, 252}));
    ASSERT_EQ(image.FrameCount(), 1);
    EXPECT_EQ(image.CurrentFrameIndex(), 0);
    TGIFFrame& f = image.Frames()[0];
    EXPECT_TRUE(f.IsDecoded());  // the first frame is decoded while loading
    EXPECT_FALSE(f.HasLocalColorTable);
    EXPECT_EQ(f.BitsPerPixel, 2);
    EXPECT_FALSE(f.Corrupted);
    EXPECT_EQ(f.Bitmap().Pixels, (TIndexPixels{0, 1, 2, 3}));
    EXPECT_EQ(f.Bitmap().Depth, 4);
    ASSERT_EQ(f.Bitmap().Palette->size(), 16u);
    EXPECT_EQ((*f.Bitmap().Palette)[3], (TRGB{3, 6, 252}));
    EXPECT_EQ((*f.Bitmap().Palette)[4], kMidGrey);
    EXPECT_FALSE(image.IsTransparent());
}

TEST(GifReader, SignatureAndVersion) {
    GifBuilder ok87;
    ok87.Header(2, 2, 2, 0, "gif87A").Image(0, 0, 2, 2, Pixels2x2()).Trailer();
    TGIFImage image;
    image.LoadFromBytes(ok87.bytes);
    EXPECT_EQ(image.Version(), 1);

    GifBuilder v88;
    v88.Header(2, 2, 2, 0, "GIF88a").Image(0, 0, 2, 2, Pixels2x2()).Trailer();
    EXPECT_EQ(MessageOf(v88.bytes), "Неизвестная версия изображения GIF");
    GifBuilder png;
    png.Header(2, 2, 2, 0, "PNG89a");
    EXPECT_EQ(MessageOf(png.bytes), "Неизвестная версия изображения GIF");
    EXPECT_EQ(MessageOf("GIF"), "Stream read error");
}

TEST(GifReader, UnknownExtensionLabelIsNamedInHex) {
    GifBuilder b;
    b.Header(2, 2, 2).Raw(std::string("\x21\xAB\x01\x00\x00", 5)).Image(0, 0, 2, 2, Pixels2x2()).Trailer();
    EXPECT_EQ(MessageOf(b.bytes), "Неопределенное расширение GIF: ab");
    GifBuilder c;
    c.Header(2, 2, 2).Raw("\x21\x09");
    EXPECT_EQ(MessageOf(c.bytes), "Неопределенное расширение GIF: 09");
}

TEST(GifReader, FrameWithoutAnyColourTableIsABadColourCount) {
    GifBuilder b;
    b.Header(2, 2, 0).Image(0, 0, 2, 2, Pixels2x2()).Trailer();
    EXPECT_EQ(MessageOf(b.bytes), "Неверное число цветов; должно быть степенью числа 2");
    EXPECT_THROW(BitsForColorCount(0), EGIFBadColorCount);
    EXPECT_THROW(BitsForColorCount(3), EGIFBadColorCount);
    EXPECT_THROW(BitsForColorCount(512), EGIFBadColorCount);
    EXPECT_EQ(BitsForColorCount(2), 1);
    EXPECT_EQ(BitsForColorCount(256), 8);
    // With a local table the missing global one does not matter.
    GifBuilder local;
    local.Header(2, 2, 0).Image(0, 0, 2, 2, Pixels2x2(), 2).Trailer();
    EXPECT_EQ(MessageOf(local.bytes), "(no error)");
}

TEST(GifReader, StrayByteWhereABlockMustStart) {
    GifBuilder b;
    b.Header(2, 2, 2).Raw(std::string("\x00\x00X", 3)).Image(0, 0, 2, 2, Pixels2x2()).Trailer();
    EXPECT_EQ(MessageOf(b.bytes), "Stream read error");
    // Zero bytes between blocks are passed over.
    GifBuilder z;
    z.Header(2, 2, 2).Raw(std::string(3, '\0')).Image(0, 0, 2, 2, Pixels2x2()).Trailer();
    EXPECT_EQ(MessageOf(z.bytes), "(no error)");
}

TEST(GifReader, RubbishAfterAnImageEndsReadingQuietly) {
    GifBuilder b;
    b.Header(2, 2, 2).Image(0, 0, 2, 2, Pixels2x2()).Raw(std::string(2, '\0')).Raw("junk");
    TGIFImage image;
    image.LoadFromBytes(b.bytes);
    EXPECT_EQ(image.FrameCount(), 1);
}

TEST(GifReader, DelaysDisposalAndTransparency) {
    GifBuilder b;
    b.Header(2, 2, 2);
    for (int delay : {0, 4, 7, 2000}) b.GraphicControl(2, delay, 1).Image(0, 0, 2, 2, Pixels2x2());
    b.Trailer();
    TGIFImage image;
    image.LoadFromBytes(b.bytes);
    ASSERT_EQ(image.FrameCount(), 4);
    const int stored[] = {0, 40, 70, 20000};
    const int played[] = {50, 50, 70, 10000};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(image.Frames()[i].Delay, stored[i]);
        EXPECT_EQ(FrameDelay(image, i), played[i]);
        EXPECT_EQ(image.Frames()[i].Disposal, 2);
        EXPECT_EQ(image.Frames()[i].TransparentIndex, 1);
        EXPECT_EQ(image.Frames()[i].TransparentColor, (TRGB{1, 2, 254}));
    }
    EXPECT_EQ(FrameDelay(image, 4), 0);
    EXPECT_EQ(FrameDelay(image, -1), 0);
    EXPECT_TRUE(image.IsTransparent());
    image.SetTransparent(false);
    EXPECT_FALSE(image.IsTransparent());
}

TEST(GifReader, OneFrameHasNoDelay) {
    GifBuilder b;
    b.Header(2, 2, 2).GraphicControl(0, 30).Image(0, 0, 2, 2, Pixels2x2()).Trailer();
    TGIFImage image;
    image.LoadFromBytes(b.bytes);
    EXPECT_EQ(image.Frames()[0].Delay, 300);
    EXPECT_EQ(FrameDelay(image, 0), 0);
}

TEST(GifReader, SeveralGraphicControlsTakeTheLongestDelayAndTheLastSettings) {
    GifBuilder b;
    b.Header(2, 2, 2).GraphicControl(1, 30, 2).GraphicControl(3, 10, 9).Image(0, 0, 2, 2, Pixels2x2()).Trailer();
    TGIFImage image;
    image.LoadFromBytes(b.bytes);
    const TGIFFrame& f = image.Frames()[0];
    EXPECT_EQ(f.Delay, 300);
    EXPECT_EQ(f.Disposal, 3);
    // Index 9 lies beyond the 4-colour table and still names the transparent pixels.
    EXPECT_EQ(f.TransparentIndex, 9);
    EXPECT_EQ(f.TransparentColor, kMidGrey);
    EXPECT_EQ(f.Extensions.size(), 2u);
}

TEST(GifReader, PlainTextDropsWhatWasGatheredForTheNextImage) {
    GifBuilder b;
    b.Header(2, 2, 2).GraphicControl(2, 80, 1).Comment("gone").PlainText("Hello").Image(0, 0, 2, 2, Pixels2x2());
    b.Trailer();
    TGIFImage image;
    image.LoadFromBytes(b.bytes);
    const TGIFFrame& f = image.Frames()[0];
    EXPECT_EQ(f.Delay, 0);
    EXPECT_EQ(f.TransparentIndex, -1);
    EXPECT_TRUE(f.Extensions.empty());
}

TEST(GifReader, LoopExtension) {
    struct Case {
        std::string id;
        std::string data;
        bool looping;
        int repeat;
    };
    const Case cases[] = {
        {"NETSCAPE2.0", std::string("\x01\x03\x00", 3), true, 3},
        {"ANIMEXTS1.0", std::string("\x01\x00\x00", 3), true, 0},
        {"NETSCAPE2.0", std::string("\x01\x40\x9C", 3), true, 30000},  // 40000 asked
        {"NETSCAPE2.0", std::string("\x01\x03", 2), false, 0},         // too short
        {"NETSCAPE2.0", std::string("\x02\x03\x00", 3), false, 0},     // not the loop sub-block
        {"XMP DataXMP", std::string("\x01\x03\x00", 3), false, 0},
    };
    for (const Case& c : cases) {
        GifBuilder b;
        b.Header(2, 2, 2).Application(c.id, c.data).Image(0, 0, 2, 2, Pixels2x2()).Trailer();
        TGIFImage image;
        image.LoadFromBytes(b.bytes);
        EXPECT_EQ(image.Looping(), c.looping) << c.id;
        EXPECT_EQ(image.RepeatCount(), c.repeat) << c.id;
        EXPECT_TRUE(image.Frames()[0].Extensions.empty());  // application extensions are not kept
    }
}

TEST(GifReader, CommentsBeforeAFrameStayWithItThoseAfterTheLastGoToThePicture) {
    GifBuilder b;
    b.Header(2, 2, 2).Comment("first").Image(0, 0, 2, 2, Pixels2x2());
    b.Comment("made by\r\nhand").Comment("second block").Trailer();
    TGIFImage image;
    image.LoadFromBytes(b.bytes);
    ASSERT_EQ(image.Frames()[0].Extensions.size(), 1u);
    EXPECT_EQ(image.Frames()[0].Extensions[0].Kind, TExtensionKind::Comment);
    EXPECT_EQ(image.Frames()[0].Extensions[0].Data(), "first");
    EXPECT_EQ(image.Comment(), (std::vector<std::string>{"made by", "hand", "", "second block"}));
}

TEST(GifReader, ZeroSizeFrameTakesTheScreenSize) {
    GifBuilder b;
    b.Header(2, 2, 2).Image(0, 0, 0, 0, Pixels2x2()).Trailer();
    TGIFImage image;
    image.LoadFromBytes(b.bytes);
    EXPECT_EQ(image.Frames()[0].Width, 2);
    EXPECT_EQ(image.Frames()[0].Height, 2);
}

TEST(GifReader, FileCutInsideItsLastFrameLoadsWithIndexZeroForTheMissingPixels) {
    std::vector<std::uint8_t> pixels(64);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(1 + i % 3);
    const std::string whole = LiteralImageData(pixels, 2);
    GifBuilder b;
    b.Header(8, 8, 2).Image(0, 0, 8, 8, whole).Image(0, 0, 8, 8, whole);
    std::string cut = b.bytes.substr(0, b.bytes.size() - 12);
    TGIFImage image;
    image.LoadFromBytes(cut);
    ASSERT_EQ(image.FrameCount(), 2);
    TGIFFrame& last = image.Frames()[1];
    EXPECT_TRUE(last.Corrupted);
    const auto& px = last.Bitmap().Pixels;
    EXPECT_EQ(px[0], 1);
    EXPECT_EQ(px[63], 0);
    EXPECT_FALSE(image.Frames()[0].Corrupted);
    // Cut right after the descriptor, and inside the length byte's block.
    EXPECT_EQ(MessageOf(b.bytes.substr(0, b.bytes.size() - whole.size())), "(no error)");
    EXPECT_EQ(MessageOf(b.bytes.substr(0, b.bytes.size() - whole.size() + 2)), "(no error)");
}

TEST(GifReader, CutInsideAFixedPartIsAReadError) {
    GifBuilder b;
    b.Header(2, 2, 2).GraphicControl(0, 5);
    EXPECT_EQ(MessageOf(b.bytes.substr(0, b.bytes.size() - 2)), "Stream read error");
    EXPECT_EQ(MessageOf(b.bytes.substr(0, 10)), "Stream read error");
    GifBuilder d;
    d.Header(2, 2, 2).Raw(std::string(",\x00\x00", 3));
    EXPECT_EQ(MessageOf(d.bytes), "Stream read error");
}

TEST(GifReader, FailedLoadLeavesThePictureEmpty) {
    GifBuilder good;
    good.Header(2, 2, 2).Image(0, 0, 2, 2, Pixels2x2()).Trailer();
    TGIFImage image;
    image.LoadFromBytes(good.bytes);
    int changes = 0;
    image.OnChange = [&] { ++changes; };
    EXPECT_THROW(image.LoadFromBytes("GIF88a"), EGIFUnknownVersion);
    EXPECT_TRUE(image.Empty());
    EXPECT_EQ(image.CurrentFrameIndex(), -1);
    EXPECT_EQ(changes, 1);
}

TEST(GifReader, LoadsFromFileAndStream) {
    GifBuilder b;
    b.Header(2, 2, 2).Image(0, 0, 2, 2, Pixels2x2()).Trailer();
    test::TempDir dir;
    test::writeFileBytes(dir.file("a.gif"), b.bytes);
    TGIFImage image;
    image.LoadFromFile(dir.file("a.gif"));
    EXPECT_EQ(image.FrameCount(), 1);
    std::istringstream in(b.bytes);
    TGIFImage fromStream;
    fromStream.LoadFromStream(in);
    EXPECT_EQ(fromStream.FrameCount(), 1);
    EXPECT_THROW(image.LoadFromFile(dir.file("missing.gif")), EGIFFileOpen);
}

// Hostile sizes: one past each cap fails before anything of that size is allocated.
TEST(GifReaderHostile, OversizedScreenOrFrame) {
    GifBuilder wide;
    wide.Header(kMaxPictureSide + 1, 1, 1).Trailer();
    EXPECT_EQ(MessageOf(wide.bytes), "Stream read error");
    GifBuilder screen;
    screen.Header(8001, 8000, 1).Trailer();  // 64,008,000 pixels
    EXPECT_EQ(MessageOf(screen.bytes), "Stream read error");
    GifBuilder atCap;
    atCap.Header(8000, 8000, 1).Trailer();
    EXPECT_EQ(MessageOf(atCap.bytes), "(no error)");

    GifBuilder frame;
    frame.Header(2, 2, 1).Image(0, 0, kMaxPictureSide + 1, 1, LiteralImageData({0}, 2)).Trailer();
    EXPECT_EQ(MessageOf(frame.bytes), "Stream read error");
    GifBuilder tall;
    tall.Header(2, 2, 1).Image(65000, 65000, 1, 65535, LiteralImageData({0}, 2)).Trailer();
    EXPECT_EQ(MessageOf(tall.bytes), "Stream read error");
}

TEST(GifReaderHostile, ManyFramesTogetherPastThePixelCap) {
    // Each frame alone is allowed (16000 x 1000); five of them are 80 million pixels in all.
    GifBuilder b;
    b.Header(16, 16, 1);
    for (int i = 0; i < 5; ++i) b.Image(0, 0, 16000, 1000, LiteralImageData({1}, 2));
    b.Trailer();
    EXPECT_EQ(MessageOf(b.bytes), "Stream read error");
}

// A transparent index beyond the colour table marks its own pixels only; other indices beyond the table are
// masked into it as before.
TEST(GifReader, TransparentIndexBeyondTheTableStaysUnmasked) {
    GifBuilder b;
    b.Header(4, 1, 2).GraphicControl(1, 10, 9).Image(0, 0, 4, 1, LiteralImageData({9, 5, 1, 9}, 4)).Trailer();
    TGIFImage image;
    image.LoadFromBytes(b.bytes);
    EXPECT_TRUE(image.IsTransparent());
    EXPECT_EQ(image.Frames()[0].Bitmap().Pixels, (TIndexPixels{9, 1, 1, 9}));
}

TEST(GifReader, FramesWithoutATableShareTheGlobalOne) {
    GifBuilder b;
    b.Header(2, 2, 8);
    for (int i = 0; i < 3; ++i) b.Image(0, 0, 2, 2, Pixels2x2());
    b.Image(0, 0, 2, 2, Pixels2x2(), 2).Trailer();
    TGIFImage image;
    image.LoadFromBytes(b.bytes);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(&image.Frames()[i].Colors(), &image.GlobalColorTable()) << i;
    EXPECT_EQ(image.Frames()[3].Colors().size(), 4u);
    // A full table is the decoded bitmap's palette as it stands.
    EXPECT_EQ(image.Frames()[0].Bitmap().Palette.get(), &image.GlobalColorTable());
}

// A tiny frame costs about 20 bytes of file but far more to hold.
std::string TinyFrames(int count, const std::string& before = "") {
    GifBuilder b;
    b.Header(2, 2, 1).Raw(before);
    const std::string data = LiteralImageData({1}, 2);
    for (int i = 0; i < count; ++i) b.GraphicControl(3, 1).Image(1, 1, 1, 1, data);
    b.Trailer();
    return b.bytes;
}

TEST(GifReaderHostile, FrameCountCap) {
    TGIFImage image;
    image.LoadFromBytes(TinyFrames(kMaxFrames));
    EXPECT_EQ(image.FrameCount(), kMaxFrames);
    EXPECT_EQ(MessageOf(TinyFrames(kMaxFrames + 1)), "Stream read error");
}

TEST(GifReaderHostile, BookkeepingCountsTowardThePixelCap) {
    // 63,992,000 pixels leave room for 8,000 more: enough for two 1-pixel frames, not for a thousand of them
    // once what each frame costs to hold is counted.
    GifBuilder big;
    big.Header(2, 2, 1).Image(0, 0, 8000, 7999, LiteralImageData({1}, 2));
    const std::string head = big.bytes.substr(6 + 7 + 6);  // the big frame without header and table
    EXPECT_EQ(MessageOf(TinyFrames(2, head)), "(no error)");
    EXPECT_EQ(MessageOf(TinyFrames(1000, head)), "Stream read error");

    // Empty comments kept for the next image, and comment lines kept for the picture.
    std::string comments;
    for (int i = 0; i < 1'500'000; ++i) comments += std::string("\x21\xFE\x00", 3);
    EXPECT_EQ(MessageOf(TinyFrames(1, comments)), "Stream read error");
    GifBuilder lines;
    lines.Header(2, 2, 1).Image(0, 0, 2, 2, Pixels2x2()).Comment(std::string(3'000'000, '\n')).Trailer();
    EXPECT_EQ(MessageOf(lines.bytes), "Stream read error");
}

}  // namespace
}  // namespace dorvanel::gif
