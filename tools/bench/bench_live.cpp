// Live sources against the stand-in's JSON endpoints, beside curl making the same requests one after another
// (each on a new connection, each into a file): Gather Keywords over one source with the alphabet and question
// expansions (47 requests), and Gather Data over 100 rows with every column from the JSON count endpoint (300
// requests). Rounds take turns with curl; the medians are compared.
#include "app/main_window.h"
#include "harvest/keyword_harvest.h"
#include "harvest/page_fetcher.h"
#include "harvest/pages/live_sources.h"
#include "harvest/result_count_harvest.h"
#include "common/text.h"
#include "standin/standin_process.h"
#include "workbench/keyword_table.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <vector>

using namespace dorvanel;
using Clock = std::chrono::steady_clock;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double millisecondsOf(const std::function<void()>& run) {
    const auto start = Clock::now();
    run();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// curl over `urls` in one process, each on a new connection into its own file.
std::string curlCommand(const QTemporaryDir& dir, const std::string& name, const std::vector<std::string>& urls) {
    const std::string config = dir.filePath(QString::fromStdString(name + ".cfg")).toStdString();
    std::ofstream cfg(config);
    for (size_t n = 0; n < urls.size(); ++n) {
        cfg << "url = \"" << urls[n] << "\"\noutput = \""
            << dir.filePath(QStringLiteral("%1%2.json").arg(QString::fromStdString(name)).arg(n)).toStdString()
            << "\"\n";
    }
    return "curl -s --no-keepalive -H 'Connection: close' -K '" + config + "'";
}

void compare(const char* what, size_t requests, const std::function<void()>& ours, const std::string& curl) {
    constexpr int kRounds = 5;
    std::vector<double> oursMs, curlMs;
    for (int round = 0; round < kRounds; ++round) {
        oursMs.push_back(millisecondsOf(ours));
        curlMs.push_back(millisecondsOf([&] {
            if (std::system(curl.c_str()) != 0) std::printf("curl failed\n");
        }));
    }
    const double a = median(oursMs), b = median(curlMs);
    std::printf(
        "%s (%zu requests), median of %d: ours %.1f ms (%.2f ms per request), curl %.1f ms (%.2f ms per "
        "request), ratio %.2f (target <= 1.2)\n",
        what, requests, kRounds, a, a / static_cast<double>(requests), b, b / static_cast<double>(requests), a / b);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    standin::StandinServer standin(std::string(DORVANEL_BINARY_DIR "/tools/standin/dorvanel-standin"), {});
    QTemporaryDir dir;
    app::TfrmMain w;
    const std::string origin = "http://" + standin.hostPort();
    const std::string services = dir.filePath(QStringLiteral("dbservices.dat")).toStdString();
    std::ofstream(services) << "[Suggestions]\nSource1=" << origin
                            << "/complete?q={keyword}\nExpand=alphabet questions\n"
                            << "[Engines]\nGoogle=" << origin
                            << "/count?q={query}\nGoogleCount=/searchInformation/totalResults\n"
                            << "Yahoo=" << origin << "/count?q={query}\nYahooCount=/searchInformation/totalResults\n"
                            << "Msn=" << origin << "/count?q={query}\nMsnCount=/searchInformation/totalResults\n";
    harvest::LoadServices(w.Fetcher(), QString::fromStdString(services));
    w.Fetcher().ScratchFileName = dir.filePath(QStringLiteral("test.html"));
    // DORVANEL_BENCH_HIDDEN=1 leaves the window hidden, to tell the table's painting from the requests' cost.
    if (!qEnvironmentVariableIsSet("DORVANEL_BENCH_HIDDEN")) w.show();

    const std::string keyword = "golf clubs";
    std::vector<std::string> suggestUrls;
    for (const std::string& query : pages::SuggestionQueries(keyword, true, true)) {
        suggestUrls.push_back(
            pages::FillTemplate(w.Fetcher().Live.SuggestionTemplates[0], "{keyword}", common::FormEncode(query)));
    }
    compare(
        "gather keywords, one source with both expansions", suggestUrls.size(),
        [&] {
            w.Items().Clear();
            harvest::TKeywordHarvest(w.HarvestWindow(), w.Fetcher()).Run(QString::fromStdString(keyword));
        },
        curlCommand(dir, "suggest", suggestUrls));

    w.Items().Clear();
    for (int i = 0; i < 100; ++i) w.AddTypedKeyword(QStringLiteral("keyword %1 golf").arg(i));
    std::vector<std::string> countUrls;
    for (int i = 0; i < w.Items().Count(); ++i) {
        const std::string k = w.Items().Item(i).SubItem(workbench::cellKeyword).toLocal8Bit().toStdString();
        for (size_t e = 0; e < pages::kEngines.size(); ++e) {
            countUrls.push_back(pages::FillTemplate(w.Fetcher().Live.Engines[e].Template, "{query}",
                                                    pages::EngineQuery(k, pages::SearchType::Precise)));
        }
    }
    compare(
        "gather data, 100 rows from JSON counts", countUrls.size(),
        [&] {
            w.Fetcher().Begin();
            harvest::TResultCountHarvest(w.HarvestWindow(), w.Fetcher()).HarvestResultCounts(0);
        },
        curlCommand(dir, "count", countUrls));
    return 0;
}
