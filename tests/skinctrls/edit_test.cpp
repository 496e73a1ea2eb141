// The edit box: the line edit inside its frame, the frame's plain look, text and key-down events.
#include "skinctrls/skin_edit.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace dorvanel::skinctrls {
namespace {

TEST(Edit, LineEditSitsInsideTheFrame) {
    TSkinEdit edit;
    EXPECT_EQ(edit.size(), QSize(121, 20));
    edit.SetBounds(13, 37, 280, 15);
    // No skin: the size stays as given.
    EXPECT_EQ(edit.geometry(), QRect(13, 37, 280, 15));
    EXPECT_EQ(edit.LineEdit()->geometry(), QRect(2, 2, 276, 11));
    EXPECT_FALSE(edit.LineEdit()->hasFrame());
}

TEST(Edit, PlainFrame) {
    TSkinEdit edit;
    edit.SetBounds(0, 0, 100, 20);
    const QImage image = edit.RenderImage();
    EXPECT_EQ(image.pixel(0, 0), clBtnShadow().rgb());
    EXPECT_EQ(image.pixel(99, 19), clBtnShadow().rgb());
    EXPECT_EQ(image.pixel(1, 1), clBtnFace().rgb());
    EXPECT_EQ(image.pixel(2, 2), clWindow().rgb());
    EXPECT_EQ(image.pixel(50, 10), clWindow().rgb());
}

TEST(Edit, TextAndChangeEvent) {
    TSkinEdit edit;
    int changes = 0;
    edit.OnChange = [&] { ++changes; };
    QTest::keyClicks(edit.LineEdit(), "golf, soccer");
    EXPECT_EQ(edit.Text(), "golf, soccer");
    EXPECT_EQ(changes, 12);
    edit.SetText("   ");
    EXPECT_EQ(edit.Text(), "   ");
}

TEST(Edit, KeyDownSeesKeysWithTheirShiftState) {
    TSkinEdit edit;
    std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;
    edit.OnKeyDown = [&](int& key, Qt::KeyboardModifiers shift) {
        keys.emplace_back(key, shift);
        if (key == Qt::Key_A) key = 0;  // swallowed
    };
    QTest::keyClick(edit.LineEdit(), Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(edit.LineEdit(), Qt::Key_A);
    QTest::keyClick(edit.LineEdit(), Qt::Key_B);
    // The Control key itself comes first.
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[1].first, Qt::Key_Return);
    EXPECT_EQ(keys[1].second, Qt::ControlModifier);
    EXPECT_EQ(edit.Text(), "b");
}

TEST(Edit, ButtonModeInsetsAndClicks) {
    TSkinEdit edit;
    edit.SetBounds(0, 0, 200, 20);
    edit.SetButtonMode(true);
    EXPECT_EQ(edit.LineEdit()->geometry().right(), 200 - 22 - 1);
    int clicks = 0;
    edit.OnButtonClick = [&] { ++clicks; };
    QTest::mouseClick(&edit, Qt::LeftButton, {}, QPoint(190, 10));
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace dorvanel::skinctrls
