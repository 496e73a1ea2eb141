// The status bar's contents: gauge values, percentage text and bar; status panels with frame and text;
// the panel's border styles and client area.
#include "skinctrls/skin_status.h"

#include "skinctrls/program_skin.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace dorvanel::skinctrls {
namespace {

TEST(Gauge, ValueIsClampedAndUnchangedValuesDoNotRepaint) {
    TSkinGauge gauge;
    gauge.SetShowPercent(true);
    gauge.SetValue(150);
    EXPECT_EQ(gauge.Value(), 100);
    EXPECT_EQ(gauge.DisplayText(), "100%");
    const int repaints = gauge.RepaintRequests();
    gauge.SetValue(100);
    EXPECT_EQ(gauge.RepaintRequests(), repaints);
    gauge.SetValue(-5);
    EXPECT_EQ(gauge.Value(), 0);
    EXPECT_EQ(gauge.DisplayText(), "0%");
}

TEST(Gauge, MinAndMaxPullTheValueAlong) {
    TSkinGauge gauge;  // value 50 at creation
    EXPECT_EQ(gauge.Value(), 50);
    gauge.SetMaxValue(20);
    EXPECT_EQ(gauge.Value(), 20);
    gauge.SetMinValue(30);  // minimum above maximum is stored as it is
    EXPECT_EQ(gauge.Value(), 30);
    EXPECT_EQ(gauge.MinValue(), 30);
    EXPECT_EQ(gauge.MaxValue(), 20);
}

TEST(Gauge, PercentRoundsHalvesToEven) {
    TSkinGauge gauge;
    gauge.SetShowPercent(true);
    gauge.SetMaxValue(8);
    gauge.SetValue(1);  // 12.5
    EXPECT_EQ(gauge.DisplayText(), "12%");
    gauge.SetValue(3);  // 37.5
    EXPECT_EQ(gauge.DisplayText(), "38%");
    gauge.SetMinValue(8);  // empty range
    EXPECT_EQ(gauge.DisplayText(), "0%");
    EXPECT_EQ(gauge.FilledRect(QRect(1, 1, 128, 15)).width(), 0);
}

TEST(Gauge, TextIsProgressTextFollowedByThePercentage) {
    TSkinGauge gauge;
    gauge.SetValue(0);
    EXPECT_EQ(gauge.DisplayText(), "");
    gauge.SetProgressText("Loading ");
    EXPECT_EQ(gauge.DisplayText(), "");
    gauge.SetShowProgressText(true);
    gauge.SetShowPercent(true);
    gauge.SetValue(45);
    EXPECT_EQ(gauge.DisplayText(), "Loading 45%");
}

TEST(Gauge, PlainLookFrameFillAndPercentText) {
    TSkinGauge gauge;
    gauge.SetBounds(514, 0, 130, 17);
    gauge.SetShowPercent(true);
    gauge.SetValue(50);
    QImage image = gauge.RenderImage();
    EXPECT_EQ(image.pixel(0, 0), clBtnShadow().rgb());
    EXPECT_EQ(image.pixel(129, 16), clBtnShadow().rgb());
    // Half of the 128 inner columns are filled: 1..64.
    EXPECT_EQ(image.pixel(2, 2), QColor(182, 189, 210).rgb());
    EXPECT_EQ(image.pixel(64, 2), QColor(182, 189, 210).rgb());
    EXPECT_EQ(image.pixel(65, 2), clWindow().rgb());
    EXPECT_EQ(image.pixel(127, 14), clWindow().rgb());

    gauge.SetValue(0);
    image = gauge.RenderImage();
    EXPECT_EQ(image.pixel(2, 2), clWindow().rgb());
    // "0%" is drawn about the middle.
    int dark = 0;
    for (int x = 55; x < 75; ++x)
        for (int y = 2; y < 15; ++y) dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 5);
}

