// The window frame drawn at device pixel ratios above 1, off screen: at 2 every picture pixel of the border
// becomes a 2 x 2 block of the 1x rendering (sharp, no blending), the caption's text is drawn at the ratio
// (not the 1x text enlarged), and at 1.5 the frame keeps its logical size with its pixels scaled.
#include "skinctrls/program_skin.h"
#include "skinctrls/skin_frame.h"

#include <gtest/gtest.h>

#include <QtMath>

#include <memory>

namespace dorvanel::skinctrls {
namespace {

struct Form {
    std::unique_ptr<skin::TSkinData> skin = test::ProgramSkin();
    QWidget form;
    TSkinFrame* frame = new TSkinFrame(&form, TFormBorderStyle::bsSizeable);

    Form() {
        form.setWindowTitle(QStringLiteral("Dorvanel keyword research"));
        frame->SetSkinData(skin.get());
        frame->SetClientSize(644, 455);
    }
};

QImage Enlarged(const QImage& image, int factor) {
    QImage copy = image;
    copy.setDevicePixelRatio(1);
    return copy.scaled(copy.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

int Differing(const QImage& a, const QImage& b, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

TEST(FrameRatio, AtTwoTheBorderIsTheOneXBorderInSharpBlocksAndTheCaptionIsNot) {
    Form f;
    ASSERT_TRUE(f.frame->SkinInUse());
    const QImage one = f.frame->RenderImage(1);
    const QImage two = f.frame->RenderImage(2);
    ASSERT_EQ(two.size(), f.form.size() * 2);
    EXPECT_DOUBLE_EQ(two.devicePixelRatio(), 2.0);
    const QImage enlarged = Enlarged(one, 2);
    const QMargins m = f.frame->FrameMargins();
    // Left, right and bottom borders: no text, the same pixels.
    const QSize device = two.size();
    const QRect left(0, m.top() * 2, m.left() * 2, device.height() - (m.top() + m.bottom()) * 2);
    const QRect right(device.width() - m.right() * 2, m.top() * 2, m.right() * 2, left.height());
    const QRect bottom(0, device.height() - m.bottom() * 2, device.width(), m.bottom() * 2);
    for (const QRect& border : {left, right, bottom}) EXPECT_EQ(Differing(two, enlarged, border), 0);
    // The caption's text: drawn at the ratio, so not the 1x glyphs enlarged.
    const TSkinCaptionObject* caption = f.frame->CaptionObject();
    ASSERT_NE(caption, nullptr);
    const QRect text(caption->ObjectRect.topLeft() * 2, caption->ObjectRect.size() * 2);
    EXPECT_GT(Differing(two, enlarged, text), 20);
}

TEST(FrameRatio, AtAFractionalRatioTheFrameKeepsItsLogicalSize) {
    Form f;
    const QImage image = f.frame->RenderImage(1.5);
    EXPECT_EQ(image.size(), QSize(qCeil(f.form.width() * 1.5), qCeil(f.form.height() * 1.5)));
    EXPECT_EQ(image.deviceIndependentSize().toSize(), f.form.size());
    // The ratio does not change the frame's geometry: it is laid out in logical pixels.
    EXPECT_EQ(f.frame->ClientSize(), QSize(644, 455));
}

}  // namespace
}  // namespace dorvanel::skinctrls
