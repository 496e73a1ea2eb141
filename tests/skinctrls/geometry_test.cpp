// Slicing a skin image and fitting it to a control: slice modes, fitted points, mapped rectangles; text
// shortening with "...".
#include "skinctrls/skin_draw.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace dorvanel::skinctrls {
namespace {

using skin::TPoint;
using skin::TRect;

TSkinGeometry ButtonGeometry() {
    // A button description of 24 x 21: left 4 columns fixed, right 6 fixed, the 14 between tiled.
    TSkinGeometry g;
    g.SkinRect = {0, 0, 24, 21};
    g.LTPoint = {4, 8};
    g.RTPoint = {18, 9};
    g.ClientRect = {4, 3, 18, 18};
    return g;
}

TEST(SliceMode, FirstMatchingRuleWins) {
    TSkinGeometry g;
    EXPECT_EQ(SliceModeOf(g), -1);  // empty skin rectangle
    g.SkinRect = {10, 10, 40, 30};
    EXPECT_EQ(SliceModeOf(g), 0);
    g.LBPoint = {0, 5};
    EXPECT_EQ(SliceModeOf(g), 3);
    g.RTPoint = {7, 0};
    EXPECT_EQ(SliceModeOf(g), 2);
    g.RBPoint = {7, 0};  // both coordinates must be non-zero for nine-part
    EXPECT_EQ(SliceModeOf(g), 2);
    g.RBPoint = {7, 5};
    EXPECT_EQ(SliceModeOf(g), 1);
}

TEST(FitGeometry, HorizontalThreePartTakesTheSkinHeight) {
    const TSkinGeometry g = ButtonGeometry();
    ASSERT_EQ(SliceModeOf(g), 2);
    TFittedGeometry fitted;
    EXPECT_EQ(FitGeometry(g, 2, QSize(99, 20), fitted), QSize(99, 21));
    EXPECT_EQ(fitted.RTPoint, (TPoint{18 + 75, 9}));
    EXPECT_EQ(fitted.ClientRect, (TRect{4, 3, 18 + 75, 18}));
    EXPECT_EQ(fitted.LTPoint, g.LTPoint);
}

TEST(FitGeometry, NinePartKeepsTheSizeAndMovesTheFarPoints) {
    TSkinGeometry g;
    g.SkinRect = {0, 0, 30, 20};
    g.LTPoint = {5, 5};
    g.RTPoint = {25, 5};
    g.LBPoint = {5, 15};
    g.RBPoint = {25, 15};
    g.ClientRect = {3, 3, 27, 17};
    TFittedGeometry f;
    EXPECT_EQ(FitGeometry(g, 1, QSize(50, 40), f), QSize(50, 40));
    EXPECT_EQ(f.LTPoint, (TPoint{5, 5}));
    EXPECT_EQ(f.RTPoint, (TPoint{45, 5}));
    EXPECT_EQ(f.LBPoint, (TPoint{5, 35}));
    EXPECT_EQ(f.RBPoint, (TPoint{45, 35}));
    EXPECT_EQ(f.ClientRect, (TRect{3, 3, 47, 37}));
    // Smaller than the skin: the points move back.
    EXPECT_EQ(FitGeometry(g, 1, QSize(20, 10), f), QSize(20, 10));
    EXPECT_EQ(f.RBPoint, (TPoint{15, 5}));
}

TEST(FitGeometry, FixedAndVerticalModes) {
    TSkinGeometry g;
    g.SkinRect = {0, 0, 17, 40};
    g.LBPoint = {0, 30};
    g.ClientRect = {2, 2, 15, 38};
    TFittedGeometry f;
    EXPECT_EQ(FitGeometry(g, 0, QSize(99, 99), f), QSize(17, 40));
    EXPECT_EQ(f.ClientRect, g.ClientRect);
    EXPECT_EQ(FitGeometry(g, 3, QSize(99, 100), f), QSize(17, 100));
    EXPECT_EQ(f.LBPoint, (TPoint{0, 90}));
    EXPECT_EQ(f.ClientRect.Bottom, 98);
    EXPECT_EQ(FitGeometry(g, -1, QSize(99, 100), f), QSize(99, 100));
}

TEST(TranslateSkinRect, HorizontalModeGrowsSpanningAndMovesRightPieces) {
    const TSkinGeometry g = ButtonGeometry();
    const QSize size(99, 21);                                                           // dx = 75
    EXPECT_EQ(TranslateSkinRect(g, 2, size, {2, 2, 20, 18}), (TRect{2, 2, 95, 18}));    // spans: grows
    EXPECT_EQ(TranslateSkinRect(g, 2, size, {19, 2, 23, 18}), (TRect{94, 2, 98, 18}));  // right piece: moves
    EXPECT_EQ(TranslateSkinRect(g, 2, size, {5, 2, 10, 18}), (TRect{5, 2, 10, 18}));    // middle: stays
}

TEST(TranslateSkinRect, NinePartCorners) {
    TSkinGeometry g;
    g.SkinRect = {0, 0, 30, 20};
    g.LTPoint = {5, 5};
    g.RTPoint = {25, 5};
    g.LBPoint = {5, 15};
    g.RBPoint = {25, 15};
    const QSize size(50, 40);                                                             // dx = 20, dy = 20
    EXPECT_EQ(TranslateSkinRect(g, 1, size, {1, 1, 3, 3}), (TRect{1, 1, 3, 3}));          // inside LT
    EXPECT_EQ(TranslateSkinRect(g, 1, size, {26, 1, 28, 3}), (TRect{46, 1, 48, 3}));      // inside RT
    EXPECT_EQ(TranslateSkinRect(g, 1, size, {1, 16, 3, 18}), (TRect{1, 36, 3, 38}));      // inside LB
    EXPECT_EQ(TranslateSkinRect(g, 1, size, {26, 16, 28, 18}), (TRect{46, 36, 48, 38}));  // inside RB
    EXPECT_EQ(TranslateSkinRect(g, 1, size, {2, 2, 27, 17}), (TRect{2, 2, 47, 37}));      // LT to RB
    EXPECT_EQ(TranslateSkinRect(g, 1, size, {2, 1, 27, 4}), (TRect{2, 1, 47, 4}));        // LT to RT
    EXPECT_EQ(TranslateSkinRect(g, 1, size, {2, 1, 4, 17}), (TRect{2, 1, 4, 37}));        // LT to LB
    EXPECT_EQ(TranslateSkinRect(g, 1, size, {27, 2, 29, 17}), (TRect{47, 2, 49, 37}));    // RT to RB
    EXPECT_EQ(TranslateSkinRect(g, 1, size, {2, 16, 27, 18}), (TRect{2, 36, 47, 38}));    // LB to RB
    EXPECT_EQ(TranslateSkinRect(g, 1, size, {10, 8, 12, 10}), (TRect{10, 8, 12, 10}));    // centre: stays
}

TEST(FitTextWithEllipsis, ShortensUntilTheDotsFit) {
    QFont font("Arial");
    font.setPixelSize(12);
    const QFontMetrics fm(font);
    EXPECT_EQ(FitTextWithEllipsis(fm, "Keywords", 1000), "Keywords");
    const QString fitted = FitTextWithEllipsis(fm, "Keywords", fm.horizontalAdvance("Key..."));
    EXPECT_EQ(fitted, "Key...");
    EXPECT_EQ(FitTextWithEllipsis(fm, "Keywords", 1), "...");
}

}  // namespace
}  // namespace dorvanel::skinctrls
