// Which piece of a skin picture lands where: every slice mode on a 24 x 21 picture whose pixels name their
// own coordinates, a nine-part control smaller than its picture, tiles clipped at the span's end, pieces of
// no size, mask shapes, and the caps a downloaded skin meets.
#include "skin/skin_picture.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace dorvanel::skin {
namespace {

// Pixel (x, y) of the picture is (x, y, 77): a drawn pixel tells which source pixel it came from.
QImage CoordinatePicture(int w = 24, int h = 21) {
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) picture.setPixel(x, y, qRgb(x, y, 77));
    return picture;
}

// The source pixel that landed at (x, y), or (-1, -1) for one the builder left alone.
QPoint From(const QImage& image, int x, int y) {
    const QRgb c = image.pixel(x, y);
    if (qBlue(c) != 77) return {-1, -1};
    return {qRed(c), qGreen(c)};
}

TSkinGeometry Geometry(TPoint lt, TPoint rt, TPoint lb, TPoint rb, TRect client = {}) {
    TSkinGeometry g;
    g.SkinRect = {0, 0, 24, 21};
    g.LTPoint = lt, g.RTPoint = rt, g.LBPoint = lb, g.RBPoint = rb;
    g.ClientRect = client;
    return g;
}

QImage Build(const TSkinGeometry& g, QSize size, const QImage& picture = CoordinatePicture()) {
    QImage out;
    BuildSkinImage(out, &picture, g.SkinRect, g, SliceModeOf(g), size);
    return out;
}

TEST(SkinPicture, FixedModeCopiesTheSkinRectangleOnceAtItsOwnSize) {
    const QImage image = Build(Geometry({}, {}, {}, {}), QSize(99, 20));
    ASSERT_EQ(image.size(), QSize(24, 21));
    for (QPoint p : {QPoint(0, 0), QPoint(23, 20), QPoint(11, 7)}) EXPECT_EQ(From(image, p.x(), p.y()), p);
}

TEST(SkinPicture, HorizontalThreePartTilesTheMiddleAndClipsTheLastTile) {
    // Left 4 columns, right 6 (from 18), the 14 between tiled over 99 - 4 - 6 = 89 columns: six whole tiles
    // and a last one of 5 columns.
    const QImage image = Build(Geometry({4, 8}, {18, 9}, {}, {}), QSize(99, 20));
    ASSERT_EQ(image.size(), QSize(99, 21));
    struct Case {
        int X;
        int SourceX;
    };
    for (const Case c :
         {Case{0, 0}, {3, 3}, {4, 4}, {17, 17}, {18, 4}, {31, 17}, {32, 4}, {88, 4}, {92, 8}, {93, 18}, {98, 23}}) {
        SCOPED_TRACE(c.X);
        EXPECT_EQ(From(image, c.X, 10), QPoint(c.SourceX, 10));
    }
}

TEST(SkinPicture, VerticalThreePartTilesAlongTheHeight) {
    const QImage image = Build(Geometry({0, 5}, {}, {0, 15}, {}), QSize(40, 50));
    ASSERT_EQ(image.size(), QSize(24, 50));
    // Rows 0-4 fixed, 10 rows tiled from 5 to 43, rows 44-49 from 15-20.
    for (auto [y, sourceY] :
         std::vector<std::pair<int, int>>{{0, 0}, {4, 4}, {5, 5}, {15, 5}, {43, 13}, {44, 15}, {49, 20}})
        EXPECT_EQ(From(image, 7, y), QPoint(7, sourceY)) << y;
}

TSkinGeometry NinePart() { return Geometry({4, 4}, {18, 4}, {4, 15}, {18, 15}, {3, 3, 20, 17}); }

TEST(SkinPicture, NinePartKeepsCornersAndTilesEdgesAndCentre) {
    const QImage image = Build(NinePart(), QSize(60, 40));
    ASSERT_EQ(image.size(), QSize(60, 40));
    EXPECT_EQ(From(image, 0, 0), QPoint(0, 0));
    EXPECT_EQ(From(image, 59, 0), QPoint(23, 0));
    EXPECT_EQ(From(image, 0, 39), QPoint(0, 20));
    EXPECT_EQ(From(image, 59, 39), QPoint(23, 20));
    // Top edge: columns 4..17 of rows 0..2, tiled from x 4 up to the fitted right point (18 + 36).
    EXPECT_EQ(From(image, 4, 1), QPoint(4, 1));
    EXPECT_EQ(From(image, 18, 1), QPoint(4, 1));
    EXPECT_EQ(From(image, 53, 1), QPoint(11, 1));
    // Left edge: rows 4..14 of columns 0..2, tiled down to the fitted left-bottom point (15 + 19).
    EXPECT_EQ(From(image, 1, 15), QPoint(1, 4));
    // Centre: the client rectangle (3,3)-(20,17) tiled over the fitted client (3,3)-(56,36).
    EXPECT_EQ(From(image, 3, 3), QPoint(3, 3));
    EXPECT_EQ(From(image, 20, 3), QPoint(3, 3));
    EXPECT_EQ(From(image, 30, 20), QPoint(3 + (30 - 3) % 17, 3 + (20 - 3) % 14));
}

