#include "app/main_window.h"

#include "app/window_access.h"
#include "skindialogs/open_dlg_form.h"
#include "skinctrls/skin_edit.h"
#include "support/plain/temp_dir.h"
#include "support/qt/modal.h"
#include "workbench/keyword_table.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <filesystem>
#include <sys/stat.h>

using namespace dorvanel;
using dorvanel::app::TfrmMain;
using dorvanel::test::PressKey;
using dorvanel::test::WhenModals;

namespace {

QStringList Keywords(TfrmMain& w) {
    QStringList out;
    for (int i = 0; i < w.Items().Count(); ++i) out << w.Items().Item(i).SubItem(workbench::cellKeyword);
    return out;
}

std::function<void(QWidget*)> Answer(int key, QString* text = nullptr) {
    return [key, text](QWidget* box) {
        if (text) *text = box->findChild<skinctrls::TSkinStdLabel*>(QStringLiteral("Message"))->Caption();
        PressKey(box, key);
    };
}

}  // namespace

TEST(MainWindow, ControlsSitWhereTheWindowPlacesThem) {
    // With the default skin applied: buttons take the skin's 21 pixels, the status bar its 24, and the
    // status bar's children sit 20 high in its inner area, from x 10 to the width - 10.
    TfrmMain w;
    w.show();
    ASSERT_FALSE(w.findChild<skin::TSkinData*>(QStringLiteral("SkinData1"))->SkinEmpty());
    EXPECT_EQ(test::Frame(w)->ClientSize(), QSize(644, 455));
    EXPECT_EQ(w.windowTitle(), "Dorvanel");
    // With the default skin applied: buttons take the skin's 21 pixels, the status bar its 24, and the
    // status bar's children sit 20 high in its inner area, from x 10 to the width - 10.
    EXPECT_EQ(test::Control<skinctrls::TSkinPanel>(w, "SkinPanel1")->geometry(), QRect(0, 0, 644, 33));
    EXPECT_EQ(test::Control<skinctrls::TSkinButton>(w, "btnMainKeyword")->geometry(), QRect(7, 7, 99, 21));
    EXPECT_EQ(test::Control<skinctrls::TSkinButton>(w, "btnMakeMoney")->geometry(), QRect(516, 7, 98, 21));
    EXPECT_EQ(test::Control<skinctrls::TSkinButton>(w, "btnGatherData")->Caption(), "Gather Data");
    EXPECT_EQ(test::Control<skinctrls::TSkinPanel>(w, "panBanner")->geometry(), QRect(0, 33, 644, 65));
    EXPECT_EQ(test::Control<skinctrls::TSkinPanel>(w, "SkinPanel3")->geometry(), QRect(0, 98, 644, 279));
    EXPECT_EQ(test::Control<skinctrls::TSkinPanel>(w, "SkinPanel4")->geometry(), QRect(0, 377, 644, 54));
    EXPECT_EQ(test::Control<skinctrls::TSkinButton>(w, "SkinButton3")->geometry(), QRect(215, 7, 100, 21));
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusBar>(w, "SkinStatusBar1")->geometry(), QRect(0, 431, 644, 24));
    EXPECT_EQ(test::Control<skinctrls::TSkinGauge>(w, "MainGauge")->geometry(), QRect(504, 2, 130, 20));
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "SecondStatusPanel")->geometry(), QRect(422, 2, 82, 20));
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "SkinStatusPanel1")->geometry(), QRect(262, 2, 160, 20));
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")->geometry(), QRect(10, 2, 252, 20));
    EXPECT_EQ(test::Control<skinctrls::TSkinLinkLabel>(w, "lblLink1URL")->Caption(), "Google");
    EXPECT_EQ(test::Control<skinctrls::TSkinLinkLabel>(w, "lblLink2URL")->geometry().right(), 592 + 34 - 1);
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "SecondStatusPanel")->Caption(), "0 item listed");
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "SkinStatusPanel1")->Caption(), "Main Keyword: ");
    EXPECT_EQ(test::Control<skinctrls::TSkinGauge>(w, "MainGauge")->DisplayText(), "0%");
    EXPECT_EQ(test::Control<skinctrls::TSkinGauge>(w, "MainGauge")->SkinDataName(), "statusgauge");
    EXPECT_FALSE(test::Control<skinctrls::TSkinScrollBar>(w, "SkinScrollBar1")->isVisible());
    EXPECT_FALSE(test::Control<skinctrls::TSkinScrollBar>(w, "SkinScrollBar2")->isVisible());
    EXPECT_EQ(w.SortState().SortColumn, -1);
    EXPECT_TRUE(w.SortState().SortAscending);
    ASSERT_EQ(w.Items().ColumnCount(), 6);
}

