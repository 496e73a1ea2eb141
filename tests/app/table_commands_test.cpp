// The table's popup menu and the window's shortcuts, driven by real right clicks, clicks and keys on the
// main window: every command from the menu or its key, the clipboard's two forms, the table kept on close
// and restored, a resumed Gather Data that leaves rows with counts alone, Open Results and the workbook.
#include "app/harvest_fixture.h"
#include "skindialogs/file_dialog.h"
#include "skindialogs/open_dlg_form.h"
#include "skinctrls/skin_popup_menu.h"
#include "workbench/kept_table.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMimeData>

#include <filesystem>
#include <fstream>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

class TableCommandsTest : public HarvestTest {
protected:
    void SetUp() override {
        qputenv("XDG_STATE_HOME", QByteArray::fromStdString(dir.file("state")));
        Open({"--captcha", "never"});
        window->show();
        // The shortcuts are the window's: they reach it while it is the active window.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override {
        HarvestTest::TearDown();
        qputenv("XDG_STATE_HOME", FOldState);
    }
    QByteArray FOldState = qgetenv("XDG_STATE_HOME");
    QWidget* Viewport() { return test::Control<skinctrls::TSkinListView>(*window, "lvwItems")->viewport(); }
    skinctrls::TSkinPopupMenu* Menu() {
        return window->findChild<skinctrls::TSkinPopupMenu*>(QStringLiteral("TableMenu"));
    }
    // A right click on the table: the button, then the context-menu event the window system makes of it
    // (which Qt Test's clicks do not make).
    void RightClick() {
        const QPoint at(40, 40);
        QTest::mouseClick(Viewport(), Qt::RightButton, {}, at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, Viewport()->mapToGlobal(at));
        QApplication::sendEvent(Viewport(), &event);
    }
    // Right-clicks the table and clicks the menu item with that caption (accelerator "&" left out).
    void ChooseFromMenu(const QString& caption) {
        RightClick();
        QTRY_VERIFY(Menu()->isVisible());
        int index = -1;
        for (size_t i = 0; i < Menu()->Items().size(); ++i) {
            if (QString(Menu()->Items()[i].Caption).remove(QLatin1Char('&')) == caption) index = static_cast<int>(i);
        }
        ASSERT_GE(index, 0) << caption.toStdString();
        QTest::mouseClick(Menu(), Qt::LeftButton, {}, Menu()->ItemRect(index).center());
        QCoreApplication::processEvents();
        // The offscreen platform leaves the closed popup as the application's active window; a window system
        // gives the keyboard back to the window, as this does.
        QApplication::setActiveWindow(window.get());
    }
    QStringList MenuCaptions() {
        RightClick();
        QStringList captions;
        for (const auto& item : Menu()->Items()) captions << QString(item.Caption).remove(QLatin1Char('&'));
        QTest::keyClick(Menu(), Qt::Key_Escape);
        return captions;
    }
    void Add(const QStringList& words) {
        for (const QString& word : words) window->AddTypedKeyword(word);
    }
    // Picks the file in the open dialog's list and presses Open.
    static std::function<void(QWidget*)> OpenFile(const QString& name) {
        return [name](QWidget* dlg) {
            auto* form = static_cast<skindialogs::TOpenDlgForm*>(dlg);
            for (int row = 0; row < form->FileList->Count(); ++row) {
                if (form->FileList->Entry(row).Name == name) form->FileList->SelectRow(row);
            }
            QTest::mouseClick(form->OpenButton, Qt::LeftButton, {}, QPoint(5, 5));
        };
    }
    QString Status() const { return test::Control<skinctrls::TSkinStatusPanel>(*window, "MainStatusPanel")->Caption(); }
};

TEST_F(TableCommandsTest, TheMenuListsTheCommandsInOrderAndRestoreOnlyWithAKeptTable) {
    const QStringList commands = {QStringLiteral("Copy"),
                                  QStringLiteral("Select All"),
                                  QStringLiteral("Delete Selected"),
                                  QStringLiteral("Remove Duplicates"),
                                  QStringLiteral("Gather Data for Rows Without Counts..."),
                                  QStringLiteral("Open Results...")};
    EXPECT_EQ(MenuCaptions(), commands);
    std::filesystem::create_directories(dir.file("state") + "/dorvanel");
    std::ofstream(dir.file("state") + "/dorvanel/last-table.csv") << "1,kept\n";
    EXPECT_EQ(MenuCaptions(), commands + QStringList{QStringLiteral("Restore Last Table")});
    ChooseFromMenu(QStringLiteral("Restore Last Table"));
    ASSERT_EQ(window->Items().Count(), 1);
    EXPECT_EQ(Cell(0, workbench::cellKeyword), "kept");
}

TEST_F(TableCommandsTest, CopyTakesTheSelectedElseTheTickedRowsInBothForms) {
    Add({QStringLiteral("golf"), QStringLiteral("tennis"), QStringLiteral("chess")});
    auto* list = test::Control<skinctrls::TSkinListView>(*window, "lvwItems");
    window->Items().SetChecked(1, true);
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->text(), "No\tKeywords\tSearches\tGoogle\tYahoo\tMsn\r\n2\ttennis\t\t\t\t\r\n");
    // A click on a row selects it: the selection wins over the ticks.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(2, 1)).center());
    ChooseFromMenu(QStringLiteral("Copy"));
    copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->text(), "No\tKeywords\tSearches\tGoogle\tYahoo\tMsn\r\n3\tchess\t\t\t\t\r\n");
    EXPECT_EQ(
        copied->data(QStringLiteral("text/csv")).toStdString(),
        "\"No\",\"Keywords\",\"Searches\",\"Google\",\"Yahoo\",\"Msn\"\r\n\"3\",\"chess\",\"\",\"\",\"\",\"\"\r\n");
}