TEST(StatusPanel, FramedPanelWithItsText) {
    TSkinStatusPanel panel;
    panel.SetBounds(432, 0, 82, 17);
    panel.SetBorderStyle(TSkinBorderStyle::bvFrame);
    panel.SetCaption("0 item listed");
    const QImage image = panel.RenderImage();
    ASSERT_EQ(image.size(), QSize(82, 17));
    EXPECT_EQ(image.pixel(0, 0), clBtnShadow().rgb());
    EXPECT_EQ(image.pixel(81, 16), clBtnShadow().rgb());
    EXPECT_EQ(image.pixel(1, 1), clBtnFace().rgb());
    // The text starts 3 pixels in.
    int firstDark = -1;
    for (int x = 0; x < 82 && firstDark < 0; ++x)
        for (int y = 1; y < 16; ++y)
            if (qGray(image.pixel(x, y)) < 100) {
                firstDark = x;
                break;
            }
    EXPECT_GE(firstDark, 3);
    EXPECT_LE(firstDark, 6);
}

TEST(StatusPanel, AutoSizeWidensByTheOverflow) {
    TSkinStatusPanel panel;
    panel.SetBounds(0, 0, 40, 17);
    panel.SetAutoSize(true);
    panel.SetCaption("Main Keyword: a rather long keyword");
    EXPECT_EQ(panel.TextOverflow(), 0);
    EXPECT_GT(panel.width(), 40);
}

TEST(Panel, BorderStylesAndClientArea) {
    TSkinPanel panel;
    panel.SetBounds(0, 0, 644, 54);
    EXPECT_EQ(panel.BorderStyle(), TSkinBorderStyle::bvFrame);
    EXPECT_EQ(panel.contentsRect(), QRect(1, 1, 642, 52));
    QImage image = panel.RenderImage();
    EXPECT_EQ(image.pixel(0, 0), clBtnShadow().rgb());
    EXPECT_EQ(image.pixel(5, 5), clBtnFace().rgb());

    panel.SetBorderStyle(TSkinBorderStyle::bvNone);
    EXPECT_EQ(panel.contentsRect(), QRect(0, 0, 644, 54));
    image = panel.RenderImage();
    EXPECT_EQ(image.pixel(0, 0), clBtnFace().rgb());

    panel.SetBorderStyle(TSkinBorderStyle::bvRaised);
    image = panel.RenderImage();
    EXPECT_EQ(image.pixel(0, 0), clBtnHighlight().rgb());
    EXPECT_EQ(image.pixel(643, 53), clBtnShadow().rgb());
}

TEST(StatusBar, DefaultsAndAlignedChildren) {
    QWidget window;
    window.resize(644, 455);
    auto* bar = new TSkinStatusBar(&window);
    EXPECT_EQ(bar->geometry(), QRect(0, 434, 644, 21));
    bar->SetBounds(0, 438, 644, 17);
    EXPECT_EQ(bar->geometry(), QRect(0, 438, 644, 17));
    EXPECT_EQ(bar->SkinDataName(), "statusbar");

    auto* main = new TSkinStatusPanel(bar);
    main->SetBounds(0, 0, 272, 17);
    main->SetAlign(platform::TAlign::alClient);
    auto* keyword = new TSkinStatusPanel(bar);
    keyword->SetBounds(272, 0, 160, 17);
    keyword->SetAlign(platform::TAlign::alRight);
    auto* count = new TSkinStatusPanel(bar);
    count->SetBounds(432, 0, 82, 17);
    count->SetAlign(platform::TAlign::alRight);
    auto* gauge = new TSkinGauge(bar);
    gauge->SetBounds(514, 0, 130, 17);
    gauge->SetAlign(platform::TAlign::alRight);
    EXPECT_EQ(main->geometry(), QRect(0, 0, 272, 17));
    EXPECT_EQ(keyword->geometry(), QRect(272, 0, 160, 17));
    EXPECT_EQ(count->geometry(), QRect(432, 0, 82, 17));
    EXPECT_EQ(gauge->geometry(), QRect(514, 0, 130, 17));

    window.resize(744, 455);
    platform::AlignControls(&window);
    EXPECT_EQ(gauge->geometry(), QRect(614, 0, 130, 17));
    EXPECT_EQ(main->geometry(), QRect(0, 0, 372, 17));
}

