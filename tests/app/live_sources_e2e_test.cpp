// The real main window with live sources from a dbservices.dat of the test's own, against the stand-in's
// OpenSearch and JSON count endpoints: expansions and de-duplication, a JSON column beside the engines' page
// markers, a 429 answered after its Retry-After, Stop inside a back-off wait, and no API key on the screen.
#include "app/harvest_fixture.h"
#include "harvest/page_fetcher.h"
#include "harvest/pages/live_sources.h"

#include <QSet>

#include <fstream>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

class LiveSourcesTest : public HarvestTest {
protected:
    // The stand-in, then the services file the way a user writes it, read as the program reads it.
    void OpenLive(const std::vector<std::string>& options, const std::string& sections) {
        Open(options);
        const std::string origin = "http://" + standin->hostPort();
        const std::string path = dir.file("dbservices.dat");
        std::ofstream(path) << "[Services]\nSuggestionHost=" << standin->hostPort()
                            << "\nGoogleHost=" << standin->hostPort() << "\nYahooHost=" << standin->hostPort()
                            << "\nMsnHost=" << standin->hostPort() << "\n"
                            << replaceAll(sections, "ORIGIN", origin);
        EXPECT_EQ(harvest::LoadServices(window->Fetcher(), QString::fromStdString(path)), QString());
    }
    static std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
            text.replace(at, from.size(), to);
        }
        return text;
    }
    QString Status() const { return test::Control<skinctrls::TSkinStatusPanel>(*window, "MainStatusPanel")->Caption(); }
    // Every status text shown while `run` runs.
    QStringList StatusesDuring(const std::function<void()>& run) {
        QStringList seen;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (seen.isEmpty() || seen.back() != Status()) seen.push_back(Status());
        });
        poll.start(0);
        run();
        return seen;
    }
};

TEST_F(LiveSourcesTest, SuggestionsFromEverySourceWithBothExpansionsAndNoDuplicates) {
    OpenLive({},
             "[Suggestions]\nSource1=ORIGIN/complete?q={keyword}\nSource2=ORIGIN/complete?src=2&q={keyword}\n"
             "Expand=alphabet questions\n");
    TfrmMain& w = *window;
    w.SetMainKeyword(QStringLiteral("Golf Clubs"));
    w.btnGatherKeywordClick();
    // What the stand-in suggests for each of the 47 queries, first seen first, case ignored, the main keyword
    // left out; the second source repeats the first and adds nothing.
    std::vector<std::string> expected;
    QSet<QString> seen{QStringLiteral("golf clubs")};
    for (const std::string& query : pages::SuggestionQueries("Golf Clubs", true, true)) {
        for (const std::string& s : standin::CompletionsFor(query)) {
            if (!seen.contains(QString::fromStdString(s).toCaseFolded())) {
                seen.insert(QString::fromStdString(s).toCaseFolded());
                expected.push_back(s);
            }
        }
    }
    ASSERT_EQ(w.Items().Count(), static_cast<int>(expected.size()));
    for (int row = 0; row < w.Items().Count(); ++row) {
        EXPECT_EQ(Std(Cell(row, workbench::cellKeyword)), expected[static_cast<size_t>(row)]);
        EXPECT_EQ(Cell(row, workbench::cellSearches), QString());
    }
    EXPECT_EQ(standin->requests().size(), 94u);
    EXPECT_EQ(Status(), "Process completed sucessfull!");
}

TEST_F(LiveSourcesTest, AJsonColumnBesideTheEnginesPages) {
    OpenLive({}, "[Engines]\nGoogle=ORIGIN/count?key=SECRET&q={query}\nGoogleCount=/searchInformation/totalResults\n");
    TfrmMain& w = *window;
    for (const char* k : {"golf clubs", "tennis"}) w.AddTypedKeyword(QString::fromLatin1(k));
    WhenModals({ChooseSearch(true)});
    const QStringList statuses = StatusesDuring([&] { w.btnGatherDataClick(); });
    for (int row = 0; row < 2; ++row) {
        const std::string keyword = Std(Cell(row, workbench::cellKeyword));
        // The JSON count shown as the page counts are: digits grouped by commas.
        EXPECT_EQ(Std(Cell(row, workbench::cellGoogle)), standin::ResultCount(standin::Engine::Google, keyword, true));
        EXPECT_EQ(Std(Cell(row, workbench::cellYahoo)), standin::CountCellText(standin::Engine::Yahoo, keyword, true));
        EXPECT_EQ(Std(Cell(row, workbench::cellMsn)), standin::CountCellText(standin::Engine::Msn, keyword, true));
    }
    EXPECT_EQ(standin->requests()[0], "/count?key=SECRET&q=%22golf+clubs%22");
    EXPECT_TRUE(statuses.filter(QStringLiteral("/count")).size() > 0);
    EXPECT_TRUE(statuses.filter(QStringLiteral("SECRET")).isEmpty()) << statuses.join('\n').toStdString();
}