TEST(MainWindow, BannerControlsAreCentredOnShowAndResize) {
    TfrmMain w;
    w.show();
    // Both take the still banner's 105 x 105 rectangle: left 644/2 - 105/2 = 270, top 65/2 - 105/2 = -20.
    EXPECT_EQ(test::Control<QLabel>(w, "imgBanner")->geometry(), QRect(270, -20, 105, 105));
    EXPECT_EQ(test::Control<images::TGIFAnimator>(w, "gifBanner")->geometry(), QRect(270, -20, 105, 105));
    test::Frame(w)->SetClientSize(801, 455);
    QCoreApplication::processEvents();
    EXPECT_EQ(test::Control<skinctrls::TSkinPanel>(w, "panBanner")->width(), 801);
    EXPECT_EQ(test::Control<QLabel>(w, "imgBanner")->x(), 400 - 52);
    EXPECT_EQ(test::Control<skinctrls::TSkinLinkLabel>(w, "lblLink2URL")->geometry().right(),
              592 + 34 - 1 + 157);  // anchored to the right edge
}

TEST(MainWindow, MainKeywordIsSetThroughItsDialogAndCancelChangesNothing) {
    TfrmMain w;
    test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")
        ->SetCaption(QStringLiteral("Process completed sucessfull!"));
    WhenModals({[](QWidget* dlg) {
        auto* edit = dlg->findChild<skinctrls::TSkinEdit*>(QStringLiteral("edtMainKeyword"));
        edit->SetText(QStringLiteral("golf, soccer"));
        QTest::mouseClick(dlg->findChild<skinctrls::TSkinButton*>(QStringLiteral("btnOk")), Qt::LeftButton, {},
                          QPoint(5, 5));
    }});
    w.btnMainKeywordClick();
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "SkinStatusPanel1")->Caption(),
              "Main Keyword: golf, soccer");
    EXPECT_TRUE(test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")->Caption().isEmpty());
    EXPECT_EQ(w.Items().Count(), 0);

    // The dialog opens empty again; Cancel keeps the keyword.
    QString shown = QStringLiteral("unset");
    WhenModals({[&](QWidget* dlg) {
        shown = dlg->findChild<skinctrls::TSkinEdit*>(QStringLiteral("edtMainKeyword"))->Text();
        PressKey(dlg, Qt::Key_Escape);
    }});
    w.btnMainKeywordClick();
    EXPECT_TRUE(shown.isEmpty());
}

