// Gather Data over 200 rows (600 fetches) against the stand-in services, beside curl fetching the same 600
// addresses one after another, each on a new connection and each written to a file. Also saves a picture
// of the window after Gather Keywords and Gather Data (argument: the PNG path).
#include "app/main_window.h"
#include "skin/skin_data.h"
#include "harvest/pages/result_count_pages.h"
#include "standin/standin_process.h"
#include "workbench/keyword_table.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

using namespace dorvanel;
using Clock = std::chrono::steady_clock;

static double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    standin::StandinServer standin(std::string(DORVANEL_BINARY_DIR "/tools/standin/dorvanel-standin"),
                                {"--captcha", "never"});
    QTemporaryDir dir;
    app::TfrmMain w;
    const std::string host = standin.hostPort();
    w.Fetcher().ServiceHosts = pages::TServiceHosts::AllAt(host);
    w.Fetcher().ScratchFileName = dir.filePath(QStringLiteral("test.html"));
    w.show();
    // DORVANEL_BENCH_PLAIN=1 measures the window in its plain look, to tell the skin's painting per fetch
    // from the transfer's own cost.
    if (qEnvironmentVariableIsSet("DORVANEL_BENCH_PLAIN"))
        w.findChild<skin::TSkinData*>(QStringLiteral("SkinData1"))->UnloadSkin();

    // Gather Keywords fills the first rows; typed keywords make up the 200.
    w.SetMainKeyword(QStringLiteral("golf clubs"));
    w.btnGatherKeywordClick();
    for (int i = w.Items().Count(); i < 200; ++i) w.AddTypedKeyword(QStringLiteral("keyword %1 golf").arg(i));

    // curl: one process, the same 600 addresses in order, each on a new connection, each into its own file.
    const QString config = dir.filePath(QStringLiteral("curl.cfg"));
    {
        std::ofstream cfg(config.toStdString());
        int n = 0;
        for (int i = 0; i < w.Items().Count(); ++i) {
            const std::string keyword = w.Items().Item(i).SubItem(workbench::cellKeyword).toLocal8Bit().toStdString();
            for (pages::Engine e : pages::kEngines) {
                cfg << "url = \"" << pages::ResultCountAddress(e, host, keyword, pages::SearchType::Precise) << "\"\n";
                cfg << "output = \"" << dir.filePath(QStringLiteral("out%1.html").arg(n++)).toStdString() << "\"\n";
            }
        }
    }
    const std::string cmd = "curl -s -L --no-keepalive -H 'Connection: close' -K '" + config.toStdString() + "'";

    // Rounds take turns, so that a busy spell of the machine hits both sides alike; the medians are compared.
    constexpr int kRounds = 5;
    std::vector<double> ours, curl;
    for (int round = 0; round < kRounds; ++round) {
        harvest::TResultCountHarvest harvest(w.HarvestWindow(), w.Fetcher());
        w.Fetcher().Begin();
        const auto start = Clock::now();
        harvest.HarvestResultCounts(0);
        ours.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());

        const auto curlStart = Clock::now();
        const int rc = std::system(cmd.c_str());
        curl.push_back(std::chrono::duration<double, std::milli>(Clock::now() - curlStart).count());
        std::printf("round %d: ours %7.1f ms, curl %7.1f ms (exit %d)\n", round + 1, ours.back(), curl.back(), rc);
    }
    std::vector<double> ratios;
    for (int round = 0; round < kRounds; ++round) ratios.push_back(ours[round] / curl[round]);
    const double oursMs = Median(ours), curlMs = Median(curl);
    std::printf(
        "gather data, 200 rows (600 fetches), median of %d: ours %7.1f ms (%.2f ms per fetch), "
        "curl %7.1f ms (%.2f ms per fetch)\n",
        kRounds, oursMs, oursMs / 600, curlMs, curlMs / 600);
    std::printf("ratio ours / curl: %.2f of the medians, %.2f the median of the rounds' (target <= 1.5)\n",
                oursMs / curlMs, Median(ratios));

    if (argc > 1) {
        w.findChild<skinctrls::TSkinListView*>(QStringLiteral("lvwItems"))->scrollToTop();
        QCoreApplication::processEvents();
        w.grab().save(QString::fromLocal8Bit(argv[1]));
        std::printf("window picture: %s\n", argv[1]);
    }
    return 0;
}
