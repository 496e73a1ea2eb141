// The harvest's sharp edges, driven as a user drives them: closing the window mid-transfer, rows deleted
// meanwhile, a second command, a header click, a scratch file that cannot be made.
#include "app/harvest_fixture.h"

#include "skinctrls/skin_listview.h"
#include "workbench/table_operations.h"

#include <QApplication>
#include <QHeaderView>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

// Runs `action` once, as soon as the stand-in has received a request whose target holds `request`: the
// program is then waiting for that answer.
class WhenFetching {
public:
    WhenFetching(test::StandinServer& standin, const std::string& request, std::function<void()> action) {
        QObject::connect(&FPoll, &QTimer::timeout, [this, &standin, request, action] {
            const std::vector<std::string> seen = standin.requests();
            if (std::none_of(seen.begin(), seen.end(),
                             [&](const std::string& r) { return r.find(request) != std::string::npos; }))
                return;
            FPoll.stop();
            action();
        });
        FPoll.start(10);
    }

private:
    QTimer FPoll;
};

// Counts every modal window that opens while it lives, and closes all but the first `answered` of them
// (those are left to the test's own answers).
class ModalCounter {
public:
    explicit ModalCounter(int answered = 0) {
        QObject::connect(&FPoll, &QTimer::timeout, [this, answered] {
            if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != FLast) {
                FLast = modal;
                if (++Count > answered) modal->close();
            }
        });
        FPoll.start(5);
    }
    int Count = 0;

private:
    QTimer FPoll;
    QWidget* FLast = nullptr;
};

}  // namespace

TEST_F(HarvestTest, ClosingDuringGatherDataEndsItWithoutAnotherDialog) {
    Open({"--delay", "600000", "--delay-for", "yahoo"});  // held until the window closes
    TfrmMain& w = *window;
    w.show();
    for (const char* k : {"a", "b"}) w.AddTypedKeyword(QString::fromLatin1(k));
    WhenFetching closing(*standin, "/search?p=%22a%22", [&] { w.close(); });
    WhenModals({ChooseSearch(true)});
    w.btnGatherDataClick();
    ModalCounter after;
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(Cell(1, workbench::cellGoogle).isEmpty());  // no later row visited
    EXPECT_EQ(w.ShowMessage(QStringLiteral("late"), true), skinctrls::mrCancel);
    QCoreApplication::processEvents();
    EXPECT_EQ(after.Count, 0);
}

TEST_F(HarvestTest, ClosingDuringTheSecurityImageRoundOpensNoFurtherDialog) {
    Open({"--captcha", "always", "--delay", "600000", "--delay-for", "suggest"});
    TfrmMain& w = *window;
    w.show();
    w.SetMainKeyword(QStringLiteral("golf"));
    // The answer is on its way (the service would ask again and bring the "Wrong password" question).
    WhenFetching closing(*standin, "keyword-suggestion-tool.html", [&] { w.close(); });
    // The first page is let through once it is asked for; the answer is then held until the window closes.
    WhenFetching first(*standin, "seed=golf", [&] { standin->configure("delay=600000"); });
    ModalCounter dialogs(1);
    WhenModals({TypeCaptcha("ANSWER")});
    w.btnGatherKeywordClick();
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.Count, 1);  // the security image itself, and nothing after the window went
    EXPECT_EQ(w.Items().Count(), 0);
}

TEST_F(HarvestTest, RowDeletedMidHarvestIsSkippedAndNoOtherRowWritten) {
    // Google's answers are held until the test lets them go, after acting during the fetch for "b".
    Open({"--delay", "600000", "--delay-for", "google"});
    TfrmMain& w = *window;
    for (const char* k : {"a", "b", "c"}) w.AddTypedKeyword(QString::fromLatin1(k));
    WhenFetching first(*standin, "/search?q=%22a%22", [&] { standin->configure("delay=600000"); });
    WhenFetching deleting(*standin, "/search?q=%22b%22", [&] {
        w.Items().SetChecked(1, true);
        workbench::DeleteSelected(w.Items());
        standin->configure("delay=0");
    });
    WhenModals({ChooseSearch(true)});
    w.btnGatherDataClick();
    ASSERT_EQ(w.Items().Count(), 2);
    EXPECT_EQ(Std(Cell(1, workbench::cellKeyword)), "c");
    EXPECT_EQ(Std(Cell(1, workbench::cellGoogle)), standin::ResultCount(standin::Engine::Google, "c", true));
    const std::vector<std::string> requests = standin->requests();
    EXPECT_EQ(std::count_if(requests.begin(), requests.end(),
                            [](const std::string& r) { return r.find("%22b%22") != std::string::npos; }),
              1);
}

TEST_F(HarvestTest, SecondTransferCommandAndHeaderClicksDuringGatherDataDoNothing) {
    Open({"--delay", "600000", "--delay-for", "google"});
    TfrmMain& w = *window;
    w.show();
    for (const char* k : {"b", "a"}) w.AddTypedKeyword(QString::fromLatin1(k));
    w.SetMainKeyword(QStringLiteral("golf"));
    auto* list = Control<skinctrls::TSkinListView>(w, "lvwItems");
    auto* header = list->findChild<QHeaderView*>();
    ASSERT_NE(header, nullptr);
    const QPoint keywordHeader(header->sectionViewportPosition(1) + 5, header->height() / 2);
    WhenFetching during(*standin, "/search?q=%22b%22", [&] {
        w.btnGatherKeywordClick();  // returns at once: a transfer runs
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, keywordHeader);
        standin->configure("delay=0");
    });
    WhenModals({ChooseSearch(true)});
    w.btnGatherDataClick();
    const std::vector<std::string> requests = standin->requests();
    EXPECT_EQ(std::count_if(requests.begin(), requests.end(),
                            [](const std::string& r) { return r.find("seed=") != std::string::npos; }),
              0);
    EXPECT_EQ(Std(Cell(0, workbench::cellKeyword)), "b");
    EXPECT_EQ(w.SortState().SortColumn, -1);
    // Afterwards the same click sorts.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, keywordHeader);
    EXPECT_EQ(w.SortState().SortColumn, 1);
    EXPECT_EQ(Std(Cell(0, workbench::cellKeyword)), "a");
}

TEST_F(HarvestTest, ScratchFileThatCannotBeMadeIsReportedAndTheButtonComesBack) {
    Open({});
    TfrmMain& w = *window;
    w.AddTypedKeyword(QStringLiteral("a"));
    w.Fetcher().ScratchFileName = QString::fromStdString(dir.file("no/such/folder/test.html"));
    QString report;
    WhenModals({ChooseSearch(true), Answer(Qt::Key_Return, &report)});
    Click(&w, "btnGatherData");  // through the button, so the command's guard reports the failure
    EXPECT_TRUE(report.contains(QStringLiteral("test.html"))) << report.toStdString();
    EXPECT_EQ(Control<skinctrls::TSkinButton>(w, "btnGatherData")->Caption(), "Gather Data");
    w.lvwItemsColumnClick(1);
    EXPECT_EQ(w.SortState().SortColumn, 1);
}