TEST(SkinPicture, ANinePartControlSmallerThanItsPictureStillDrawsEveryCorner) {
    const QImage image = Build(NinePart(), QSize(12, 9));
    ASSERT_EQ(image.size(), QSize(12, 9));
    EXPECT_EQ(From(image, 0, 0), QPoint(0, 0));
    EXPECT_EQ(From(image, 11, 8), QPoint(23, 20));
    EXPECT_EQ(From(image, 11, 0), QPoint(23, 0));
    EXPECT_EQ(From(image, 0, 8), QPoint(0, 20));
}

TEST(SkinPicture, StretchedEdgesAreScaledOnceInsteadOfTiled) {
    TStretchFlags stretch;
    stretch.Top = true;
    const QImage picture = CoordinatePicture();
    const TSkinGeometry g = NinePart();
    QImage image;
    BuildSkinImage(image, &picture, g.SkinRect, g, 1, QSize(52, 40), true, stretch);
    // The 14 top-edge columns cover 4..45 (42 columns): every third column is a new source column.
    EXPECT_EQ(From(image, 4, 0), QPoint(4, 0));
    EXPECT_EQ(From(image, 44, 0).x(), 17);
    EXPECT_EQ(From(image, 25, 0).x(), 4 + (25 - 4) / 3);
}

TEST(SkinPicture, PiecesOfNoSizeAreSkippedNotLoopedOn) {
    const QImage picture = CoordinatePicture();
    QImage canvas(50, 50, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    TileImage(p, picture, QRect(4, 0, 0, 21), canvas.rect());
    TileImage(p, picture, QRect(4, 3, 5, 0), canvas.rect());
    TileImage(p, picture, QRect(40, 40, 5, 5), canvas.rect());  // wholly outside the picture
    p.end();
    EXPECT_EQ(canvas.pixel(10, 10), qRgb(255, 255, 255));
    // A nine-part description whose bottom point equals its top point draws nothing and returns.
    const QImage flat = Build(Geometry({4, 4}, {18, 4}, {4, 4}, {4, 15}), QSize(30, 30));
    EXPECT_EQ(From(flat, 10, 10), QPoint(-1, -1));
    // A three-part middle of no width is taken as one pixel wide.
    const QImage thin = Build(Geometry({10, 0}, {10, 1}, {}, {}), QSize(60, 21));
    EXPECT_EQ(From(thin, 30, 5), QPoint(10, 5));
}

TEST(SkinPicture, ButtonMaskCutsTheRoundedCornersAtEverySize) {
    // A 24 x 21 mask, black (visible) but for the two pixels of each corner.
    QImage mask(24, 21, QImage::Format_RGB32);
    mask.fill(Qt::black);
    for (QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(23, 0), QPoint(22, 0), QPoint(23, 1),
                     QPoint(0, 20), QPoint(0, 19), QPoint(1, 20), QPoint(23, 20), QPoint(22, 20), QPoint(23, 19)})
        mask.setPixel(p, qRgb(255, 255, 255));
    const TSkinGeometry g = Geometry({4, 0}, {18, 0}, {}, {}, {2, 3, 22, 18});
    const QRegion fixed = SkinShapeRegion(&mask, g, 0, QSize(24, 21));
    EXPECT_FALSE(fixed.contains(QPoint(0, 0)));
    EXPECT_TRUE(fixed.contains(QPoint(2, 0)));
    const QRegion wide = SkinShapeRegion(&mask, g, 2, QSize(99, 21));
    for (QPoint cut : {QPoint(0, 0), QPoint(1, 0), QPoint(98, 0), QPoint(97, 0), QPoint(0, 20), QPoint(98, 20)})
        EXPECT_FALSE(wide.contains(cut)) << cut.x() << "," << cut.y();
    for (QPoint kept : {QPoint(2, 0), QPoint(50, 0), QPoint(50, 10), QPoint(0, 10), QPoint(98, 10), QPoint(96, 20)})
        EXPECT_TRUE(wide.contains(kept)) << kept.x() << "," << kept.y();
    EXPECT_TRUE(SkinShapeRegion(nullptr, g, 2, QSize(99, 21)).isEmpty());
}