TEST_F(LiveSourcesTest, ATooManyRequestsAnswerIsTriedAgainAfterItsRetryAfter) {
    OpenLive({"--throttle", "1", "--retry-after", "1"},
             "[Suggestions]\nSource1=ORIGIN/complete?q={keyword}\n[Pacing]\nRetries=2\n");
    TfrmMain& w = *window;
    w.SetMainKeyword(QStringLiteral("golf"));
    const QStringList statuses = StatusesDuring([&] { w.btnGatherKeywordClick(); });
    EXPECT_TRUE(statuses.contains(QStringLiteral("Waiting 1 s before retrying source 1 (429 Too Many Requests)")))
        << statuses.join('\n').toStdString();
    EXPECT_EQ(w.Items().Count(), static_cast<int>(standin::CompletionsFor("golf").size()));
    EXPECT_EQ(standin->requests().size(), 2u);
    EXPECT_FALSE(w.Fetcher().Aborted());
}

TEST_F(LiveSourcesTest, RetriesSpentEndTheHarvestAsAFailedFetchDoes) {
    OpenLive({"--throttle", "5", "--retry-after", "0"},
             "[Suggestions]\nSource1=ORIGIN/complete?q={keyword}\n[Pacing]\nRetries=1\n");
    TfrmMain& w = *window;
    w.SetMainKeyword(QStringLiteral("golf"));
    w.btnGatherKeywordClick();
    EXPECT_EQ(w.Items().Count(), 0);
    EXPECT_EQ(standin->requests().size(), 2u);
    EXPECT_EQ(Status(), "Connection error, check if you are connected and url exists.");
}

TEST_F(LiveSourcesTest, StopEndsABackOffWaitAtOnce) {
    OpenLive({"--throttle", "1", "--retry-after", "120"},
             "[Engines]\nYahoo=ORIGIN/count?q={query}\nYahooCount=/searchInformation/totalResults\n"
             "[Pacing]\nRetries=3\n");
    TfrmMain& w = *window;
    w.AddTypedKeyword(QStringLiteral("golf"));
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (Status().startsWith(QStringLiteral("Waiting 120 s before retrying Yahoo (429 Too Many Requests)"))) {
            poll.stop();
            w.btnGatherDataClick();  // the button reads "Stop" while the harvest runs
        }
    });
    poll.start(5);
    WhenModals({ChooseSearch(false)});
    w.btnGatherDataClick();
    EXPECT_FALSE(Cell(0, workbench::cellGoogle).isEmpty());
    EXPECT_TRUE(Cell(0, workbench::cellYahoo).isEmpty());
    EXPECT_EQ(Status(), "Process aborted!");
    EXPECT_EQ(test::Control<skinctrls::TSkinButton>(w, "btnGatherData")->Caption(), "Gather Data");
}

// Each way a peer can fail a request is tried again, and the row still gets its own counts. The stand-in's
// draws are seeded, so the same faults come on the same requests every run (with seed 4, never more than two
// requests in a row).
TEST_F(LiveSourcesTest, EachKindOfFaultIsTriedAgainAndTheRowFills) {
    for (const char* faults : {"reset=0.3", "reset-mid=0.3", "cut=0.3", "500=0.3", "503=0.3:0", "429=0.3:2"}) {
        SCOPED_TRACE(faults);
        OpenLive({"--faults", faults, "--seed", "4", "--retry-after", "0"}, "[Pacing]\nRetries=3\nDelayMs=0\n");
        TfrmMain& w = *window;
        w.AddTypedKeyword(QStringLiteral("golf clubs"));
        WhenModals({ChooseSearch(true)});
        w.btnGatherDataClick();
        for (standin::Engine e : {standin::Engine::Google, standin::Engine::Yahoo, standin::Engine::Msn}) {
            EXPECT_EQ(Std(Cell(0, workbench::cellGoogle + static_cast<int>(e))),
                      standin::CountCellText(e, "golf clubs", true));
        }
        const std::string kind = std::string(faults).substr(0, std::string(faults).find('='));
        const std::vector<std::string> made = standin->faults();
        EXPECT_FALSE(made.empty());
        for (const std::string& f : made) EXPECT_EQ(f.substr(0, f.find(' ')), kind);
        EXPECT_GT(standin->requests().size(), 4u);  // one row's three pages and Yahoo's redirect, and the retries
        EXPECT_FALSE(w.Fetcher().Aborted());
    }
}

}  // namespace
