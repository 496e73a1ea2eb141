#include "skindialogs/file_dialog.h"
#include "skindialogs/open_dlg_form.h"
#include "skindialogs/skin_message.h"
#include "support/plain/temp_dir.h"

#include "support/qt/qt_print.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <cerrno>
#include <cstring>
#include <filesystem>

using namespace dorvanel::skin;
using namespace dorvanel::skindialogs;
namespace fs = std::filesystem;

namespace {

// Runs the dialog and, once its window is up, does what the user would. A window the user left open is
// closed through its frame afterwards, so that a refused confirm shows as a false result.
bool RunWith(TSkinOpenDialog& dialog, const std::function<void(TOpenDlgForm*)>& user) {
    TSkinOpenDialog::OnDialogShown = [&](TOpenDlgForm* form) {
        QTimer::singleShot(0, form, [form, user] {
            user(form);
            QTimer::singleShot(50, form, [form] {
                if (form->isVisible()) form->close();
            });
        });
    };
    const bool result = dialog.RunDialog();
    TSkinOpenDialog::OnDialogShown = nullptr;
    return result;
}

void Type(TOpenDlgForm* form, const QString& text) { form->FileNameEdit->SetText(text); }

void Click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5)); }

void EnterInEdit(TOpenDlgForm* form) { QTest::keyClick(form->FileNameEdit->LineEdit(), Qt::Key_Return); }

QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

// A folder with two text files, a CSV file and a sub-folder.
struct Folder {
    dorvanel::test::TempDir dir;
    QString path = Q(dir.path());
    Folder() {
        for (const char* name : {"keywords.txt", "more.TXT", "table.csv"})
            dorvanel::test::writeFileBytes(dir.file(name), "x");
        fs::create_directory(dir.path() / "sub");
        dorvanel::test::writeFileBytes(dir.file("sub/inner.txt"), "x");
    }
};

QStringList Listed(TOpenDlgForm* form) {
    QStringList names;
    for (int row = 0; row < form->FileList->Count(); ++row) names.append(form->FileList->Entry(row).Name);
    return names;
}

}  // namespace

TEST(FileDialog, SaveAddsTheExtensionOfTheChosenType) {
    Folder folder;
    TSkinSaveDialog save;
    EXPECT_EQ(save.Title, "Save file");
    save.Filter = "CSV files (*.csv)|*.csv";
    save.InitialDir = folder.path;
    const std::pair<const char*, const char*> cases[] = {
        {"out", "out.csv"}, {"out.csv", "out.csv"}, {"out.txt", "out.txt.csv"}, {"out.CSV", "out.CSV"}};
    for (const auto& [typed, saved] : cases) {
        EXPECT_TRUE(RunWith(save, [typed](TOpenDlgForm* f) {
            EXPECT_EQ(f->OpenButton->Caption(), "&Save");
            Type(f, typed);
            Click(f->OpenButton);
        })) << typed;
        EXPECT_EQ(save.FileName, folder.path + "/" + saved);
    }
    // The typed name need not exist, and a selected file does not replace it.
    EXPECT_FALSE(fs::exists(folder.dir.path() / "out.csv"));
}

TEST(FileDialog, SaveWithAStarConfirmsNothingAndEnterMakesItTheMask) {
    Folder folder;
    TSkinSaveDialog save;
    save.Filter = "CSV files (*.csv)|*.csv";
    save.InitialDir = folder.path;
    save.FileName.clear();
    QStringList listed;
    EXPECT_FALSE(RunWith(save, [&](TOpenDlgForm* f) {
        EXPECT_EQ(Listed(f), QStringList({"sub", "table.csv"}));
        Type(f, "*.txt");
        Click(f->OpenButton);
        EnterInEdit(f);
        listed = Listed(f);
        EXPECT_TRUE(f->isVisible());
    }));
    EXPECT_EQ(listed, QStringList({"sub", "keywords.txt", "more.TXT"}));
    EXPECT_EQ(save.FileName, "");
}

