// Align and Anchors: the bands of the main window and its status bar laid out from their design bounds.
#include "platform/align.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace dorvanel::platform {
namespace {

QWidget* Child(QWidget* parent, int l, int t, int w, int h, TAlign align = TAlign::alNone) {
    auto* child = new QWidget(parent);
    SetBounds(child, l, t, w, h);
    if (align != TAlign::alNone) SetAlign(child, align);
    return child;
}

TEST(Align, MainWindowBandsTakeTheirPlaces) {
    QWidget window;
    window.resize(644, 455);
    // Created in an order different from the layout: the status bar before the footer.
    QWidget* status = Child(&window, 0, 438, 644, 17, TAlign::alBottom);
    QWidget* top = Child(&window, 0, 0, 644, 33, TAlign::alTop);
    QWidget* client = Child(&window, 0, 98, 644, 286, TAlign::alClient);
    QWidget* footer = Child(&window, 0, 384, 644, 54, TAlign::alBottom);
    QWidget* banner = Child(&window, 0, 33, 644, 65, TAlign::alTop);

    EXPECT_EQ(top->geometry(), QRect(0, 0, 644, 33));
    EXPECT_EQ(banner->geometry(), QRect(0, 33, 644, 65));
    EXPECT_EQ(client->geometry(), QRect(0, 98, 644, 286));
    EXPECT_EQ(footer->geometry(), QRect(0, 384, 644, 54));
    EXPECT_EQ(status->geometry(), QRect(0, 438, 644, 17));

    window.resize(800, 600);
    AlignControls(&window);
    EXPECT_EQ(client->geometry(), QRect(0, 98, 800, 431));
    EXPECT_EQ(footer->geometry(), QRect(0, 529, 800, 54));
    EXPECT_EQ(status->geometry(), QRect(0, 583, 800, 17));
}

TEST(Align, RightAlignedPanelsGoRightmostFirst) {
    QWidget bar;
    bar.resize(644, 17);
    // Created left to right, as the status bar makes them; the right-most (the gauge) must stay at the right.
    QWidget* main = Child(&bar, 0, 0, 272, 17, TAlign::alClient);
    QWidget* keyword = Child(&bar, 272, 0, 160, 17, TAlign::alRight);
    QWidget* count = Child(&bar, 432, 0, 82, 17, TAlign::alRight);
    QWidget* gauge = Child(&bar, 514, 0, 130, 17, TAlign::alRight);
    EXPECT_EQ(gauge->geometry(), QRect(514, 0, 130, 17));
    EXPECT_EQ(count->geometry(), QRect(432, 0, 82, 17));
    EXPECT_EQ(keyword->geometry(), QRect(272, 0, 160, 17));
    EXPECT_EQ(main->geometry(), QRect(0, 0, 272, 17));

    bar.resize(744, 17);
    AlignControls(&bar);
    EXPECT_EQ(gauge->geometry(), QRect(614, 0, 130, 17));
    EXPECT_EQ(main->geometry(), QRect(0, 0, 372, 17));
}

TEST(Align, HiddenControlTakesNoRoomAndShowingItRealigns) {
    QWidget area;
    area.resize(644, 286);
    QWidget* list = Child(&area, 0, 0, 625, 267, TAlign::alClient);
    QWidget* vbar = Child(&area, 625, 0, 19, 267, TAlign::alRight);
    QWidget* hbar = Child(&area, 0, 267, 644, 19, TAlign::alBottom);
    vbar->hide();
    hbar->hide();
    EXPECT_EQ(list->geometry(), QRect(0, 0, 644, 286));

    vbar->show();
    EXPECT_EQ(list->geometry(), QRect(0, 0, 625, 286));
    EXPECT_EQ(vbar->geometry(), QRect(625, 0, 19, 286));
    hbar->show();
    // Bottom goes before right: the horizontal bar spans the whole width.
    EXPECT_EQ(hbar->geometry(), QRect(0, 267, 644, 19));
    EXPECT_EQ(vbar->geometry(), QRect(625, 0, 19, 267));
    EXPECT_EQ(list->geometry(), QRect(0, 0, 625, 267));
}

TEST(Align, ContentsMarginsAreTheClientRectangle) {
    QWidget panel;
    panel.resize(200, 100);
    panel.setContentsMargins(1, 1, 1, 1);
    QWidget* inner = Child(&panel, 0, 0, 10, 10, TAlign::alClient);
    AlignControls(&panel);
    EXPECT_EQ(inner->geometry(), QRect(1, 1, 198, 98));
}

TEST(Align, LeftAlignedAndOversizedBandsClampAtZero) {
    QWidget parent;
    parent.resize(100, 50);
    QWidget* left = Child(&parent, 0, 0, 30, 5, TAlign::alLeft);
    QWidget* top = Child(&parent, 0, 0, 5, 80, TAlign::alTop);
    QWidget* client = Child(&parent, 0, 0, 5, 5, TAlign::alClient);
    AlignControls(&parent);
    EXPECT_EQ(top->geometry(), QRect(0, 0, 100, 80));
    EXPECT_EQ(left->geometry().height(), 0);
    EXPECT_EQ(client->geometry().height(), 0);
}

TEST(Anchors, TopRightKeepsTheDistanceToTheRightEdge) {
    QWidget footer;
    footer.resize(644, 54);
    QWidget* link = Child(&footer, 592, 32, 34, 14);
    SetAnchors(link, akTop | akRight);
    footer.resize(800, 54);
    AlignControls(&footer);
    EXPECT_EQ(link->geometry(), QRect(748, 32, 34, 14));

    // Moving it by the program records the new distance.
    SetBounds(link, 700, 32, 40, 14);
    footer.resize(820, 54);
    AlignControls(&footer);
    EXPECT_EQ(link->geometry(), QRect(720, 32, 40, 14));
}

TEST(Anchors, LeftAndRightStretch) {
    QWidget parent;
    parent.resize(300, 100);
    QWidget* edit = Child(&parent, 10, 10, 200, 20);
    SetAnchors(edit, akLeft | akTop | akRight);
    parent.resize(400, 100);
    AlignControls(&parent);
    EXPECT_EQ(edit->geometry(), QRect(10, 10, 300, 20));
}

TEST(Align, ResizeEventOfAShownParentRealigns) {
    QWidget window;
    window.resize(300, 200);
    QWidget* bottom = Child(&window, 0, 180, 300, 20, TAlign::alBottom);
    window.show();
    window.resize(300, 260);
    EXPECT_EQ(bottom->geometry(), QRect(0, 240, 300, 20));
}

}  // namespace
}  // namespace dorvanel::platform