TEST(MainWindow, TypedKeywordAndListImportAddRowsWithTheirStatusTexts) {
    test::TempDir dir;
    const std::string list = dir.file("list.txt");
    test::writeFileBytes(list, "a\r\n\r\nb\r\n");
    TfrmMain w;
    WhenModals({[](QWidget* dlg) {
        dlg->findChild<skinctrls::TSkinEdit*>(QStringLiteral("edtAddKeyword"))->SetText(QStringLiteral("golf, soccer"));
        QTest::mouseClick(dlg->findChild<skinctrls::TSkinButton*>(QStringLiteral("btnOk")), Qt::LeftButton, {},
                          QPoint(5, 5));
    }});
    w.btnAddKeywordClick();
    EXPECT_EQ(Keywords(w), QStringList{"golf, soccer"});
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "SecondStatusPanel")->Caption(), "1 items listed");

    WhenModals({[&](QWidget* dlg) {
        dlg->findChild<skinctrls::TSkinEdit*>(QStringLiteral("edtList"))->SetText(QString::fromStdString(list));
        QTest::mouseClick(dlg->findChild<skinctrls::TSkinButton*>(QStringLiteral("btnOk")), Qt::LeftButton, {},
                          QPoint(5, 5));
    }});
    w.btnAddKeywordClick();
    EXPECT_EQ(Keywords(w), (QStringList{"golf, soccer", "a", "", "b"}));
    EXPECT_EQ(w.Items().Item(3).Caption, "4");
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "SecondStatusPanel")->Caption(), "Total: 4");
}

TEST(MainWindow, DeleteConfirmationsAnsweredBothWays) {
    TfrmMain w;
    for (const char* k : {"a", "b", "c"}) w.AddTypedKeyword(QString::fromLatin1(k));
    w.Items().SetChecked(1, true);

    QString question;
    WhenModals({Answer(Qt::Key_Escape, &question)});
    w.SkinButton3Click();
    EXPECT_EQ(question, "Are you sure do you want to delete the selected keywords?");
    EXPECT_EQ(w.Items().Count(), 3);
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "SecondStatusPanel")->Caption(), "3 items listed");

    WhenModals({Answer(Qt::Key_Return)});
    w.SkinButton3Click();
    EXPECT_EQ(Keywords(w), (QStringList{"a", "c"}));
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "SecondStatusPanel")->Caption(), "2 items listed");

    WhenModals({Answer(Qt::Key_Escape, &question)});
    w.SkinButton4Click();
    EXPECT_EQ(question, "Are you sure do you want to delete all?");
    EXPECT_EQ(w.Items().Count(), 2);

    WhenModals({Answer(Qt::Key_Return)});
    w.SkinButton4Click();
    EXPECT_EQ(w.Items().Count(), 0);
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "SecondStatusPanel")->Caption(), "0 items listed");

    // Asked also on an empty table.
    question.clear();
    WhenModals({Answer(Qt::Key_Return, &question)});
    w.SkinButton3Click();
    EXPECT_FALSE(question.isEmpty());
}

TEST(MainWindow, SelectAllAndClearSelectionTickEveryRow) {
    TfrmMain w;
    for (const char* k : {"a", "b"}) w.AddTypedKeyword(QString::fromLatin1(k));
    w.SkinButton1Click();
    EXPECT_TRUE(w.Items().Item(0).Checked && w.Items().Item(1).Checked);
    w.SkinButton2Click();
    EXPECT_FALSE(w.Items().Item(0).Checked || w.Items().Item(1).Checked);
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "SecondStatusPanel")->Caption(), "2 items listed");
}

TEST(MainWindow, ColumnClicksToggleTheDirectionAcrossColumns) {
    TfrmMain w;
    w.AddTypedKeyword(QStringLiteral("b"));
    w.AddTypedKeyword(QStringLiteral("a"));
    w.Items().SetSubItem(0, workbench::cellGoogle, QStringLiteral("1,000"));
    w.Items().SetSubItem(1, workbench::cellGoogle, QStringLiteral("20"));
    w.lvwItemsColumnClick(1);
    EXPECT_EQ(Keywords(w), (QStringList{"a", "b"}));
    w.lvwItemsColumnClick(1);
    EXPECT_EQ(Keywords(w), (QStringList{"b", "a"}));
    w.lvwItemsColumnClick(3);  // descending carries over: 1,000 first
    EXPECT_EQ(Keywords(w), (QStringList{"b", "a"}));
    w.lvwItemsColumnClick(3);
    EXPECT_EQ(Keywords(w), (QStringList{"a", "b"}));
    EXPECT_EQ(w.SortState().SortColumn, 3);
    EXPECT_TRUE(w.SortState().SortAscending);
}