TEST(FileDialog, OpenCheckingForTheFileNeedsASelection) {
    Folder folder;
    TSkinOpenDialog open;
    EXPECT_EQ(open.Title, "Open file");
    open.Filter = "Text files (*.txt)|*.txt";
    open.InitialDir = folder.path;
    // A name typed but nothing selected: the confirm button and Enter do nothing.
    EXPECT_FALSE(RunWith(open, [](TOpenDlgForm* f) {
        Type(f, "keywords.txt");
        Click(f->OpenButton);
        EnterInEdit(f);
    }));
    EXPECT_EQ(open.FileName, "");

    // Selecting the file puts its name in the edit; selecting a folder leaves the edit alone.
    EXPECT_TRUE(RunWith(open, [](TOpenDlgForm* f) {
        EXPECT_EQ(f->OpenButton->Caption(), "&Open");
        f->FileList->SelectRow(f->FileList->RowOf("keywords.txt"));
        EXPECT_EQ(f->FileNameEdit->Text(), "keywords.txt");
        f->FileList->SelectRow(f->FileList->RowOf("sub"));
        EXPECT_EQ(f->FileNameEdit->Text(), "keywords.txt");
        Click(f->OpenButton);  // only a folder selected: nothing
        EXPECT_TRUE(f->isVisible());
        f->FileList->SelectRow(f->FileList->RowOf("more.TXT"));
        Click(f->OpenButton);
    }));
    EXPECT_EQ(open.FileName, folder.path + "/more.TXT");
    EXPECT_EQ(open.SelectedFiles, QStringList({folder.path + "/more.TXT"}));
}

// Drops the view menu from its button and clicks the view's item in it.
void ChooseView(TOpenDlgForm* f, TViewStyle style) {
    f->ViewButton->PerformClick();
    ASSERT_TRUE(f->ViewMenu->isVisible());
    QTest::mouseClick(f->ViewMenu, Qt::LeftButton, {}, f->ViewMenu->ItemRect(int(style)).center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->FileList->ViewStyle() == style; }));
}

TEST(FileDialog, EnterInTheListOpensAFolderOrConfirmsAFileAndTheViewMenuSwitchesViews) {
    Folder folder;
    TSkinOpenDialog open;
    open.Filter = "Text files (*.txt)|*.txt";
    open.InitialDir = folder.path;
    EXPECT_TRUE(RunWith(open, [&](TOpenDlgForm* f) {
        ChooseView(f, TViewStyle::vsReport);
        EXPECT_TRUE(f->FileList->ReportView()->isVisibleTo(f));
        EXPECT_FALSE(f->FileList->IconView()->isVisibleTo(f));
        f->FileList->SelectRow(f->FileList->RowOf("sub"));
        QTest::keyClick(f->FileList->ReportView(), Qt::Key_Return);
        EXPECT_EQ(f->FileList->Folder(), folder.path + "/sub");
        ChooseView(f, TViewStyle::vsIcon);
        EXPECT_EQ(f->ViewMenu->CheckedItem(), 0);
        f->FileList->SelectRow(0);
        QTest::keyClick(f->FileList->IconView(), Qt::Key_Return);
    }));
    EXPECT_EQ(open.FileName, folder.path + "/sub/inner.txt");
    EXPECT_EQ(open.ViewStyle, TViewStyle::vsIcon);
}

TEST(FileDialog, OpenWithoutTheCheckTakesATypedName) {
    Folder folder;
    TSkinOpenDialog open;
    open.CheckFileExists = false;
    open.InitialDir = folder.path;
    EXPECT_TRUE(RunWith(open, [](TOpenDlgForm* f) {
        Type(f, "new.txt");
        EnterInEdit(f);
    }));
    EXPECT_EQ(open.FileName, folder.path + "/new.txt");
}

