// Scroll bars: value rules, plain geometry, buttons, page steps, dragging and the auto-repeat timing.
#include "skinctrls/skin_scrollbar.h"

#include <QApplication>
#include <QTimer>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace dorvanel::skinctrls {
namespace {

TEST(ScrollBarValues, PositionClampsAndUnchangedRaisesNoChange) {
    TSkinScrollBar bar;
    int changes = 0;
    bar.OnChange = [&] { ++changes; };
    bar.SetPosition(150);
    EXPECT_EQ(bar.Position(), 100);
    EXPECT_EQ(changes, 1);
    bar.SetPosition(100);
    EXPECT_EQ(changes, 1);
    bar.SetRange(0, 99, 10, 95);  // top is 99 - 10 + 1
    EXPECT_EQ(bar.Position(), 90);
    EXPECT_EQ(changes, 1);  // SetRange is silent
    bar.SetPosition(-3);
    EXPECT_EQ(bar.Position(), 0);
}

TEST(ScrollBarValues, MaxMinAndPageSizeSetters) {
    TSkinScrollBar bar;
    bar.SetRange(0, 100, 20, 70);
    bar.SetMax(80);  // 80 - 0 < 20 + 70: position becomes 80 - 0 - 20 + 1
    EXPECT_EQ(bar.Position(), 61);
    bar.SetPageSize(30);  // 80 - 0 + 1 < 30 + 61: refused
    EXPECT_EQ(bar.PageSize(), 20);
    bar.SetPageSize(10);
    EXPECT_EQ(bar.PageSize(), 10);
    bar.SetMin(65);
    EXPECT_EQ(bar.Position(), 65);

    TSkinScrollBar plain;
    plain.SetPosition(90);
    plain.SetMax(50);
    EXPECT_EQ(plain.Position(), 50);
}

TEST(ScrollBarGeometry, PlainHorizontalAndVerticalParts) {
    TSkinScrollBar h;
    h.SetBounds(0, 267, 644, 19);
    EXPECT_EQ(h.PartRect(TSkinScrollBar::ptDownButton), QRect(QPoint(1, 1), QPoint(16, 17)));
    EXPECT_EQ(h.PartRect(TSkinScrollBar::ptUpButton), QRect(QPoint(627, 1), QPoint(642, 17)));
    EXPECT_EQ(h.TrackRect(), QRect(QPoint(17, 1), QPoint(626, 17)));
    // Without a page: a 16-pixel thumb at the start.
    EXPECT_EQ(h.PartRect(TSkinScrollBar::ptThumb), QRect(17, 1, 16, 17));
    h.SetPosition(100);
    EXPECT_EQ(h.PartRect(TSkinScrollBar::ptThumb), QRect(627 - 16, 1, 16, 17));
    // Both mode leaves the corner square free.
    h.SetBoth(true);
    EXPECT_EQ(h.PartRect(TSkinScrollBar::ptUpButton), QRect(QPoint(627 - 19, 1), QPoint(642 - 19, 17)));
    const QImage image = h.RenderImage();
    EXPECT_EQ(image.pixel(630, 5), clBtnFace().rgb());
    EXPECT_EQ(image.pixel(608, 1), clBtnShadow().rgb());

    TSkinScrollBar v;
    v.SetKind(TScrollBarKind::sbVertical);
    v.SetBounds(625, 0, 19, 267);
    EXPECT_EQ(v.PartRect(TSkinScrollBar::ptDownButton), QRect(QPoint(1, 1), QPoint(17, 16)));
    EXPECT_EQ(v.PartRect(TSkinScrollBar::ptUpButton), QRect(QPoint(1, 250), QPoint(17, 265)));
    // A page of 10 rows out of 100 on a 233-pixel track: 23 pixels (rounded), placed by the fraction.
    v.SetRange(0, 99, 10, 45);
    const QRect thumb = v.PartRect(TSkinScrollBar::ptThumb);
    EXPECT_EQ(thumb.height(), 23);
    EXPECT_EQ(thumb.top(), 17 + qRound(45.0 / 90.0 * (233 - 23)));
}

TEST(ScrollBarMouse, ButtonsStepAndTrackPages) {
    TSkinScrollBar bar;
    bar.SetBounds(0, 0, 200, 19);
    bar.SetRange(0, 100, 0, 50);
    bar.SetLargeChange(10);
    int pageUps = 0, pageDowns = 0;
    bar.OnPageUp = [&] { ++pageUps; };
    bar.OnPageDown = [&] { ++pageDowns; };
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(190, 9));  // up button (right end)
    EXPECT_EQ(bar.Position(), 51);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(5, 9));  // down button
    EXPECT_EQ(bar.Position(), 50);
    const QRect thumb = bar.PartRect(TSkinScrollBar::ptThumb);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(thumb.left() - 5, 9));
    EXPECT_EQ(bar.Position(), 40);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(thumb.right() + 20, 9));
    EXPECT_EQ(bar.Position(), 50);
    EXPECT_EQ(pageUps, 1);
    EXPECT_EQ(pageDowns, 1);

    int ups = 0;
    bar.OnUpButtonClick = [&] { ++ups; };  // replaces the step
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(190, 9));
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(bar.Position(), 50);
}

