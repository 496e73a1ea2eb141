// The pixel arithmetic of the blends and inactive-frame effects.
#include "skin/effect_bmp.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace dorvanel::skin;

namespace {

TEffectBmp Filled(int w, int h, std::uint8_t v) {
    TEffectBmp b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, {v, v, v});
    return b;
}

// Each column's value is its index (plus a base), on every channel.
TEffectBmp Columns(int w, int h, int base) {
    TEffectBmp b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, {std::uint8_t(base + x), std::uint8_t(base + x), std::uint8_t(base + x)});
    return b;
}

std::uint8_t At(const TEffectBmp& b, int x, int y = 0) { return b.Pixel(x, y).Blue; }

}  // namespace

TEST(EffectBmp, RowsHaveTheBitmapLayout) {
    TEffectBmp b(5, 3);
    EXPECT_EQ(b.RowLength(), 3 * 5 + 5 % 4);
    EXPECT_EQ(b.Size(), 3 * 16);
    b.SetPixel(1, 2, {1, 2, 3});
    EXPECT_EQ(b.RowStart(2)[3], 1);  // blue first
    EXPECT_EQ(b.RowStart(2)[5], 3);
    TEffectBmp flipped(5, 3);
    b.CopyFlipped(flipped);
    EXPECT_EQ(flipped.Pixel(1, 0), (TBGR{1, 2, 3}));
}

TEST(EffectBmp, UniformMixRoundsHalvesToEven) {
    auto n = Filled(4, 2, 10);
    n.MixUniform(Filled(4, 2, 11), 0.5);
    EXPECT_EQ(At(n, 0), 10);
    auto m = Filled(4, 2, 11);
    m.MixUniform(Filled(4, 2, 12), 0.5);
    EXPECT_EQ(At(m, 3, 1), 12);
    auto zero = Filled(4, 2, 11);
    zero.MixUniform(Filled(4, 2, 200), 0);
    EXPECT_EQ(At(zero, 0), 11);
    auto one = Filled(4, 2, 11);
    one.MixUniform(Filled(4, 2, 200), 1.7);  // limited to 1
    EXPECT_EQ(At(one, 0), 200);
}

TEST(EffectBmp, MixesOfDifferentSizesChangeNothing) {
    for (int k = 0; k <= int(TMorphKind::mkPush); ++k) {
        auto n = Filled(24, 21, 10);
        n.Mix(TMorphKind(k), Filled(24, 20, 90), 0.5);
        EXPECT_EQ(At(n, 12, 10), 10) << k;
    }
}

TEST(EffectBmp, LeftGradient) {
    auto n = Filled(10, 1, 0);
    n.MixGradientLeft(Filled(10, 1, 200), 0.5);
    EXPECT_EQ(At(n, 0), 200);  // weight 0: all active
    EXPECT_EQ(At(n, 1), 160);  // weight 0.2
    EXPECT_EQ(At(n, 5), 0);
    for (int x = 6; x < 10; ++x) EXPECT_EQ(At(n, x), 0);
}

TEST(EffectBmp, RightGradient) {
    auto n = Filled(10, 1, 0);
    n.MixGradientRight(Filled(10, 1, 200), 0.5);  // k = 5, step 1/5
    EXPECT_EQ(At(n, 9), 200);
    EXPECT_EQ(At(n, 8), 160);
    EXPECT_EQ(At(n, 5), 40);
    EXPECT_EQ(At(n, 4), 0);
}

TEST(EffectBmp, CentreGradientHorizontal) {
    auto n = Filled(10, 2, 0);
    n.MixGradientCentre(Filled(10, 2, 200), 0.4);  // a=4, b=3, c=2, m=5: columns 3..7 active
    for (int x = 3; x <= 7; ++x) EXPECT_EQ(At(n, x, 1), 200) << x;
    EXPECT_EQ(At(n, 2), 133);  // weight 1/3
    EXPECT_EQ(At(n, 1), 67);   // weight 2/3
    EXPECT_EQ(At(n, 0), 0);
    EXPECT_EQ(At(n, 8), 133);
    EXPECT_EQ(At(n, 9), 67);
}

TEST(EffectBmp, CentreGradientVerticalOnTallImages) {
    auto n = Filled(2, 10, 0);
    n.MixGradientCentre(Filled(2, 10, 100), 0.2);  // b=2, c=1, d=3, m=5: rows 4..6 active
    for (int y = 4; y <= 6; ++y) EXPECT_EQ(At(n, 0, y), 100) << y;
    EXPECT_EQ(At(n, 1, 3), 67);
    EXPECT_EQ(At(n, 1, 7), 67);
    EXPECT_EQ(At(n, 0, 1), 0);
    auto full = Filled(2, 10, 0);
    full.MixGradientCentre(Filled(2, 10, 100), 1);  // d = 0: no ramp, all active
    EXPECT_EQ(At(full, 0, 0), 100);
    EXPECT_EQ(At(full, 1, 9), 100);
}

TEST(EffectBmp, SlidesShowAtLeastOneColumn) {
    auto left = Columns(10, 1, 0);
    left.MixSlideLeft(Columns(10, 1, 100), 0);
    EXPECT_EQ(At(left, 0), 109);  // the active image's last column
    EXPECT_EQ(At(left, 1), 1);
    auto right = Columns(10, 1, 0);
    right.MixSlideRight(Columns(10, 1, 100), 0.3);
    EXPECT_EQ(At(right, 6), 6);
    EXPECT_EQ(At(right, 7), 100);
    EXPECT_EQ(At(right, 9), 102);
}

