// The real main window against the stand-in services on loopback: Gather Keywords through the
// security-image handshake, Gather Data precise and broad, Stop, a failing engine, the scratch file and
// the saved CSV.
#include "app/harvest_fixture.h"

using namespace dorvanel;
using namespace dorvanel::test;

TEST_F(HarvestTest, GatherKeywordsThroughOneWrongAndOneRightSecurityImage) {
    Open({"--captcha-text", "ABCDE"});
    TfrmMain& w = *window;
    w.AddTypedKeyword(QStringLiteral("kept"));
    w.SetMainKeyword(QStringLiteral("golf clubs"));
    QString question;
    WhenModals({TypeCaptcha("WRONG"), Answer(Qt::Key_Return, &question), TypeCaptcha("abcde")});
    w.btnGatherKeywordClick();
    EXPECT_EQ(question, "Wrong password. Do you want try again?");

    const auto expected = standin::SuggestionsFor("golf clubs");
    ASSERT_GE(expected.size(), 10u);
    ASSERT_EQ(w.Items().Count(), static_cast<int>(expected.size()) + 1);
    EXPECT_EQ(Cell(0, workbench::cellKeyword), "kept");
    for (size_t i = 0; i < expected.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        EXPECT_EQ(w.Items().Item(row).Caption, QString::number(row + 1));
        EXPECT_EQ(Std(Cell(row, workbench::cellKeyword)), expected[i].keyword);
        EXPECT_EQ(Std(Cell(row, workbench::cellSearches)), expected[i].count);
    }
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "SecondStatusPanel")->Caption(),
              workbench::ItemsListedText(w.Items().Count()));
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")->Caption(),
              "Process completed sucessfull!");
    EXPECT_EQ(standin->requests().front(), "/?seed=golf+clubs&adult_filter=remove_offensive&suggest=Hit+Me");

    // The session's cookie now passes: a second run needs no image and appends the same rows again.
    w.btnGatherKeywordClick();
    EXPECT_EQ(w.Items().Count(), 2 * static_cast<int>(expected.size()) + 1);
}

TEST_F(HarvestTest, CancelTheWrongPasswordQuestionEndsWithoutRows) {
    Open({"--captcha-text", "ABCDE"});
    TfrmMain& w = *window;
    w.SetMainKeyword(QStringLiteral("golf"));
    WhenModals({TypeCaptcha("NOPE"), Answer(Qt::Key_Escape)});
    w.btnGatherKeywordClick();
    EXPECT_EQ(w.Items().Count(), 0);
}

TEST_F(HarvestTest, GatherKeywordsWithoutMainKeywordAsksForOne) {
    Open({});
    QString text;
    WhenModals({Answer(Qt::Key_Return, &text)});
    window->btnGatherKeywordClick();
    EXPECT_EQ(text, "Please enter a main keyword before gather keywords.");
}

TEST_F(HarvestTest, GatherDataPreciseAndBroadFillsEveryCell) {
    Open({});
    TfrmMain& w = *window;
    const char* keywords[] = {"golf clubs", "tennis"};
    for (const char* k : keywords) w.AddTypedKeyword(QString::fromLatin1(k));
    for (bool precise : {true, false}) {
        standin->requests(true);
        WhenModals({ChooseSearch(precise)});
        w.btnGatherDataClick();
        EXPECT_EQ(test::Control<skinctrls::TSkinButton>(w, "btnGatherData")->Caption(), "Gather Data");
        for (int row = 0; row < 2; ++row) {
            EXPECT_EQ(Std(Cell(row, workbench::cellGoogle)),
                      standin::ResultCount(standin::Engine::Google, keywords[row], precise));
            EXPECT_EQ(Std(Cell(row, workbench::cellYahoo)),
                      standin::ResultCount(standin::Engine::Yahoo, keywords[row], precise));
            EXPECT_EQ(Std(Cell(row, workbench::cellMsn)),
                      standin::ResultCount(standin::Engine::Msn, keywords[row], precise) + " results");
        }
        const std::vector<std::string> requests = standin->requests();
        ASSERT_GE(requests.size(), 3u);
        if (precise) {
            EXPECT_EQ(requests[0], "/search?q=%22golf+clubs%22");
            EXPECT_EQ(requests[1], "/search?p=%22golf+clubs%22");
        } else {
            EXPECT_EQ(requests[0], "/search?q=golf+clubs");
        }
        EXPECT_NE(std::find(requests.begin(), requests.end(),
                            precise ? "/results.aspx?q=%22tennis%22" : "/results.aspx?q=tennis"),
                  requests.end());
    }
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")->Caption(),
              "Process completed sucessfull!");
    EXPECT_EQ(test::Control<skinctrls::TSkinGauge>(w, "MainGauge")->Value(),
              test::Control<skinctrls::TSkinGauge>(w, "MainGauge")->MaxValue());
    EXPECT_EQ(test::Control<skinctrls::TSkinGauge>(w, "MainGauge")->DisplayText(),
              "100%");  // MSN's body has no length, yet the fetch shows as done
    // The scratch file holds the last page: MSN's for the last row.
    EXPECT_NE(test::readFileBytes(dir.file("test.html")).find("<span id=\"count\">"), std::string::npos);
}