TEST_F(TableCommandsTest, SelectAllDeleteSelectedAndRemoveDuplicates) {
    Add({QStringLiteral("golf"), QStringLiteral("Golf "), QStringLiteral("tennis"), QStringLiteral("GOLF")});
    ChooseFromMenu(QStringLiteral("Remove Duplicates"));
    EXPECT_EQ(window->Items().Count(), 2);
    EXPECT_EQ(Status(), "2 duplicate rows removed");
    QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(window->Items().Item(0).Checked && window->Items().Item(1).Checked);
    WhenModals({Answer(Qt::Key_Return)});
    QTest::keyClick(window.get(), Qt::Key_Delete);
    EXPECT_EQ(window->Items().Count(), 0);
}

TEST_F(TableCommandsTest, GatherDataForRowsWithoutCountsLeavesTheOthersAlone) {
    Add({QStringLiteral("done"), QStringLiteral("todo"), QStringLiteral("partly")});
    window->Items().SetSubItem(0, workbench::cellGoogle, QStringLiteral("mine"));
    window->Items().SetSubItem(2, workbench::cellMsn, QStringLiteral("7 results"));
    standin->requests(true);
    WhenModals({ChooseSearch(true)});
    ChooseFromMenu(QStringLiteral("Gather Data for Rows Without Counts..."));
    EXPECT_EQ(Cell(0, workbench::cellGoogle), "mine");
    EXPECT_TRUE(Cell(0, workbench::cellYahoo).isEmpty());
    EXPECT_EQ(Std(Cell(1, workbench::cellGoogle)), standin::ResultCount(standin::Engine::Google, "todo", true));
    EXPECT_EQ(Cell(2, workbench::cellMsn), "7 results");
    const auto requests = standin->requests();
    EXPECT_TRUE(std::all_of(requests.begin(), requests.end(),
                            [](const std::string& r) { return r.find("todo") != std::string::npos; }));
}

TEST_F(TableCommandsTest, AnUnsavedTableIsKeptOnCloseAndASavedOneIsNot) {
    Add({QStringLiteral("golf")});
    window->close();
    const std::string kept = dir.file("state") + "/dorvanel/last-table.csv";
    EXPECT_EQ(
        test::readFileBytes(kept),
        "\"No\",\"Keywords\",\"Searches\",\"Google\",\"Yahoo\",\"Msn\"\r\n\"1\",\"golf\",\"\",\"\",\"\",\"\"\r\n");
    std::filesystem::remove(kept);
    window = std::make_unique<TfrmMain>();
    window->AddTypedKeyword(QStringLiteral("saved"));
    auto* save = test::Control<skindialogs::TSkinSaveDialog>(*window, "SkinSaveDialog1");
    save->InitialDir = QString::fromStdString(dir.path().string());
    WhenModals({[](QWidget* dlg) {
        auto* form = static_cast<skindialogs::TOpenDlgForm*>(dlg);
        form->FileNameEdit->SetText(QStringLiteral("saved"));
        QTest::mouseClick(form->OpenButton, Qt::LeftButton, {}, QPoint(5, 5));
    }});
    window->btnSaveResultsClick();
    window->close();
    EXPECT_FALSE(std::filesystem::exists(kept));
}

TEST_F(TableCommandsTest, SaveResultsAsAWorkbookAndOpenResultsFromCsv) {
    Add({QStringLiteral("golf")});
    auto* save = test::Control<skindialogs::TSkinSaveDialog>(*window, "SkinSaveDialog1");
    save->InitialDir = QString::fromStdString(dir.path().string());
    WhenModals({[](QWidget* dlg) {
        auto* form = static_cast<skindialogs::TOpenDlgForm*>(dlg);
        form->FileTypeCombo->SetItemIndex(1);
        form->FileNameEdit->SetText(QStringLiteral("book"));
        QTest::mouseClick(form->OpenButton, Qt::LeftButton, {}, QPoint(5, 5));
    }});
    window->btnSaveResultsClick();
    EXPECT_EQ(test::readFileBytes(dir.file("book.xlsx")).substr(0, 2), "PK");  // a zip: the workbook

    std::ofstream(dir.file("other.csv")) << "\xEF\xBB\xBFNo;Keywords;Searches\n5;\"tennis; rackets\";12\n";
    test::Control<skindialogs::TSkinOpenDialog>(*window, "SkinOpenDialog1")->InitialDir =
        QString::fromStdString(dir.path().string());
    WhenModals({OpenFile(QStringLiteral("other.csv"))});
    ChooseFromMenu(QStringLiteral("Open Results..."));
    ASSERT_EQ(window->Items().Count(), 2);
    EXPECT_EQ(window->Items().Item(1).Caption, "2");
    EXPECT_EQ(Cell(1, workbench::cellKeyword), "tennis; rackets");
    EXPECT_EQ(Cell(1, workbench::cellSearches), "12");

    std::ofstream(dir.file("broken.csv")) << "1,a\n2,\"b\n";
    QString message;
    WhenModals({OpenFile(QStringLiteral("broken.csv")), Answer(Qt::Key_Return, &message)});
    ChooseFromMenu(QStringLiteral("Open Results..."));
    EXPECT_EQ(window->Items().Count(), 2);
    EXPECT_TRUE(message.endsWith(QStringLiteral("line 2: a quoted field starts here and never ends")))
        << message.toStdString();
}

}  // namespace
