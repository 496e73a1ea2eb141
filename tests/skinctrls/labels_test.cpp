// Labels and link labels: automatic size, right-justified labels keeping their right edge, the link's
// underline, hover colour and click; the flat check box's toggling.
#include "skinctrls/program_skin.h"
#include "skinctrls/skin_checkbox.h"
#include "skinctrls/skin_labels.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace dorvanel::skinctrls {
namespace {

// Counts pixels close to a colour in an image of the widget painted over white.
int CountColour(QWidget& w, const QColor& colour) {
    QImage image(w.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    w.render(&image);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) < 40 && std::abs(c.green() - colour.green()) < 40 &&
                std::abs(c.blue() - colour.blue()) < 40)
                ++n;
        }
    return n;
}

TEST(StdLabel, AutoSizeFitsTheTextAndKeepsARightEdge) {
    QWidget parent;
    parent.resize(644, 54);
    auto* left = new TSkinStdLabel(&parent);
    left->SetBounds(13, 32, 34, 14);
    left->SetCaption("A much longer caption than before");
    EXPECT_EQ(left->x(), 13);
    EXPECT_GT(left->width(), 150);

    auto* right = new TSkinStdLabel(&parent);
    right->SetAlignment(skin::TAlignment::taRightJustify);
    right->SetBounds(592, 32, 34, 14);
    right->SetCaption("Google");
    EXPECT_EQ(right->x() + right->width(), 626);

    // Each line break starts a new line; the label grows to the longest line.
    auto* lines = new TSkinStdLabel(&parent);
    lines->SetCaption("one\na longer second line");
    const int oneLine = left->height();
    EXPECT_GE(lines->height(), 2 * oneLine - 2);
}

TEST(StdLabel, IsTransparentAndDrawsInTheDefaultColour) {
    TSkinStdLabel label;
    label.SetCaption("Please type the main keyword(s) Eg: golf, soccer:");
    EXPECT_GT(CountColour(label, Qt::black), 20);
    // The background behind the text is untouched (white here).
    QImage image(label.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    label.render(&image);
    EXPECT_EQ(image.pixel(label.width() - 1, 0), QColor(Qt::white).rgb());
}

TEST(LinkLabel, UnderlinedHandCursorAndActiveColourWhileHovered) {
    TSkinLinkLabel link;
    link.SetCaption("Google");
    EXPECT_TRUE(link.TextFont().underline());
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(CountColour(link, QColor(0, 0, 255)), 0);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(&link, &enter);
    EXPECT_GT(CountColour(link, QColor(0, 0, 255)), 20);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&link, &leave);
    EXPECT_EQ(CountColour(link, QColor(0, 0, 255)), 0);
}

TEST(LinkLabel, ClickRaisesOnClickThenOpensTheUrlEvenWhenEmpty) {
    TSkinLinkLabel link;
    link.SetCaption("Google");
    std::vector<QString> calls;
    link.OnClick = [&] { calls.push_back("click"); };
    TSkinLinkLabel::OpenURL = [&](const QString& url) { calls.push_back("open " + url); };
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(3, 3));
    link.SetURL("http://www.example.com/");
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(3, 3));
    // Released outside: no click.
    QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(300, 3));
    TSkinLinkLabel::OpenURL = nullptr;
    EXPECT_EQ(calls, (std::vector<QString>{"click", "open ", "click", "open http://www.example.com/"}));
}

TEST(CheckBox, ToggleOnReleaseInsideOnly) {
    QWidget parent;
    auto* box = new TSkinCheckRadioBox(&parent);
    box->SetBounds(11, 15, 397, 20);
    int clicks = 0;
    box->OnClick = [&] { ++clicks; };
    EXPECT_TRUE(box->Flat());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, 10));
    EXPECT_TRUE(box->Checked());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_FALSE(box->Checked());
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(8, 10));
    QTest::mouseMove(box, QPoint(500, 10));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(500, 10));
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 2);
    QTest::keyRelease(box, Qt::Key_Space);  // not focused: nothing
    EXPECT_FALSE(box->Checked());
}

TEST(CheckBox, IndependentBoxesAndRadioGroups) {
    QWidget parent;
    auto* precise = new TSkinCheckRadioBox(&parent);
    auto* broad = new TSkinCheckRadioBox(&parent);
    precise->SetChecked(true);
    broad->SetChecked(true);
    EXPECT_TRUE(precise->Checked());  // no group: both may be ticked

    precise->SetGroupIndex(1);
    broad->SetGroupIndex(1);
    precise->SetRadio(true);
    broad->SetRadio(true);
    broad->SetChecked(false);
    precise->SetChecked(true);
    broad->Toggle();
    EXPECT_TRUE(broad->Checked());
    EXPECT_FALSE(precise->Checked());
    broad->Toggle();  // a radio box stays checked
    EXPECT_TRUE(broad->Checked());
}

TEST(CheckBox, PlainLookBoxMarkAndTransparency) {
    TSkinCheckRadioBox box;
    box.SetBounds(0, 0, 200, 20);
    box.SetCaption("Precise Search");
    QImage image = box.RenderImage();
    const QRect r = box.BoxRect();
    EXPECT_EQ(r, QRect(3, 3, 14, 14));
    EXPECT_EQ(image.pixel(r.left(), r.top()), clBtnShadow().rgb());
    EXPECT_EQ(image.pixel(r.left() + 2, r.top() + 2), clWindow().rgb());
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0);  // what lies behind shows through
    EXPECT_EQ(image.pixel(r.left() + 6, r.top() + 8), clWindow().rgb());
    box.SetChecked(true);
    image = box.RenderImage();
    EXPECT_EQ(image.pixel(r.left() + 5, r.top() + 8), QColor(Qt::black).rgb());
}

}  // namespace
}  // namespace dorvanel::skinctrls

namespace dorvanel::skinctrls {
namespace {

TEST(CheckBox, AFlatBoxIgnoresTheSkinsMaskAnOtherBoxTakesItsShape) {
    QImage mask = skin::test::SolidPicture(60, 20, Qt::white);
    QPainter(&mask).fillRect(2, 0, 56, 20, Qt::black);
    skin::test::ArchiveBuilder b;
    b.List = {skin::test::SolidPicture(60, 40, Qt::gray), mask};
    b.Text = "[VERSION]\r\nskinname=Box\r\n[PICTURES]\r\nactivepicturescount=2\r\n0=p.bmp\r\n1=m.bmp\r\n"
             "[SKINCONTROLS]\r\ncount=1\r\n0=checkbox:checkradio\r\n[checkbox]\r\npictureindex=0\r\n"
             "maskpictureindex=1\r\nskinrect=0,0,60,20\r\nclientrect=0,0,60,20\r\ncheckimagerect=0,20,16,36\r\n"
             "uncheckimagerect=16,20,32,36\r\n";
    skin::TSkinData data;
    test::ApplyArchive(data, b);
    ASSERT_GE(data.IndexOfControl("checkbox"), 0);
    for (const bool flat : {true, false}) {
        SCOPED_TRACE(flat ? "flat" : "not flat");
        TSkinCheckRadioBox box;
        box.SetFlat(flat);
        box.SetSkinData(&data);
        box.SetBounds(0, 0, 60, 20);
        EXPECT_EQ(box.mask().isEmpty(), flat);
    }
}

}  // namespace
}  // namespace dorvanel::skinctrls
