#include "skinctrls/skin_combobox.h"

#include "skinctrls/program_skin.h"

#include <gtest/gtest.h>

#include <QTest>

using dorvanel::skinctrls::TSkinComboBox;
using dorvanel::skinctrls::TSkinDropDownList;

namespace {

void Fill(TSkinComboBox& box, int count) {
    for (int i = 0; i < count; ++i) box.AddItem({QStringLiteral("item %1").arg(i), {}, i % 3, i});
}

}  // namespace

TEST(SkinComboBox, SettingTheIndexIsSilentChoosingRaisesOnChangeOnlyOnAChange) {
    TSkinComboBox box;
    EXPECT_EQ(box.SkinDataName(), "combobox");
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.Text(), "");
    Fill(box, 3);
    int changes = 0;
    box.OnChange = [&] { ++changes; };
    box.SetItemIndex(1);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(box.Text(), "item 1");
    box.ChooseItem(1);
    EXPECT_EQ(changes, 0);
    box.ChooseItem(2);
    EXPECT_EQ(changes, 1);
    box.SetItemIndex(7);  // out of range: nothing chosen
    EXPECT_EQ(box.ItemIndex(), -1);
    // Inserting above the chosen item keeps the same item chosen.
    box.SetItemIndex(1);
    box.InsertItem(0, {QStringLiteral("top"), {}, 0, {}});
    EXPECT_EQ(box.Text(), "item 1");
}

TEST(SkinComboBox, KeysStepThroughTheItems) {
    TSkinComboBox box;
    Fill(box, 3);
    box.SetItemIndex(0);
    QTest::keyClick(&box, Qt::Key_Down);
    QTest::keyClick(&box, Qt::Key_Down);
    QTest::keyClick(&box, Qt::Key_Down);  // stays on the last
    EXPECT_EQ(box.ItemIndex(), 2);
    QTest::keyClick(&box, Qt::Key_Home);
    EXPECT_EQ(box.ItemIndex(), 0);
    QTest::keyClick(&box, Qt::Key_Up);
    EXPECT_EQ(box.ItemIndex(), 0);
    QTest::keyClick(&box, Qt::Key_End);
    EXPECT_EQ(box.ItemIndex(), 2);
}

TEST(SkinComboBox, TheDroppedListShowsAtMostDropDownCountRowsAndChoosesOnEnter) {
    TSkinComboBox box;
    box.resize(200, 21);
    box.show();
    Fill(box, 20);
    box.SetDropDownCount(10);
    box.SetItemIndex(4);
    int changes = 0;
    box.OnChange = [&] { ++changes; };
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(190, 10));
    ASSERT_TRUE(box.DroppedDown());
    TSkinDropDownList* list = box.DropDownList();
    EXPECT_EQ(list->Count(), 20);
    EXPECT_EQ(list->CurrentRow(), 4);
    EXPECT_EQ(list->width(), 200);
    // Ten rows fit, twenty do not.
    EXPECT_GE(list->height(), 10 * list->RowHeight());
    EXPECT_LT(list->height(), 20 * list->RowHeight());
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(box.DroppedDown());
    EXPECT_EQ(changes, 0);

    box.DropDown();
    box.DropDownList()->SetCurrentRow(7);
    QTest::keyClick(box.DropDownList(), Qt::Key_Return);
    EXPECT_FALSE(box.DroppedDown());
    EXPECT_EQ(box.ItemIndex(), 7);
    EXPECT_EQ(changes, 1);

    // An empty box drops nothing.
    box.Clear();
    box.DropDown();
    EXPECT_FALSE(box.DroppedDown());
}

TEST(SkinComboBox, TheDroppedListIsDrawnFromTheSkinsListBoxWithItsScrollBar) {
    auto skin = dorvanel::skinctrls::test::ProgramSkin();
    const auto* look = dynamic_cast<const dorvanel::skin::TDataSkinListBox*>(
        skin->Control(skin->IndexOfControl("listbox")));
    ASSERT_NE(look, nullptr);
    const QImage& sheet = *skin->Picture(look->pictureindex);
    TSkinComboBox box;
    box.SetSkinData(skin.get());
    box.resize(200, 21);
    box.show();
    Fill(box, 20);
    box.SetDropDownCount(8);
    // The last item chosen: the list shows the last page, not that item alone at its top.
    box.SetItemIndex(19);
    box.DropDown();
    TSkinDropDownList* list = box.DropDownList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->TopRow(), 20 - 8);
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(list->RowHeight(), look->itemrect.Height());
    // Twenty items in eight rows: the skinned bar stands beside the rows and moves them.
    ASSERT_FALSE(list->ScrollBar()->isHidden());
    EXPECT_EQ(list->ScrollBar()->SkinDataName(), "vscrollbar");
    EXPECT_LE(list->RowsRect().right(), list->ScrollBar()->x());
    list->ScrollBar()->SetPosition(5);
    EXPECT_EQ(list->TopRow(), 5);
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(list->TopRow(), 0);
    EXPECT_EQ(list->CurrentRow(), 0);

    // Each row shows its item picture at its left end: the focused one for the current row, the plain one
    // for the others, the hot one under the pointer.
    const QRect rows = list->RowsRect();
    const auto leftEnd = [&](int row) { return QPoint(rows.left() + 1, rows.top() + row * list->RowHeight() + 1); };
    const auto picture = [&](const dorvanel::skin::TRect& r) { return sheet.pixel(r.Left + 1, r.Top + 1); };
    QTest::mouseMove(list, leftEnd(2) + QPoint(30, 0));
    const QImage image = list->grab().toImage();
    EXPECT_EQ(list->HotRow(), 2);
    EXPECT_EQ(image.pixel(leftEnd(0)), picture(look->focusitemrect));
    EXPECT_EQ(image.pixel(leftEnd(1)), picture(look->itemrect));
    EXPECT_EQ(image.pixel(leftEnd(2)), picture(look->activeitemrect));
    QTest::mouseClick(list, Qt::LeftButton, {}, leftEnd(3) + QPoint(30, 0));
    EXPECT_FALSE(box.DroppedDown());
    EXPECT_EQ(box.ItemIndex(), 3);
}
