// Pictures made by Debian's ImageMagick, every frame composed by us compared pixel for pixel with
// ImageMagick's own -coalesce of the same file.
#include <gtest/gtest.h>

#include <algorithm>

#include "images/gif/frame_composer.h"
#include "images/gif/gif_image.h"
#include "support/plain/imagemagick.h"
#include "support/plain/temp_dir.h"

namespace dorvanel::gif {
namespace {

class ImageMagickGif : public ::testing::Test {
protected:
    void SetUp() override { DORVANEL_REQUIRE_IMAGEMAGICK(); }

    // Makes `name` with ImageMagick from these arguments (the output path is appended) and loads it.
    TGIFImage Make(const std::string& name, std::vector<std::string> args) {
        path_ = dir_.file(name);
        args.push_back(path_);
        EXPECT_TRUE(test::RunConvert(args)) << name;
        TGIFImage image;
        image.LoadFromFile(path_);
        return image;
    }

    // Composes every frame, stepping through them in order and each one afresh, and compares both with
    // ImageMagick. Where ImageMagick shows nothing (alpha 0), we show either nothing or the fill colour.
    void ExpectSameAsImageMagick(TGIFImage& image) {
        test::TCoalescedFrames im =
            test::CoalesceWithImageMagick(path_, image.Width(), image.Height(), dir_.file("coalesced.rgba"));
        ASSERT_EQ(static_cast<int>(im.Frames.size()), image.FrameCount());
        TFrameComposer stepping;
        for (int n = 0; n < image.FrameCount(); ++n) {
            TFrameComposer fresh;
            const std::vector<std::uint32_t> ours = fresh.ComposeFrameBitmap(image, n).Pixels;
            ASSERT_EQ(stepping.ComposeFrameBitmap(image, n).Pixels, ours) << "frame " << n;
            const std::uint32_t fill = fresh.FillPixel();
            int mismatches = 0;
            for (std::size_t i = 0; i < ours.size() && mismatches < 5; ++i) {
                const std::uint8_t* px = &im.Frames[n][4 * i];
                const std::uint32_t theirs = ToPixel(TRGB{px[0], px[1], px[2]});
                const bool ok =
                    px[3] == 0 ? ((ours[i] >> 24) == 0 || ours[i] == fill) : (px[3] == 255 && ours[i] == theirs);
                if (!ok) {
                    ++mismatches;
                    ADD_FAILURE() << "frame " << n << " pixel (" << i % image.Width() << ", " << i / image.Width()
                                  << "): ours " << std::hex << ours[i] << ", ImageMagick " << theirs << " alpha "
                                  << int(px[3]);
                }
            }
        }
    }