TEST(MainWindow, SaveResults) {
    test::TempDir dir;
    TfrmMain w;
    QString text;
    EXPECT_EQ(test::Control<skindialogs::TSkinSaveDialog>(w, "SkinSaveDialog1")->Title, "Save file");
    EXPECT_EQ(test::Control<skindialogs::TSkinSaveDialog>(w, "SkinSaveDialog1")->Filter,
              "CSV files (*.csv)|*.csv|Excel workbook (*.xlsx)|*.xlsx");
    test::Control<skindialogs::TSkinSaveDialog>(w, "SkinSaveDialog1")->InitialDir =
        QString::fromStdString(dir.path().string());
    test::Control<skindialogs::TSkinSaveDialog>(w, "SkinSaveDialog1")->FileName.clear();
    WhenModals({Answer(Qt::Key_Return, &text)});
    w.btnSaveResultsClick();  // no rows: a message, no dialog
    EXPECT_EQ(text, "You don't have any data to save.");

    w.AddTypedKeyword(QStringLiteral("golf"));
    WhenModals({[](QWidget* dlg) { PressKey(dlg, Qt::Key_Escape); }});
    w.btnSaveResultsClick();  // cancelled: nothing written
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.csv")));

    const std::string out = dir.file("out.csv");
    auto save = [](const QString& name) {
        return [name](QWidget* dlg) {
            auto* form = static_cast<skindialogs::TOpenDlgForm*>(dlg);
            form->FileNameEdit->SetText(name);
            QTest::mouseClick(form->OpenButton, Qt::LeftButton, {}, QPoint(5, 5));
        };
    };
    WhenModals({save(QStringLiteral("out"))});  // the extension is added
    w.btnSaveResultsClick();
    EXPECT_EQ(
        test::readFileBytes(out),
        "\"No\",\"Keywords\",\"Searches\",\"Google\",\"Yahoo\",\"Msn\"\r\n\"1\",\"golf\",\"\",\"\",\"\",\"\"\r\n");

    // A failure is reported and leaves the file as it was.
    const std::string before = test::readFileBytes(out);
    ::chmod(out.c_str(), 0444);
    QString replace;
    WhenModals({save(QStringLiteral("out.csv")), Answer(Qt::Key_Return, &replace), Answer(Qt::Key_Return, &text)});
    w.AddTypedKeyword(QStringLiteral("tennis"));
    w.btnSaveResultsClick();
    EXPECT_EQ(replace, "out.csv already exists. Do you want to replace it?");
    EXPECT_EQ(text, "Could not save the file: Permission denied");
    EXPECT_EQ(test::readFileBytes(out), before);

    // No keeps the dialog open; a typed absolute name is used as it stands, not joined to the folder shown.
    test::TempDir other;
    const std::string typed = other.file("typed.csv");
    bool askedAgain = false;
    WhenModals({save(QStringLiteral("out.csv")), Answer(Qt::Key_Escape), [&](QWidget* dlg) {
                    askedAgain = true;
                    save(QString::fromStdString(typed))(dlg);
                }});
    w.btnSaveResultsClick();
    EXPECT_TRUE(askedAgain);
    EXPECT_EQ(test::readFileBytes(out), before);
    EXPECT_NE(test::readFileBytes(typed).find("tennis"), std::string::npos);
}

TEST(MainWindow, TheKeyboardReachesTheTableItsHeaderAndEveryCommandButtonInTheirOrder) {
    TfrmMain w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QWidget* table = w.findChild<QWidget*>(QStringLiteral("lvwItems"));
    table->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table->hasFocus(); }));
    QStringList reached;
    for (int i = 0; i < 11; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(reached, QStringList({"lvwItemsHeader", "btnMainKeyword", "btnGatherKeyword", "btnAddKeyword", "btnGatherData",
                                    "btnSaveResults", "btnMakeMoney", "SkinButton1", "SkinButton2", "SkinButton3",
                                    "SkinButton4"}));
}
