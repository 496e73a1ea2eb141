// Skin pictures drawn at the device's resolution: off-screen images of a ratio, whole ratios repeating each
// picture pixel into a sharp block, fractional ratios blending, a picture's detailed twin used when it is
// exactly twice its size and refused otherwise, and the slice modes laid out in logical pixels at any ratio.
#include "skin/device_picture.h"
#include "skin/skin_picture.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <set>

namespace dorvanel::skin {
namespace {

// A 1-pixel checkerboard of two colours: any blending between neighbours shows as a third colour.
QImage Checker(int w, int h, QRgb a = qRgb(255, 0, 0), QRgb b = qRgb(0, 0, 255)) {
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) picture.setPixel(x, y, (x + y) % 2 ? b : a);
    return picture;
}

QImage Drawn(QSize logical, qreal ratio, const QImage& picture, QRect source, QRect target) {
    QImage out = DeviceImage(logical, ratio, QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    DrawPicture(p, target, picture, source);
    return out;
}

std::set<QRgb> Colours(const QImage& image) {
    std::set<QRgb> found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) found.insert(image.pixel(x, y));
    return found;
}

struct RatioCase {
    qreal Ratio;
    QSize Logical, Pixels;
};

TEST(DevicePicture, AnOffScreenImageHasTheRatiosPixelsAndKeepsItsLogicalSize) {
    for (const RatioCase& c : {RatioCase{1, {10, 7}, {10, 7}}, RatioCase{1.25, {10, 7}, {13, 9}},
                               RatioCase{1.5, {10, 7}, {15, 11}}, RatioCase{2, {10, 7}, {20, 14}}}) {
        SCOPED_TRACE(c.Ratio);
        const QImage image = DeviceImage(c.Logical, c.Ratio, QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(image.size(), c.Pixels);
        EXPECT_EQ(LogicalSize(image), c.Logical);
        EXPECT_EQ(LogicalRect(image), QRect(QPoint(0, 0), c.Logical));
        EXPECT_DOUBLE_EQ(image.devicePixelRatio(), c.Ratio);
    }
}

TEST(DevicePicture, AnImageWhosePixelsPassTheCapsIsNotMade) {
    // Within the caps at ratio 1, past them once doubled.
    const QSize logical(kMaxPaintSide, 16);
    EXPECT_FALSE(DeviceImage(logical, 1, QImage::Format_RGB32).isNull());
    EXPECT_TRUE(DeviceImage(logical, 2, QImage::Format_RGB32).isNull());
    EXPECT_TRUE(DeviceImage({0, 5}, 2, QImage::Format_RGB32).isNull());
}

TEST(DevicePicture, WholeRatiosRepeatEveryPixelOfThePieceIntoASharpBlock) {
    // A piece from inside the picture (not its corner), drawn at the left top: ratio 1 copies it.
    const QImage picture = Checker(8, 8);
    const QRect piece(3, 2, 4, 3);
    for (int ratio : {1, 2, 3}) {
        SCOPED_TRACE(ratio);
        const QImage out = Drawn(piece.size(), ratio, picture, piece, QRect(QPoint(0, 0), piece.size()));
        ASSERT_EQ(out.size(), piece.size() * ratio);
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                ASSERT_EQ(out.pixel(x, y), picture.pixel(piece.left() + x / ratio, piece.top() + y / ratio))
                    << x << "," << y;
    }
}

TEST(DevicePicture, AFractionalRatioScalesSmoothly) {
    const QImage picture = Checker(8, 8);
    const QImage out = Drawn({8, 8}, 1.5, picture, picture.rect(), picture.rect());
    ASSERT_EQ(out.size(), QSize(12, 12));
    // Blended neighbours: colours that are neither of the two (nor the black background).
    const std::set<QRgb> colours = Colours(out);
    EXPECT_GT(colours.size(), 3u);
}

TEST(DevicePicture, ADetailedTwinIsDrawnPixelForPixelAtTwo) {
    const QImage picture = Checker(4, 4);
    // The twin differs from the enlarged picture: it has its own colours.
    QImage detailed = Checker(8, 8, qRgb(0, 200, 0), qRgb(200, 200, 0));
    ASSERT_TRUE(AttachDetailedPicture(picture, detailed));
    EXPECT_NE(DetailedPicture(picture), nullptr);
    const QImage out = Drawn({3, 2}, 2, picture, QRect(1, 1, 3, 2), QRect(0, 0, 3, 2));
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) ASSERT_EQ(out.pixel(x, y), detailed.pixel(2 + x, 2 + y));
    // Unchanged at ratio 1.
    const QImage plain = Drawn({4, 4}, 1, picture, picture.rect(), picture.rect());
    EXPECT_EQ(plain.pixel(0, 0), picture.pixel(0, 0));
    DetachDetailedPicture(picture);
    EXPECT_EQ(DetailedPicture(picture), nullptr);
}

TEST(DevicePicture, ATwinOfTheWrongSizeIsRefusedAndThePictureDrawnAlone) {
    const QImage picture = Checker(4, 4);
    for (const QSize wrong : {QSize(8, 7), QSize(7, 8), QSize(4, 4), QSize(12, 12), QSize(0, 0)}) {
        SCOPED_TRACE(wrong.width());
        QImage detailed(wrong, QImage::Format_RGB32);
        if (!detailed.isNull()) detailed.fill(Qt::green);
        EXPECT_FALSE(AttachDetailedPicture(picture, detailed));
        EXPECT_EQ(DetailedPicture(picture), nullptr);
    }
    const QImage out = Drawn({4, 4}, 2, picture, picture.rect(), picture.rect());
    EXPECT_EQ(Colours(out), (std::set<QRgb>{picture.pixel(0, 0), picture.pixel(1, 0)}));
}

TEST(DevicePicture, TilesAreLaidOutInLogicalPixelsAtEveryRatio) {
    // A 3-pixel piece tiled over 8 logical pixels: copies at 0, 3 and 6, the last cut to 2 pixels.
    QImage picture(3, 1, QImage::Format_RGB32);
    for (int x = 0; x < 3; ++x) picture.setPixel(x, 0, qRgb(x * 100, 0, 0));
    for (qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        QImage out = DeviceImage({8, 1}, ratio, QImage::Format_RGB32);
        out.fill(Qt::black);
        {
            QPainter p(&out);
            TileImage(p, picture, picture.rect(), QRect(0, 0, 8, 1));
        }
        for (int x = 0; x < out.width(); ++x) EXPECT_EQ(out.pixel(x, 0), picture.pixel(int(x / ratio) % 3, 0)) << x;
    }
}

TEST(DevicePicture, ABuiltSkinImageTakesTheRatio) {
    const QImage picture = Checker(24, 21);
    TSkinGeometry g;
    g.SkinRect = {0, 0, 24, 21};
    g.LTPoint = {4, 8};
    g.RTPoint = {18, 9};
    QImage out;
    BuildSkinImage(out, &picture, g.SkinRect, g, SliceModeOf(g), QSize(99, 20), true, {}, 2);
    // Horizontal three-part: the logical size is the 1x one (width followed, skin height), its pixels doubled.
    EXPECT_EQ(LogicalSize(out), QSize(99, 21));
    EXPECT_EQ(out.size(), QSize(198, 42));
    // The right piece (from x 18) ends at the right edge, pixel blocks intact.
    EXPECT_EQ(out.pixel(197, 41), picture.pixel(23, 20));
    EXPECT_EQ(out.pixel(196, 40), picture.pixel(23, 20));
    EXPECT_EQ(out.pixel(0, 0), picture.pixel(0, 0));
}

}  // namespace
}  // namespace dorvanel::skin
