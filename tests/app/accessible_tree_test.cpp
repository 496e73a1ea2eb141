// The main window and the dialogs as a screen reader reads them through Qt's accessibility layer: every
// command by role and name, the table with its header, rows and check boxes, the status panels, the edits by
// their labels; and the order in which the keyboard reaches them.
#include "app/main_window.h"

#include "app/window_access.h"
#include "skinctrls/skin_checkbox.h"
#include "skinctrls/skin_listview.h"
#include "workbench/entry_dialogs.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>

#include <vector>

using namespace dorvanel;
using dorvanel::app::TfrmMain;

namespace {

QAccessibleInterface* Read(QObject* o) { return QAccessible::queryAccessibleInterface(o); }

// The first object under root with this role and name, depth first.
QAccessibleInterface* Find(QAccessibleInterface* root, QAccessible::Role role, const QString& name) {
    if (!root) return nullptr;
    if (root->role() == role && root->text(QAccessible::Name) == name) return root;
    for (int i = 0; i < root->childCount(); ++i)
        if (QAccessibleInterface* found = Find(root->child(i), role, name)) return found;
    return nullptr;
}

TEST(AccessibleTree, TheMainWindowsCommandsTableAndStatusAreReadByRoleAndName) {
    TfrmMain w;
    w.show();
    QAccessibleInterface* window = Read(&w);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Dorvanel");
    for (const char* name : {"Main Keyword", "Gather Keywords", "Add Keywords", "Gather Data", "Save Results",
                             "Make Money", "Select All", "Clear Selection", "Delete Selected", "Delete All", "Close",
                             "Minimize", "Maximize"}) {
        QAccessibleInterface* button = Find(window, QAccessible::Button, QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(button->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
    EXPECT_NE(Find(window, QAccessible::StatusBar, QStringLiteral("0 item listed")), nullptr);
    EXPECT_NE(Find(window, QAccessible::ProgressBar, QString()), nullptr);
    EXPECT_NE(Find(window, QAccessible::Link, QStringLiteral("Google")), nullptr);

    w.Items().Add(QStringLiteral("1"), {QStringLiteral("golf clubs"), QStringLiteral("1,000")}, true);
    w.Items().Add(QStringLiteral("2"), {QStringLiteral("golf balls"), QString()}, false);
    QAccessibleInterface* table = Read(test::Control<skinctrls::TSkinListView>(w, "lvwItems"));
    ASSERT_NE(table->tableInterface(), nullptr);
    QAccessibleTableInterface* cells = table->tableInterface();
    EXPECT_EQ(cells->columnCount(), 6);
    // The tree lays its rows out once the event loop runs, as it does before a screen reader asks.
    EXPECT_TRUE(QTest::qWaitFor([&] { return cells->rowCount() == 2; }));
    const char* headers[] = {"No", "Keywords", "Searches", "Google", "Yahoo", "Msn"};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(cells->columnDescription(c), headers[c]);
    EXPECT_EQ(cells->cellAt(0, 1)->text(QAccessible::Name), "golf clubs");
    EXPECT_EQ(cells->cellAt(0, 2)->text(QAccessible::Name), "1,000");
    EXPECT_TRUE(cells->cellAt(0, 0)->state().checked);
    EXPECT_FALSE(cells->cellAt(1, 0)->state().checked);
}

TEST(AccessibleTree, EachEntryDialogsFieldsAreNamedByTheirLabelsAndItsButtonsByTheirCaptions) {
    TfrmMain w;
    auto* skin = w.findChild<skin::TSkinData*>(QStringLiteral("SkinData1"));
    skindialogs::TSkinMessage msg;
    workbench::TfrmMainKeyword mainKeyword(skin, &msg);
    workbench::TfrmAddKeywords addKeywords(skin, &msg);
    workbench::TfrmSelSearch selSearch(skin, &msg);
    const struct {
        QWidget* dialog;
        QAccessible::Role role;
        std::vector<QString> names;
    } cases[] = {
        {&mainKeyword, QAccessible::EditableText, {"Please type the main keyword(s) Eg: golf, soccer:"}},
        {&addKeywords,
         QAccessible::EditableText,
         {"Please type keyword(s) Eg: golf, soccer:",
          "Or add a file with a keyword list (one group of keywords per line):"}},
        {&selSearch,
         QAccessible::CheckBox,
         {"Precise Search Eg: \"golf clubs\" Should appear the word in the same order.",
          "Broad Search Eg: golf clubs, any word no matther the order or position in the text."}},
    };
    for (const auto& c : cases) {
        c.dialog->show();
        QAccessibleInterface* dialog = Read(c.dialog);
        EXPECT_EQ(dialog->role(), QAccessible::Dialog);
        for (const QString& name : c.names) EXPECT_NE(Find(dialog, c.role, name), nullptr) << name.toStdString();
        for (const char* button : {"Ok", "Cancel", "Close"})
            EXPECT_NE(Find(dialog, QAccessible::Button, QString::fromLatin1(button)), nullptr) << button;
        c.dialog->hide();
    }
    // The two search types are reached from the keyboard.
    EXPECT_TRUE(selSearch.SkinCheckRadioBox1->focusPolicy() & Qt::TabFocus);
    EXPECT_TRUE(selSearch.SkinCheckRadioBox2->focusPolicy() & Qt::TabFocus);
}

}  // namespace
