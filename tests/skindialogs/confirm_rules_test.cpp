#include "skindialogs/confirm_rules.h"
#include "skindialogs/folder_history.h"
#include "support/plain/temp_dir.h"

#include "support/qt/qt_print.h"

#include <gtest/gtest.h>

using namespace dorvanel::skindialogs;

namespace {

TConfirmState State(bool save, bool check, const QString& folder, const QString& edit, const QString& selected) {
    TConfirmState s;
    s.SaveDialog = save;
    s.CheckFileExists = check;
    s.Folder = folder;
    s.EditText = edit;
    s.SelectedFile = selected;
    return s;
}

}  // namespace

TEST(ConfirmRules, OpenDialogCheckingForTheFileNeedsASelectedFileThatExists) {
    dorvanel::test::TempDir dir;
    const QString folder = QString::fromStdString(dir.path().string());
    dorvanel::test::writeFileBytes(dir.file("list.txt"), "a\r\n");
    const QString file = folder + "/list.txt";

    // A name typed but nothing selected: nothing happens.
    EXPECT_FALSE(ConfirmedPath(State(false, true, folder, "list.txt", {})));
    EXPECT_EQ(ConfirmedPath(State(false, true, folder, "list.txt", file)).value_or(""), file);
    // The selected file has gone meanwhile.
    EXPECT_FALSE(ConfirmedPath(State(false, true, folder, "gone.txt", folder + "/gone.txt")));
    // An empty edit refuses even with a selection.
    EXPECT_FALSE(ConfirmedPath(State(false, true, folder, "", file)));
}

TEST(ConfirmRules, OpenDialogWithoutTheCheckTakesTheSelectionOrTheTypedName) {
    EXPECT_EQ(ConfirmedPath(State(false, false, "/d", "typed.txt", "/d/sel.txt")).value_or(""), "/d/sel.txt");
    EXPECT_EQ(ConfirmedPath(State(false, false, "/d", "typed.txt", {})).value_or(""), "/d/typed.txt");
    EXPECT_EQ(ConfirmedPath(State(false, false, "/", "typed.txt", {})).value_or(""), "/typed.txt");
    EXPECT_FALSE(ConfirmedPath(State(false, false, "/d", "", {})));
}

TEST(ConfirmRules, SaveDialogJoinsFolderAndNameAndRefusesAStar) {
    EXPECT_EQ(ConfirmedPath(State(true, true, "/d", "out", {})).value_or(""), "/d/out");
    // The file check has no effect in a save dialog, and the typed name wins over a selection.
    EXPECT_EQ(ConfirmedPath(State(true, false, "/d/", "out.csv", "/d/x.csv")).value_or(""), "/d/out.csv");
    EXPECT_FALSE(ConfirmedPath(State(true, true, "/d", "*.csv", {})));
    EXPECT_FALSE(ConfirmedPath(State(true, true, "/d", "", {})));
}

TEST(FolderHistory, BackTakesTheSecondToLastAndRemovesIt) {
    TFolderHistory history;
    history.Visit("/a");
    EXPECT_FALSE(history.Back());  // one folder: nothing to go back to
    history.Visit("/a");           // the same folder again is not noted
    history.Visit("/b");
    history.Visit("/c");
    history.Visit("/x", true);  // a change made by back itself is not noted
    EXPECT_EQ(history.Entries(), QStringList({"/a", "/b", "/c"}));
    EXPECT_EQ(history.Back().value_or(""), "/b");
    EXPECT_EQ(history.Entries(), QStringList({"/a", "/c"}));
    EXPECT_EQ(history.Back().value_or(""), "/a");
    EXPECT_FALSE(history.Back());
}