TEST(EffectBmp, PushShiftsTheNormalImageOut) {
    auto n = Columns(10, 1, 0);
    n.MixPush(Columns(10, 1, 100), 0);
    EXPECT_EQ(At(n, 0), 109);
    for (int x = 1; x < 10; ++x) EXPECT_EQ(At(n, x), x - 1);
    auto half = Columns(10, 1, 0);
    half.MixPush(Columns(10, 1, 100), 0.5);  // n = 5: columns 0..5 active 4..9
    EXPECT_EQ(At(half, 0), 104);
    EXPECT_EQ(At(half, 5), 109);
    EXPECT_EQ(At(half, 6), 0);
    EXPECT_EQ(At(half, 9), 3);
}

TEST(EffectBmp, LightenDarkenGrayNegative) {
    auto black = Filled(3, 1, 0);
    black.ApplyLighten(0.5);
    EXPECT_EQ(At(black, 0), 128);
    auto white = Filled(3, 1, 255);
    white.ApplyLighten(0.5);
    EXPECT_EQ(At(white, 1), 255);
    auto dark = Filled(2, 1, 100);
    dark.ApplyDarken(0.3);
    EXPECT_EQ(At(dark, 0), 70);
    auto zero = Filled(2, 1, 0);
    zero.ApplyDarken(0.3);
    EXPECT_EQ(At(zero, 0), 0);

    TEffectBmp g(2, 1);
    g.SetPixel(0, 0, {0, 255, 0});
    g.SetPixel(1, 0, {255, 255, 255});
    g.ApplyGray();
    EXPECT_EQ(g.Pixel(0, 0), (TBGR{150, 150, 150}));
    EXPECT_EQ(g.Pixel(1, 0), (TBGR{255, 255, 255}));
    g.ApplyNegative();
    EXPECT_EQ(g.Pixel(0, 0), (TBGR{105, 105, 105}));
}

TEST(EffectBmp, NoiseStaysWithinItsAmount) {
    auto b = Filled(50, 50, 100);
    b.ApplyNoise(50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            const TBGR p = b.Pixel(x, y);
            EXPECT_GE(p.Blue, 75);
            EXPECT_LE(p.Blue, 124);
            EXPECT_EQ(p.Blue, p.Red);
        }
    auto edge = Filled(20, 20, 250);
    edge.ApplyNoise(50);  // clamped, never wraps
    for (int x = 0; x < 20; ++x) EXPECT_GE(At(edge, x), 225);
}

TEST(EffectBmp, SplitBlurSeesProcessedPixels) {
    TEffectBmp b(3, 1);
    b.SetPixel(0, 0, {10, 10, 10});
    b.SetPixel(1, 0, {20, 20, 20});
    b.SetPixel(2, 0, {40, 40, 40});
    b.ApplySplitBlur(1);
    // x=0: left is itself (10), right 20 -> (10+10+20+20)/4 = 15
    EXPECT_EQ(At(b, 0), 15);
    // x=1: left is the new 15, right 40 -> (15*2 + 40*2)/4 = 27
    EXPECT_EQ(At(b, 1), 27);
    // x=2: left the new 27, right itself 40 -> 33
    EXPECT_EQ(At(b, 2), 33);
}

TEST(EffectBmp, BlendStatesReturnsTheMixedImage) {
    QImage normal(4, 4, QImage::Format_RGB32), active(4, 4, QImage::Format_RGB32);
    normal.fill(QColor(10, 10, 10));
    active.fill(QColor(30, 50, 70));
    const QImage mixed = BlendStates(normal, active, TMorphKind::mkDefault, 0.5);
    EXPECT_EQ(mixed.pixelColor(2, 2), QColor(20, 30, 40));
}

TEST(EffectBmp, ArgumentsAreHeldToTheirRangesAtEveryEffect) {
    // Positions before 0, past 1 and NaN act as the nearest end (NaN as 0), on wide and on tall images;
    // under the sanitizers nothing is written outside the rows.
    using Mix = void (TEffectBmp::*)(const TEffectBmp&, double);
    const Mix mixes[] = {&TEffectBmp::MixUniform,       &TEffectBmp::MixGradientCentre, &TEffectBmp::MixGradientLeft,
                         &TEffectBmp::MixGradientRight, &TEffectBmp::MixSlideLeft,      &TEffectBmp::MixSlideRight,
                         &TEffectBmp::MixPush};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (QSize size : {QSize(24, 21), QSize(5, 40), QSize(1, 1)}) {
        for (const Mix mix : mixes) {
            for (auto [given, held] :
                 std::vector<std::pair<double, double>>{{-3.5, 0}, {nan, 0}, {-inf, 0}, {7.0, 1}, {inf, 1}}) {
                TEffectBmp out = Columns(size.width(), size.height(), 10);
                TEffectBmp expected = Columns(size.width(), size.height(), 10);
                const TEffectBmp active = Filled(size.width(), size.height(), 200);
                (out.*mix)(active, given);
                (expected.*mix)(active, held);
                EXPECT_EQ(out.Image(), expected.Image()) << size.width() << "x" << size.height() << " " << given;
            }
        }
    }
    // Negative amounts do nothing; lightening and darkening hold their factor too.
    TEffectBmp blur = Columns(24, 21, 10);
    blur.ApplySplitBlur(-3);
    blur.ApplyNoise(-50);
    EXPECT_EQ(blur.Image(), Columns(24, 21, 10).Image());
    TEffectBmp light = Filled(4, 4, 0), full = Filled(4, 4, 0);
    light.ApplyLighten(nan);
    EXPECT_EQ(light.Pixel(0, 0), (TBGR{0, 0, 0}));
    light.ApplyLighten(9);
    full.ApplyLighten(1);
    EXPECT_EQ(light.Image(), full.Image());
}