    test::TempDir dir_;
    std::string path_;
};

// Frames with each disposal method, offsets, and transparent parts; the first frame has transparent pixels.
TEST_F(ImageMagickGif, DisposalMethodsWithATransparentColour) {
    TGIFImage image = Make("disposals.gif", {"-size",
                                             "60x40",
                                             "xc:none",
                                             "-fill",
                                             "blue",
                                             "-draw",
                                             "rectangle 15,0 59,39",
                                             "-dispose",
                                             "none",
                                             "(",
                                             "-size",
                                             "20x10",
                                             "xc:none",
                                             "-fill",
                                             "red",
                                             "-draw",
                                             "rectangle 0,0 4,9",
                                             "-draw",
                                             "rectangle 10,0 19,9",
                                             "-repage",
                                             "60x40+5+5",
                                             ")",
                                             "-dispose",
                                             "background",
                                             "(",
                                             "-size",
                                             "20x12",
                                             "xc:yellow",
                                             "-repage",
                                             "60x40+30+20",
                                             ")",
                                             "-dispose",
                                             "previous",
                                             "(",
                                             "-size",
                                             "25x10",
                                             "xc:green",
                                             "-repage",
                                             "60x40+10+25",
                                             ")",
                                             "-dispose",
                                             "none",
                                             "(",
                                             "-size",
                                             "10x10",
                                             "xc:white",
                                             "-repage",
                                             "60x40+45+2",
                                             ")",
                                             "-dispose",
                                             "background",
                                             "(",
                                             "-size",
                                             "30x30",
                                             "xc:none",
                                             "-fill",
                                             "orange",
                                             "-draw",
                                             "circle 15,15 15,5",
                                             "-repage",
                                             "60x40+20+5",
                                             ")",
                                             "(",
                                             "-size",
                                             "5x5",
                                             "xc:purple",
                                             "-repage",
                                             "60x40+0+0",
                                             ")",
                                             "-loop",
                                             "0"});
    ASSERT_EQ(image.FrameCount(), 7);
    EXPECT_GE(image.Frames()[0].TransparentIndex, 0);
    std::vector<int> disposals;
    for (const TGIFFrame& f : image.Frames()) disposals.push_back(f.Disposal);
    EXPECT_EQ(disposals, (std::vector<int>{0, 1, 2, 3, 1, 2, 2}));
    ExpectSameAsImageMagick(image);
}

TEST_F(ImageMagickGif, DisposalMethodsWithoutTransparency) {
    TGIFImage image =
        Make("opaque.gif", {"-size",       "50x30",  "xc:navy", "-dispose",  "background", "(",         "-size",
                            "20x10",       "xc:red", "-repage", "50x30+3+3", ")",          "-dispose",  "previous",
                            "(",           "-size",  "50x30",   "xc:green",  "-repage",    "50x30+0+0", ")",
                            "-dispose",    "none",   "(",       "-size",     "10x10",      "xc:white",  "-repage",
                            "50x30+35+15", ")",      "(",       "-size",     "12x12",      "xc:gray",   "-repage",
                            "50x30+30+10", ")"});
    ASSERT_EQ(image.FrameCount(), 5);
    EXPECT_FALSE(image.IsTransparent());
    ExpectSameAsImageMagick(image);
}

// A run of small frames each put back afterwards, over a transparent first frame, with one kept between them.
TEST_F(ImageMagickGif, RunOfRestoredFrames) {
    std::vector<std::string> args{"-size", "40x20", "xc:none", "-fill", "teal", "-draw", "rectangle 0,0 25,19"};
    const char* colours[] = {"red", "yellow", "white", "orange", "purple", "lime"};
    for (int i = 0; i < 12; ++i) {
        args.insert(args.end(),
                    {"-dispose", i == 5 ? "none" : "previous", "(", "-size", "8x8", std::string("xc:") + colours[i % 6],
                     "-repage", "40x20+" + std::to_string(3 * i) + "+" + std::to_string(i % 3 * 5), ")"});
    }
    TGIFImage image = Make("previous.gif", args);
    ASSERT_EQ(image.FrameCount(), 13);
    EXPECT_EQ(image.Frames()[3].Disposal, 3);
    ExpectSameAsImageMagick(image);
}

TEST_F(ImageMagickGif, Interlaced) {
    TGIFImage image = Make(
        "interlaced.gif", {"-seed", "3", "-size", "37x29", "plasma:", "+dither", "-colors", "64", "-interlace", "GIF"});
    ASSERT_EQ(image.FrameCount(), 1);
    EXPECT_TRUE(image.Frames()[0].Interlaced);
    ExpectSameAsImageMagick(image);
}

TEST_F(ImageMagickGif, PaletteDepths) {
    for (int bits : {1, 2, 4, 8}) {
        SCOPED_TRACE(bits);
        TGIFImage image =
            Make("depth" + std::to_string(bits) + ".gif",
                 {"-seed", "7", "-size", "64x48", "plasma:", "+dither", "-colors", std::to_string(1 << bits)});
        ASSERT_EQ(image.FrameCount(), 1);
        EXPECT_EQ(image.Frames()[0].BitsPerPixel, bits);
        EXPECT_EQ(image.Frames()[0].Bitmap().Depth, bits == 1 ? 1 : bits <= 4 ? 4 : 8);
        ExpectSameAsImageMagick(image);
    }
}

TEST_F(ImageMagickGif, LocalColourTables) {
    TGIFImage image = Make("local.gif", {"-seed", "5", "-size", "40x30", "plasma:red-blue", "plasma:green-yellow",
                                         "plasma:white-black", "+dither", "-colors", "32"});
    ASSERT_EQ(image.FrameCount(), 3);
    EXPECT_TRUE(std::any_of(image.Frames().begin(), image.Frames().end(),
                            [](const TGIFFrame& f) { return f.HasLocalColorTable; }));
    ExpectSameAsImageMagick(image);
}

TEST_F(ImageMagickGif, LoopExtensionAndComments) {
    TGIFImage image =
        Make("loop.gif", {"-size", "20x10", "xc:red", "xc:blue", "-set", "comment", "Dorvanel banner", "-loop", "3"});
    ASSERT_EQ(image.FrameCount(), 2);
    EXPECT_TRUE(image.Looping());
    EXPECT_GT(image.RepeatCount(), 0);
    const auto& exts = image.Frames()[0].Extensions;
    EXPECT_TRUE(std::any_of(exts.begin(), exts.end(), [](const TExtension& e) {
        return e.Kind == TExtensionKind::Comment && e.Data() == "Dorvanel banner";
    }));
    ExpectSameAsImageMagick(image);
}

// A large noisy picture fills the 12-bit code table again and again.
TEST_F(ImageMagickGif, FullCodeTable) {
    TGIFImage image = Make("noise.gif", {"-seed", "11", "-size", "300x200", "plasma:", "-attenuate", "2", "+noise",
                                         "Uniform", "+dither", "-colors", "256"});
    ASSERT_EQ(image.FrameCount(), 1);
    EXPECT_FALSE(image.Frames()[0].Corrupted);
    ExpectSameAsImageMagick(image);
}

TEST_F(ImageMagickGif, BannerOf468By60) {
    std::vector<std::string> args{"-size", "468x60", "-delay", "7"};
    for (int i = 0; i < 6; ++i) {
        args.push_back("gradient:red-blue");
        args.push_back("-fill");
        args.push_back("yellow");
        args.push_back("-draw");
        args.push_back("circle " + std::to_string(30 + 70 * i) + ",30 " + std::to_string(45 + 70 * i) + ",30");
    }
    args.insert(args.end(), {"-layers", "optimize"});
    TGIFImage image = Make("banner.gif", args);
    EXPECT_EQ(image.Width(), 468);
    EXPECT_EQ(image.Height(), 60);
    EXPECT_EQ(image.FrameCount(), 6);
    EXPECT_EQ(FrameDelay(image, 1), 70);
    ExpectSameAsImageMagick(image);
}

}  // namespace
}  // namespace dorvanel::gif
