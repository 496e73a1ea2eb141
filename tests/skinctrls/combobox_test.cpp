#include "skinctrls/skin_combobox.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>

using dorvanel::skinctrls::TSkinComboBox;

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
    QListWidget* list = box.DropDownList();
    EXPECT_EQ(list->count(), 20);
    EXPECT_EQ(list->currentRow(), 4);
    EXPECT_EQ(list->width(), 200);
    // Ten rows fit, twenty do not.
    EXPECT_GE(list->height(), 10 * list->sizeHintForRow(0));
    EXPECT_LT(list->height(), 20 * list->sizeHintForRow(0));
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(box.DroppedDown());
    EXPECT_EQ(changes, 0);

    box.DropDown();
    box.DropDownList()->setCurrentRow(7);
    QTest::keyClick(box.DropDownList(), Qt::Key_Return);
    EXPECT_FALSE(box.DroppedDown());
    EXPECT_EQ(box.ItemIndex(), 7);
    EXPECT_EQ(changes, 1);

    // An empty box drops nothing.
    box.Clear();
    box.DropDown();
    EXPECT_FALSE(box.DroppedDown());
}