// Captions are laid out once and kept between paints: what is drawn must still follow the caption and the
// font of the moment, also after many other captions, and line breaks and tabs show as spaces.
TEST(StatusPanel, KeptCaptionsFollowTextAndFont) {
    auto render = [](const QString& caption, const QFont& font) {
        TSkinStatusPanel fresh;
        fresh.resize(300, 19);
        fresh.SetDefaultFont(font);
        fresh.SetCaption(caption);
        return fresh.RenderImage();
    };
    TSkinStatusPanel panel;
    panel.resize(300, 19);
    const QFont font = panel.DefaultFont();
    for (int i = 0; i < 20; ++i) {
        panel.SetCaption(QStringLiteral("Getting URL: page %1...").arg(i % 12));
        ASSERT_EQ(panel.RenderImage(), render(panel.Caption(), font)) << i;
    }
    QFont bold = font;
    bold.setBold(true);
    panel.SetDefaultFont(bold);
    EXPECT_EQ(panel.RenderImage(), render(panel.Caption(), bold));
    EXPECT_NE(panel.RenderImage(), render(panel.Caption(), font));
    panel.SetCaption(QStringLiteral("two\nlines\tand a tab"));
    EXPECT_EQ(panel.RenderImage(), render(QStringLiteral("two lines and a tab"), bold));
}

TEST(Gauge, KeptPercentTextsFollowTheValue) {
    TSkinGauge gauge;
    gauge.SetShowPercent(true);
    auto render = [](int value) {
        TSkinGauge fresh;
        fresh.SetShowPercent(true);
        fresh.SetValue(value);
        return fresh.RenderImage();
    };
    for (int value : {0, 100, 0, 37, 100, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 100}) {
        gauge.SetValue(value);
        ASSERT_EQ(gauge.RenderImage(), render(value)) << value;
    }
}

}  // namespace
}  // namespace dorvanel::skinctrls

namespace dorvanel::skinctrls {
namespace {

// A skin's progress area far larger than the gauge: only the part the gauge shows is built and drawn.
TEST(Gauge, AHugeProgressAreaDrawsTheShownPartOfTheBar) {
    QImage sheet = skin::test::SolidPicture(20, 40, Qt::gray);
    QPainter(&sheet).fillRect(0, 20, 10, 10, QColor(200, 0, 0));
    skin::test::ArchiveBuilder b;
    b.List = {sheet};
    b.Text = "[VERSION]\r\nskinname=Gauge\r\n[PICTURES]\r\nactivepicturescount=1\r\n0=g.bmp\r\n"
             "[SKINCONTROLS]\r\ncount=1\r\n0=gauge:gauge\r\n[gauge]\r\npictureindex=0\r\nskinrect=0,0,20,20\r\n"
             "lefttoppoint=4,0\r\nrighttoppoint=16,0\r\nprogressarea=2,2,99999,99999\r\nprogressrect=0,20,10,30\r\n"
             "beginoffset=2\r\nendoffset=2\r\n";
    skin::TSkinData data;
    test::ApplyArchive(data, b);
    ASSERT_FALSE(data.SkinEmpty());
    TSkinGauge gauge;
    gauge.SetSkinData(&data);
    gauge.SetBounds(0, 0, 100, 20);
    gauge.SetValue(gauge.MaxValue());
    const QImage image = gauge.grab().toImage();
    ASSERT_EQ(image.size(), QSize(100, 20));
    for (const QPoint at : {QPoint(2, 2), QPoint(50, 10), QPoint(99, 19)})
        EXPECT_EQ(image.pixel(at), qRgb(200, 0, 0)) << at.x() << "," << at.y();
    EXPECT_EQ(image.pixel(0, 0), QColor(Qt::gray).rgb());
}

}  // namespace
}  // namespace dorvanel::skinctrls
