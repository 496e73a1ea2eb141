// Push buttons: the plain look of each state, the click rules, grouped buttons and the glyph/caption layout.
#include "skinctrls/skin_button.h"

#include <QApplication>
#include <QEnterEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace dorvanel::skinctrls {
namespace {

void Enter(QWidget* w) {
    QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(w, &e);
}

void Leave(QWidget* w) {
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(w, &e);
}

TEST(ButtonLook, NormalHotAndDownStates) {
    TSkinButton button;
    button.SetBounds(0, 0, 99, 20);
    button.SetCaption("Gather Data");
    QImage image = button.RenderImage();
    ASSERT_EQ(image.size(), QSize(99, 20));
    EXPECT_EQ(image.pixel(0, 0), clBtnShadow().rgb());
    EXPECT_EQ(image.pixel(98, 19), clBtnShadow().rgb());
    EXPECT_EQ(image.pixel(3, 3), clBtnFace().rgb());

    Enter(&button);
    image = button.RenderImage();
    EXPECT_EQ(image.pixel(0, 0), QColor(0, 0, 128).rgb());
    EXPECT_EQ(image.pixel(3, 3), QColor(182, 189, 210).rgb());

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    image = button.RenderImage();
    EXPECT_EQ(image.pixel(0, 0), QColor(0, 0, 128).rgb());
    EXPECT_EQ(image.pixel(3, 3), QColor(133, 147, 181).rgb());
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
}

TEST(ButtonLook, CaptionIsDrawnCentred) {
    TSkinButton button;
    button.SetBounds(0, 0, 99, 20);
    button.SetCaption("Select All");
    const QImage image = button.RenderImage();
    // Dark caption pixels lie around the middle and none near the ends.
    int darkLeft = 99, darkRight = -1;
    for (int y = 2; y < 18; ++y)
        for (int x = 2; x < 97; ++x)
            if (qGray(image.pixel(x, y)) < 100) darkLeft = std::min(darkLeft, x), darkRight = std::max(darkRight, x);
    ASSERT_GE(darkRight, 0);
    EXPECT_GT(darkLeft, 15);
    EXPECT_LT(darkRight, 84);
    EXPECT_LE(std::abs((darkLeft + darkRight) / 2 - 49), 3);
}

TEST(ButtonClick, ReleaseInsideClicksReleaseOutsideDoesNot) {
    TSkinButton button;
    button.SetBounds(0, 0, 75, 25);
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button.Down());

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(button.Down());
    QTest::mouseMove(&button, QPoint(200, 10));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button.Down());
    // Back to the normal image.
    Leave(&button);
    EXPECT_EQ(button.RenderImage().pixel(3, 3), clBtnFace().rgb());
}

TEST(ButtonClick, RightButtonDoesNothing) {
    TSkinButton button;
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks, 0);
}

TEST(ButtonClick, SpaceAndEnterClickAFocusableButton) {
    TSkinButton button;
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    QTest::keyPress(&button, Qt::Key_Space);
    EXPECT_TRUE(button.Down());
    QTest::keyRelease(&button, Qt::Key_Space);
    EXPECT_FALSE(button.Down());
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(&button, Qt::Key_Return);
    EXPECT_EQ(clicks, 2);

    button.SetCanFocused(false);
    QTest::keyClick(&button, Qt::Key_Return);
    EXPECT_EQ(clicks, 2);
}

TEST(ButtonGroup, DownButtonRaisesItsGroupSiblings) {
    QWidget parent;
    auto* a = new TSkinButton(&parent);
    auto* b = new TSkinButton(&parent);
    auto* other = new TSkinButton(&parent);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    other->SetGroupIndex(2);
    EXPECT_FALSE(a->CanFocused());
    other->SetDown(true);
    a->SetDown(true);
    b->SetDown(true);
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(b->Down());
    EXPECT_TRUE(other->Down());

    // A grouped button clicks at the press.
    int clicks = 0;
    a->OnClick = [&] { ++clicks; };
    QTest::mousePress(a, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(a->Down());
    EXPECT_FALSE(b->Down());
    QTest::mouseRelease(a, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(a->Down());  // stays down without AllowAllUp
}

TEST(ButtonLayout, CentredGlyphAndCaption) {
    const QRect area(0, 0, 75, 25);  // centre (37, 12)
    // No glyph: the caption of 40 x 14 with spacing 1.
    TGlyphCaptionPlace place = LayoutGlyphAndCaption(area, {0, 0}, {40, 14}, 1, -1, TButtonLayout::blGlyphLeft);
    EXPECT_EQ(place.Caption, QPoint(37 + 41 / 2 - 40, 12 - 7));
    place = LayoutGlyphAndCaption(area, {16, 16}, {40, 14}, 1, -1, TButtonLayout::blGlyphLeft);
    EXPECT_EQ(place.Glyph, QPoint(37 - 57 / 2, 12 - 8));
    EXPECT_EQ(place.Caption, QPoint(37 + 57 / 2 - 40, 5));
    place = LayoutGlyphAndCaption(area, {16, 16}, {40, 14}, 1, -1, TButtonLayout::blGlyphTop);
    EXPECT_EQ(place.Glyph, QPoint(37 - 8, 12 - 31 / 2));
    EXPECT_EQ(place.Caption, QPoint(37 - 20, 12 + 31 / 2 - 14));
    place = LayoutGlyphAndCaption(area, {16, 16}, {40, 14}, 2, 3, TButtonLayout::blGlyphRight);
    EXPECT_EQ(place.Glyph, QPoint(75 - 16 - 3, 4));
    EXPECT_EQ(place.Caption, QPoint(56 - 2 - 40, 5));
}

}  // namespace
}  // namespace dorvanel::skinctrls