TEST(FileDialog, DoubleClicksOpenFoldersAndConfirmFiles) {
    Folder folder;
    TSkinOpenDialog open;
    open.Filter = "Text files (*.txt)|*.txt";
    open.InitialDir = folder.path;
    EXPECT_TRUE(RunWith(open, [&](TOpenDlgForm* f) {
        auto* view = f->FileList->IconView();
        const QRect sub = view->visualRect(view->model()->index(f->FileList->RowOf("sub"), 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, sub.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, sub.center());
        EXPECT_EQ(f->FileList->Folder(), folder.path + "/sub");
        EXPECT_EQ(f->FolderCombo->Folder(), folder.path + "/sub");
        EXPECT_EQ(f->FileList->FocusedRow(), 0);  // the first entry has the focus mark
        EXPECT_TRUE(f->FileList->SelectedRows().isEmpty());
        const QRect inner = view->visualRect(view->model()->index(0, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, inner.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, inner.center());
    }));
    EXPECT_EQ(open.FileName, folder.path + "/sub/inner.txt");
}

TEST(FileDialog, BackUpAndNewFolder) {
    Folder folder;
    fs::create_directory(folder.dir.path() / "sub" / "deeper");
    TSkinOpenDialog open;
    open.InitialDir = folder.path;
    RunWith(open, [&](TOpenDlgForm* f) {
        Click(f->BackButton);  // a history of one folder: nothing
        EXPECT_EQ(f->FileList->Folder(), folder.path);
        f->ShowFolder(folder.path + "/sub");
        f->ShowFolder(folder.path + "/sub/deeper");
        Click(f->UpButton);
        EXPECT_EQ(f->FileList->Folder(), folder.path + "/sub");
        EXPECT_EQ(f->History().Entries(),
                  QStringList({folder.path, folder.path + "/sub", folder.path + "/sub/deeper", folder.path + "/sub"}));
        // Back shows the second-to-last folder and takes it out of the history.
        Click(f->BackButton);
        EXPECT_EQ(f->FileList->Folder(), folder.path + "/sub/deeper");
        EXPECT_EQ(f->History().Entries(), QStringList({folder.path, folder.path + "/sub", folder.path + "/sub"}));
        Click(f->BackButton);
        EXPECT_EQ(f->FileList->Folder(), folder.path + "/sub");
        Click(f->BackButton);
        EXPECT_EQ(f->FileList->Folder(), folder.path);
        EXPECT_EQ(f->History().Entries(), QStringList({folder.path + "/sub"}));

        Click(f->NewFolderButton);
        EXPECT_TRUE(fs::is_directory(folder.dir.path() / "New Folder"));
        EXPECT_EQ(Listed(f), QStringList({"New Folder", "sub", "keywords.txt", "more.TXT", "table.csv"}));
        Click(f->NewFolderButton);  // already there: nothing more
        EXPECT_EQ(f->FileList->Count(), 5);
    });
}

TEST(FileDialog, ANewFolderThatCannotBeMadeIsReportedThroughTheMessage) {
    Folder folder;
    dorvanel::test::writeFileBytes(folder.dir.file("New Folder"), "in the way");
    TSkinMessage messages;
    QString shown;
    TSkinMessage::OnDialogShown = [&](TMessageForm* m) {
        shown = m->findChild<dorvanel::skinctrls::TSkinStdLabel*>("Message")->Caption();
        QTimer::singleShot(0, m, [m] { m->close(); });
    };
    TSkinOpenDialog open;
    open.SetMessages(&messages);
    open.InitialDir = folder.path;
    RunWith(open, [](TOpenDlgForm* f) { Click(f->NewFolderButton); });
    TSkinMessage::OnDialogShown = nullptr;
    EXPECT_EQ(shown, QString::fromLocal8Bit(std::strerror(EEXIST)));
}

TEST(FileDialog, NextCallStartsWhereTheLastEnded) {
    Folder folder;
    TSkinOpenDialog open;
    // First call with nothing set: the program's own folder.
    RunWith(open, [](TOpenDlgForm* f) {
        EXPECT_EQ(f->FileList->Folder(), QDir::cleanPath(QCoreApplication::applicationDirPath()));
        f->FileList->SetFolder(f->FileList->Folder());
    });
    open.InitialDir = folder.path;
    EXPECT_TRUE(RunWith(open, [](TOpenDlgForm* f) {
        f->ShowFolder(f->FileList->Folder() + "/sub");
        f->FileList->SelectRow(0);
        f->SetViewStyle(TViewStyle::vsReport);
        f->SetClientSize(600, 400);
        Click(f->OpenButton);
    }));
    EXPECT_EQ(open.DialogWidth, 600);
    EXPECT_EQ(open.DialogHeight, 400);
    EXPECT_EQ(open.ViewStyle, TViewStyle::vsReport);
    RunWith(open, [&](TOpenDlgForm* f) {
        EXPECT_EQ(f->FileList->Folder(), folder.path + "/sub");
        EXPECT_EQ(f->FileNameEdit->Text(), "inner.txt");
        EXPECT_EQ(f->SkinFrame1->ClientSize(), QSize(600, 400));
        EXPECT_EQ(f->FileList->ViewStyle(), TViewStyle::vsReport);
        EXPECT_EQ(f->ViewMenu->CheckedItem(), 3);
        EXPECT_EQ(f->focusWidget(), f->FileNameEdit->LineEdit());
    });
    // A folder removed since is passed over for the next start.
    fs::remove_all(folder.dir.path() / "sub");
    RunWith(open, [&](TOpenDlgForm* f) { EXPECT_EQ(f->FileList->Folder(), folder.path); });
}

TEST(FileDialog, FilterIndexAndFileTypes) {
    Folder folder;
    TSkinOpenDialog open;
    open.InitialDir = folder.path;
    open.Filter = "Text files (*.txt)|*.txt|CSV files (*.csv)|*.csv";
    open.FilterIndex = 2;
    RunWith(open, [](TOpenDlgForm* f) {
        EXPECT_EQ(f->FileTypeCombo->Count(), 2);
        EXPECT_EQ(f->FileTypeCombo->Text(), "CSV files (*.csv)");
        EXPECT_EQ(Listed(f), QStringList({"sub", "table.csv"}));
        f->FileTypeCombo->ChooseItem(0);  // another type lists the folder again
        EXPECT_EQ(Listed(f), QStringList({"sub", "keywords.txt", "more.TXT"}));
    });
    EXPECT_EQ(open.FilterIndex, 1);  // kept although cancelled

    // 0, and an index past the entries, choose the last entry, whose mask applies.
    for (int index : {0, 3, -7}) {
        open.FilterIndex = index;
        RunWith(open, [](TOpenDlgForm* f) {
            EXPECT_EQ(f->FileTypeCombo->ItemIndex(), 1);
            EXPECT_EQ(f->FileList->Mask(), "*.csv");
        });
        EXPECT_EQ(open.FilterIndex, 2);
    }

    // A filter without "|" has no entries: every file is listed.
    open.Filter = "*.txt";
    open.FilterIndex = 1;
    RunWith(open, [](TOpenDlgForm* f) {
        EXPECT_EQ(f->FileTypeCombo->Count(), 0);
        EXPECT_EQ(f->FileList->Mask(), "*.*");
        EXPECT_EQ(f->FileList->Count(), 4);
    });
}

TEST(FileDialog, CancelAndEscapeLeaveTheFileName) {
    Folder folder;
    TSkinOpenDialog open;
    open.InitialDir = folder.path;
    open.FileName = "/kept/name.txt";
    EXPECT_FALSE(RunWith(open, [](TOpenDlgForm* f) {
        f->FileList->SelectRow(f->FileList->RowOf("keywords.txt"));
        Click(f->CancelButton);
    }));
    EXPECT_EQ(open.FileName, "/kept/name.txt");
    EXPECT_FALSE(RunWith(open, [](TOpenDlgForm* f) { QTest::keyClick(f->FileNameEdit->LineEdit(), Qt::Key_Escape); }));
    EXPECT_EQ(open.FileName, "/kept/name.txt");
}

TEST(FileDialog, EnterWithASlashOpensThatFolder) {
    Folder folder;
    TSkinOpenDialog open;
    open.InitialDir = folder.path;
    RunWith(open, [&](TOpenDlgForm* f) {
        Type(f, folder.path + "/sub");
        EnterInEdit(f);
        EXPECT_EQ(f->FileList->Folder(), folder.path + "/sub");
        Type(f, "/no/such/folder");
        EnterInEdit(f);
        EXPECT_EQ(f->FileList->Folder(), folder.path + "/sub");
        EXPECT_TRUE(f->isVisible());
    });
}

TEST(FileDialog, ControlsFollowTheWindowsRightEdge) {
    Folder folder;
    TSkinSaveDialog save;
    save.InitialDir = folder.path;
    save.DialogWidth = 520;
    RunWith(save, [](TOpenDlgForm* f) {
        const int w = f->BottomPanel->width();
        EXPECT_EQ(w, 520);
        EXPECT_EQ(f->BottomPanel->height(), 80);
        EXPECT_EQ(f->FileNameEdit->geometry(), QRect(70, 10, w - 90 - 70, 21));
        EXPECT_EQ(f->FileTypeCombo->geometry(), QRect(70, 45, w - 90 - 70, 21));
        EXPECT_LT(f->FileNameLabel->x() + f->FileNameLabel->width(), 70);
        EXPECT_LT(f->FileTypeLabel->x() + f->FileTypeLabel->width(), 70);
        EXPECT_EQ(f->OpenButton->geometry(), QRect(w - 80, 10, 70, 25));
        EXPECT_EQ(f->CancelButton->geometry(), QRect(w - 80, 45, 70, 25));
        EXPECT_EQ(f->ToolBar->height(), 25);
        EXPECT_EQ(f->ViewButton->geometry(), QRect(w - 37, 0, 37, 25));
        EXPECT_EQ(f->NewFolderButton->x(), w - 37 - 10 - 27);
        EXPECT_EQ(f->BackButton->toolTip(), "Go To Last Folder Visited");
        EXPECT_EQ(f->VScrollBar->width(), 19);
        EXPECT_EQ(f->HScrollBar->height(), 19);
        EXPECT_EQ(f->FolderCombo->x() + f->FolderCombo->width(), f->BackButton->x() - 4);
    });
}

TEST(FileDialog, ResourceStringsReplaceTheTexts) {
    TSkinData skin;
    TResourceStrData strings;
    strings.SetResStr("MSG_BTN_OPEN", "&Öffnen");
    strings.SetResStr("FLV_LOOKIN", "Suchen in: ");
    skin.SetResourceStrData(&strings);
    TOpenDlgForm form(false, &skin);
    EXPECT_EQ(form.OpenButton->Caption(), "&Öffnen");
    EXPECT_EQ(form.LookInLabel->Caption(), "Suchen in: ");
    EXPECT_EQ(form.CancelButton->Caption(), "");  // not in the strings: empty
}

// Pictures of both windows in every view and of the drop-downs, on request (DORVANEL_SCREENSHOTS=<folder>).
TEST(FileDialog, Screenshots) {
    const QString shots = qEnvironmentVariable("DORVANEL_SCREENSHOTS");
    if (shots.isEmpty()) GTEST_SKIP() << "set DORVANEL_SCREENSHOTS to a folder to take them";
    Folder folder;
    TSkinOpenDialog open;
    open.Filter = "Text files (*.txt)|*.txt";
    open.InitialDir = folder.path;
    RunWith(open, [&](TOpenDlgForm* f) {
        f->FileList->SelectRow(f->FileList->RowOf("keywords.txt"));
        f->grab().save(shots + "/open_dialog.png");
        f->ViewButton->PerformClick();
        f->ViewMenu->grab().save(shots + "/view_menu.png");
        f->ViewMenu->close();
    });
    TSkinSaveDialog save;
    save.Filter = "CSV files (*.csv)|*.csv|All files|*.*";
    save.InitialDir = folder.path;
    RunWith(save, [&](TOpenDlgForm* f) {
        const char* names[] = {"save_icons", "save_small", "save_list", "save_details"};
        for (int i = 0; i < 4; ++i) {
            f->SetViewStyle(static_cast<TViewStyle>(i));
            f->grab().save(shots + "/" + names[i] + ".png");
        }
        f->FolderCombo->DropDown();
        f->FolderCombo->DropDownList()->grab().save(shots + "/folder_combo.png");
        f->FolderCombo->CloseUp();
    });
}

TEST(FileDialog, MultiSelectionKeepsEverySelectedFileAndFolderChangesAreAnnounced) {
    Folder folder;
    TSkinOpenDialog open;
    open.MultiSelection = true;
    open.InitialDir = folder.path;
    int announced = 0;
    open.OnFolderChange = [&] { ++announced; };
    EXPECT_TRUE(RunWith(open, [&](TOpenDlgForm* f) {
        announced = 0;
        auto* selection = f->FileList->IconView()->selectionModel();
        for (const char* name : {"sub", "keywords.txt", "table.csv"})
            selection->select(f->FileList->IconView()->model()->index(f->FileList->RowOf(name), 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
        EXPECT_EQ(announced, 3);
        f->ShowFolder(folder.path + "/sub");
        EXPECT_EQ(announced, 4);
        f->GoBack();
        f->FileList->SelectRow(f->FileList->RowOf("keywords.txt"));
        selection->select(f->FileList->IconView()->model()->index(f->FileList->RowOf("table.csv"), 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        Click(f->OpenButton);
    }));
    EXPECT_EQ(open.FileName, folder.path + "/keywords.txt");
    EXPECT_EQ(open.SelectedFiles, QStringList({folder.path + "/keywords.txt", folder.path + "/table.csv"}));
}