TEST(SkinPicture, AMaskGivesAtMostTheRunLimit) {
    // A checkerboard: every black pixel is a run of its own.
    QImage mask(300, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 300; ++x) mask.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QRegion region = MaskToRegion(mask, QPoint(5, 7));
    EXPECT_EQ(region.rectCount(), kMaxMaskRuns);
    EXPECT_TRUE(region.contains(QPoint(5, 7)));
    EXPECT_FALSE(region.contains(QPoint(6, 7)));
}

TEST(SkinPicture, RectanglesPastThePictureAndHugeSizesStayWithinTheCaps) {
    const QImage picture = CoordinatePicture();
    TSkinGeometry g = NinePart();
    g.SkinRect = {0, 0, kMaxSkinCoordinate, kMaxSkinCoordinate};
    g.RBPoint = {kMaxSkinCoordinate, kMaxSkinCoordinate};
    // Held to the picture: the skin rectangle becomes the picture's 24 x 21.
    EXPECT_EQ(HeldGeometry(g, &picture).SkinRect, (TRect{0, 0, 24, 21}));
    EXPECT_EQ(HeldGeometry(g, &picture).RBPoint, (TPoint{24, 21}));
    QImage image;
    BuildSkinImage(image, &picture, g.SkinRect, g, 1, QSize(100, 100));
    EXPECT_EQ(image.size(), QSize(100, 100));
    // Nothing larger than the side cap or the byte cap is made at paint time.
    EXPECT_FALSE(PaintSizeAllowed(QSize(kMaxPaintSide + 1, 1)));
    EXPECT_FALSE(PaintSizeAllowed(QSize(kMaxPaintSide, kMaxPaintSide)));  // 1 GiB at 4 bytes a pixel
    EXPECT_TRUE(PaintSizeAllowed(QSize(8000, 8000)));
    BuildSkinImage(image, &picture, g.SkinRect, g, 1, QSize(kMaxPaintSide, kMaxPaintSide));
    EXPECT_TRUE(image.isNull());
    TFittedGeometry fitted;
    EXPECT_EQ(FitGeometry(g, 2, QSize(1 << 30, 5), fitted).width(), kMaxPaintSide);
}

TEST(SkinPicture, TranslatedRectanglesFollowTheFittedPoints) {
    // Split at x 4 and 18 (mode 2) or y 8 and 15 (mode 3) on the 24 x 21 picture, fitted to 99 x 21 or 24 x 50:
    // a rectangle spanning both points grows, one starting at or past the far point moves, others stay.
    const TSkinGeometry across = Geometry({4, 8}, {18, 9}, {}, {});
    const TSkinGeometry down = Geometry({4, 8}, {}, {3, 15}, {});
    struct Case {
        const TSkinGeometry* G;
        int Mode;
        QSize Size;
        TRect In, Out;
    };
    for (const Case& c : {
             Case{&across, 2, {99, 21}, {2, 3, 22, 18}, {2, 3, 97, 18}},    // spans both points
             Case{&across, 2, {99, 21}, {4, 3, 18, 18}, {4, 3, 93, 18}},    // exactly from point to point
             Case{&across, 2, {99, 21}, {5, 3, 22, 18}, {5, 3, 22, 18}},    // starts past the near point
             Case{&across, 2, {99, 21}, {19, 0, 23, 21}, {94, 0, 98, 21}},  // past the far point
             Case{&across, 2, {99, 21}, {18, 2, 23, 18}, {93, 2, 98, 18}},  // exactly at the far point
             Case{&across, 2, {99, 21}, {18, 2, 18, 18}, {18, 2, 18, 18}},  // at the far point, ends there
             Case{&across, 2, {99, 21}, {0, 0, 3, 21}, {0, 0, 3, 21}},      // left of the near point
             Case{&down, 3, {24, 50}, {1, 8, 20, 15}, {1, 8, 20, 44}},      // exactly from point to point
             Case{&down, 3, {24, 50}, {1, 15, 20, 20}, {1, 44, 20, 49}},    // exactly at the far point
             Case{&down, 3, {24, 50}, {1, 16, 20, 20}, {1, 45, 20, 49}},    // past the far point
             Case{&down, 3, {24, 50}, {1, 9, 20, 20}, {1, 9, 20, 20}},      // starts past the near point
         }) {
        SCOPED_TRACE(testing::Message() << "mode " << c.Mode << " from " << c.In.Left << "," << c.In.Top);
        EXPECT_EQ(TranslateSkinRect(*c.G, c.Mode, c.Size, c.In), c.Out);
    }
}

}  // namespace
}  // namespace dorvanel::skin