TEST(ScrollBarMouse, DraggingBeyondTheEndStopsAtTheLastPage) {
    TSkinScrollBar bar;
    bar.SetBounds(0, 0, 300, 19);
    bar.SetRange(0, 99, 10, 0);
    int last = 0;
    bar.OnLastChange = [&] { ++last; };
    const QPoint start = bar.PartRect(TSkinScrollBar::ptThumb).center();
    QTest::mousePress(&bar, Qt::LeftButton, {}, start);
    QTest::mouseMove(&bar, start + QPoint(50, 0));
    EXPECT_GT(bar.Position(), 0);
    QTest::mouseMove(&bar, start + QPoint(5000, 0));
    EXPECT_EQ(bar.Position(), 90);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, start + QPoint(5000, 0));
    EXPECT_EQ(last, 1);
}

TEST(ScrollBarMouse, HoldingAButtonRepeatsAfterThePause) {
    TSkinScrollBar bar;
    bar.SetBounds(0, 0, 200, 19);
    bar.SetRange(0, 1000, 0, 500);
    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(5, 9));
    EXPECT_EQ(bar.Position(), 499);  // one step at the press
    // The repeat waits 500 ms first; its first tick only shortens the interval to 50 ms. The ticks are driven
    // here by hand, so no test waits on the clock.
    auto* repeat = bar.findChild<QTimer*>();
    ASSERT_NE(repeat, nullptr);
    EXPECT_TRUE(repeat->isActive());
    EXPECT_EQ(repeat->interval(), 500);
    QMetaObject::invokeMethod(repeat, "timeout");
    EXPECT_EQ(bar.Position(), 499);
    EXPECT_EQ(repeat->interval(), 50);
    QMetaObject::invokeMethod(repeat, "timeout");
    QMetaObject::invokeMethod(repeat, "timeout");
    EXPECT_EQ(bar.Position(), 497);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(5, 9));
    EXPECT_EQ(bar.findChild<QTimer*>(), nullptr);  // released: no more steps
}

TEST(ScrollBarKeys, ArrowsOnlyWhenFocusable) {
    TSkinScrollBar bar;
    bar.SetRange(0, 10, 0, 5);
    QTest::keyClick(&bar, Qt::Key_Right);
    EXPECT_EQ(bar.Position(), 5);
    bar.SetCanFocused(true);
    QTest::keyClick(&bar, Qt::Key_Right);
    QTest::keyClick(&bar, Qt::Key_Down);
    QTest::keyClick(&bar, Qt::Key_Up);
    EXPECT_EQ(bar.Position(), 6);
}

TEST(ScrollBarLook, HotPartIsNavyFramed) {
    TSkinScrollBar bar;
    bar.SetBounds(0, 0, 200, 19);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 9), QPointF(5, 9), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&bar, &move);
    EXPECT_TRUE(bar.PartHot(TSkinScrollBar::ptDownButton));
    const QImage image = bar.RenderImage();
    EXPECT_EQ(image.pixel(1, 1), QColor(0, 0, 128).rgb());
    EXPECT_EQ(image.pixel(3, 3), QColor(182, 189, 210).rgb());
    EXPECT_EQ(image.pixel(0, 0), clBtnFace().rgb());
    EXPECT_EQ(image.pixel(183, 1), clBtnShadow().rgb());  // up button not hot
}

}  // namespace
}  // namespace dorvanel::skinctrls