TEST_F(HarvestTest, StopDuringASlowResponseKeepsWhatWasWritten) {
    // Yahoo holds its answer until the test lets it go: Stop is always pressed while that fetch runs.
    Open({"--delay", "600000", "--delay-for", "yahoo"});
    TfrmMain& w = *window;
    for (const char* k : {"a", "b", "c"}) w.AddTypedKeyword(QString::fromLatin1(k));
    // Stop once the first Yahoo request is under way.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")
                ->Caption()
                .contains(QStringLiteral("/search?p=a"))) {
            poll.stop();
            w.btnGatherDataClick();
            EXPECT_EQ(test::Control<skinctrls::TSkinButton>(w, "btnGatherData")->Caption(), "Gather Data");  // at once
        }
    });
    poll.start(5);
    WhenModals({ChooseSearch(false)});
    w.btnGatherDataClick();
    EXPECT_FALSE(Cell(0, workbench::cellGoogle).isEmpty());
    EXPECT_TRUE(Cell(0, workbench::cellYahoo).isEmpty());
    EXPECT_TRUE(Cell(0, workbench::cellMsn).isEmpty());
    EXPECT_TRUE(Cell(1, workbench::cellGoogle).isEmpty());
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")->Caption(), "Process aborted!");
    EXPECT_TRUE(w.Fetcher().Aborted());
}

TEST_F(HarvestTest, FailingEngineEndsTheHarvestWithTheConnectionErrorText) {
    Open({"--fail", "yahoo"});
    TfrmMain& w = *window;
    for (const char* k : {"a", "b"}) w.AddTypedKeyword(QString::fromLatin1(k));
    WhenModals({ChooseSearch(true)});
    w.btnGatherDataClick();
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")->Caption(),
              "Connection error, check if you are connected and url exists.");
    EXPECT_FALSE(Cell(0, workbench::cellGoogle).isEmpty());
    EXPECT_TRUE(Cell(0, workbench::cellYahoo).isEmpty());
    EXPECT_TRUE(Cell(1, workbench::cellGoogle).isEmpty());
    EXPECT_TRUE(w.Fetcher().Aborted());
    // With the flag raised, a fetch does not even start.
    std::string page = "untouched";
    test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")->SetCaption(QStringLiteral("x"));
    EXPECT_FALSE(w.Fetcher().FetchPage("http://" + standin->hostPort() + "/search?q=a", page));
    EXPECT_EQ(page, "untouched");
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")->Caption(), "x");
}

TEST_F(HarvestTest, GatherDataOnAnEmptyTableSaysSo) {
    Open({});
    QString text;
    WhenModals({Answer(Qt::Key_Return, &text)});
    window->btnGatherDataClick();
    EXPECT_EQ(text, "You need add keywords to gather data from search engines.");
}

TEST_F(HarvestTest, ScratchFileTextHasCrLfAfterEveryLineAndEndsAtAZeroByte) {
    Open({});
    TfrmMain& w = *window;
    std::string page;
    // The affiliate page is a plain page of the stand-in; its lines come back joined by CR LF.
    ASSERT_TRUE(w.Fetcher().FetchPage("http://" + standin->hostPort() + "/likes/QOLVAtest", page));
    EXPECT_EQ(page.substr(page.size() - 2), "\r\n");
    EXPECT_EQ(page.find("\n\n"), std::string::npos);
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")->Caption(),
              "Process completed sucessfull!");
    EXPECT_FALSE(w.Fetcher().FetchPage("http://" + standin->hostPort() + "/no-such-page", page));
    EXPECT_TRUE(page.empty());
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")->Caption(),
              "Connection error, check if you are connected and url exists.");
}
