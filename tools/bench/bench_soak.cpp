// The soak: Gather Data over 5,000 rows in the real main window (offscreen) against a stand-in that resets,
// stalls, fails, cuts and trickles some of its answers, with three retries and no pacing delay. Reports the
// resident memory, open descriptors and threads at row 500 and at the last row; the longest lateness of a
// 10 ms timer (the event loop's longest stall); rows filled, rows left empty and requests retried, and
// whether any row is half-written or holds a count that is not its own; and the time of the same requests
// made by curl with --retry 3 against the same stand-in with the same faults.
// Arguments (all optional): rows, the fault list, the seed.
#include "app/main_window.h"
#include "harvest/page_fetcher.h"
#include "harvest/pages/result_count_pages.h"
#include "skinctrls/skin_button.h"
#include "skinctrls/skin_checkbox.h"
#include "skinctrls/skin_status.h"
#include "standin/pages.h"
#include "standin/standin_process.h"
#include "workbench/keyword_table.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace dorvanel;
using Clock = std::chrono::steady_clock;

namespace {

struct Usage {
    double residentMiB = 0;
    int descriptors = 0;
    int threads = 0;
    std::string what;  // the threads' names and what the descriptors are, shown when the counts differ
};

Usage Measure() {
    Usage u;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) u.residentMiB = std::stod(line.substr(6)) / 1024;
    }
    // The open descriptors, less the one reading the list.
    if (DIR* fds = opendir("/proc/self/fd")) {
        const int own = dirfd(fds);
        while (const dirent* entry = readdir(fds)) {
            if (entry->d_name[0] == '.' || std::atoi(entry->d_name) == own) continue;
            ++u.descriptors;
            char target[256] = {};
            const std::string link = std::string("/proc/self/fd/") + entry->d_name;
            if (readlink(link.c_str(), target, sizeof target - 1) > 0) u.what += std::string(" ") + target;
        }
        closedir(fds);
    }
    u.what += "; threads:";
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks)) {
            if (entry->d_name[0] == '.') continue;
            std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
            std::string name;
            std::getline(comm, name);
            u.what += " " + name;
            ++u.threads;
        }
        closedir(tasks);
    }
    return u;
}

// How long this thread has waited for a processor while it could run (ns): on a busy machine a tick can
// come late only because the thread was not given a processor, which is not the program holding its loop.
double RunQueueWaitMs() {
    std::ifstream schedstat("/proc/thread-self/schedstat");
    double running = 0, waiting = 0;
    schedstat >> running >> waiting;
    return waiting / 1e6;
}

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Each row's keyword: the stand-in's counts follow from it, so a cell can be checked against its own row.
std::string Keyword(int row) { return "soak keyword " + std::to_string(row); }

standin::Engine StandinEngine(pages::Engine e) { return static_cast<standin::Engine>(static_cast<int>(e)); }

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Qt paints large pictures with pooled worker threads that end after 30 idle seconds, each with its own
    // descriptor: kept for the run, they do not make the two samples differ by when the last paint was.
    QThreadPool::globalInstance()->setExpiryTimeout(-1);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 5000;
    const std::string faults = argc > 2
                                   ? argv[2]
                                   : "reset=0.0005,reset-mid=0.0005,stall=0.0003:1,500=0.0005,503=0.0005:1,cut=0.0005,"
                                     "trickle=0.0005:10,429=0.0002:2";
    const std::string seed = argc > 3 ? argv[3] : "7";
    const int sampleRow = std::min(500, rows - 1);
    std::printf("soak: %d rows, faults %s, seed %s, Retries=3, DelayMs=0\n", rows, faults.c_str(), seed.c_str());

    standin::StandinServer standin(std::string(DORVANEL_BINARY_DIR "/tools/standin/dorvanel-standin"),
                                   {"--captcha", "never", "--faults", faults, "--seed", seed, "--retry-after", "1"});
    QTemporaryDir dir;
    app::TfrmMain w;
    const std::string host = standin.hostPort();
    const QString services = dir.filePath(QStringLiteral("dbservices.dat"));
    std::ofstream(services.toStdString()) << "[Services]\nGoogleHost=" << host << "\nYahooHost=" << host
                                          << "\nMsnHost=" << host << "\n[Pacing]\nDelayMs=0\nRetries=3\n";
    const QString problems = harvest::LoadServices(w.Fetcher(), services);
    if (!problems.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(problems));
    w.Fetcher().ScratchFileName = dir.filePath(QStringLiteral("test.html"));
    w.show();
    for (int i = 0; i < rows; ++i) w.AddTypedKeyword(QString::fromStdString(Keyword(i)));
    QCoreApplication::processEvents();

    auto* status = w.findChild<skinctrls::TSkinStatusPanel*>(QStringLiteral("MainStatusPanel"));
    skinctrls::TListItems& items = w.Items();

    // The 10 ms timer: how late each tick comes is how long the event loop was held. It also follows the
    // harvest (the first row whose Google cell is still empty) to take the samples, and counts the retries
    // the status bar announces. A sample's own time is not counted as lateness.
    QElapsedTimer sinceTick;
    // Each late tick with the address being fetched then: a tick held by a peer that stalls or trickles on
    // purpose is told apart afterwards, from the stand-in's list of the faults it made.
    struct LateTick {
        double ms;
        double queuedMs;  // of it waiting for a processor
        int row;
        std::string fetching;
    };
    std::vector<LateTick> lateTicks;
    double longestShortMs = 0;  // the longest of the others, whatever was fetched
    double queuedBefore = RunQueueWaitMs();
    int progress = 0, retries = 0;
    bool waiting = false, sampledFirst = false, sampledLast = false;
    Usage first, last;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const double late = static_cast<double>(sinceTick.nsecsElapsed()) / 1e6 - 10;
        sinceTick.restart();
        const double queued = RunQueueWaitMs() - queuedBefore;
        queuedBefore += queued;
        while (progress < rows && !items.Item(progress).SubItem(workbench::cellGoogle).isEmpty()) ++progress;
        const QString shown = status->Caption();
        if (late > 20) lateTicks.push_back({late, queued, progress, shown.toStdString()});
        else longestShortMs = std::max(longestShortMs, late);
        const bool nowWaiting = shown.startsWith(QStringLiteral("Waiting "));
        if (nowWaiting && !waiting) ++retries;
        waiting = nowWaiting;
        // Sampled between two fetches, when no connection or scratch file is open.
        const bool between = shown == QStringLiteral("Process completed sucessfull!");
        if (!sampledFirst && progress > sampleRow && between) {
            first = Measure();
            sampledFirst = true;
            sinceTick.restart();
        }
        if (!sampledLast && progress >= rows - 1 && between) {
            last = Measure();
            sampledLast = true;
            sinceTick.restart();
        }
    });

    // The search type dialog: precise search, OK.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* dlg = QApplication::activeModalWidget();
        if (!dlg) return;
        answer.stop();
        dlg->findChild<skinctrls::TSkinCheckRadioBox*>(QStringLiteral("SkinCheckRadioBox1"))->SetChecked(true);
        dlg->findChild<skinctrls::TSkinButton*>(QStringLiteral("btnOk"))->PerformClick();
    });
    answer.start(20);

    const auto start = Clock::now();
    sinceTick.start();
    tick.start(10);
    w.btnGatherDataClick();
    tick.stop();
    const double oursSeconds = Seconds(start);
    if (!sampledLast) last = Measure();
    const std::string endStatus = status->Caption().toStdString();

    // Every row filled with its own counts, or empty; anything else is half-written or foreign.
    int filled = 0, empty = 0, halfWritten = 0, foreign = 0;
    for (int row = 0; row < rows; ++row) {
        int right = 0, blank = 0;
        for (pages::Engine e : pages::kEngines) {
            const QString cell = items.Item(row).SubItem(pages::ResultCountCell(e));
            if (cell.isEmpty()) ++blank;
            else if (cell.toStdString() == standin::CountCellText(StandinEngine(e), Keyword(row), true)) ++right;
            else ++foreign;
        }
        if (right == 3) ++filled;
        else if (blank == 3) ++empty;
        else ++halfWritten;
    }
    const size_t served = standin.requests(true).size();
    const std::vector<std::string> made = standin.faults(true);
    // The targets the stand-in held on purpose (a Yahoo page is asked again after its redirect, with "&fr=").
    std::set<std::string> held;
    for (const std::string& f : made) {
        if (f.rfind("stall ", 0) != 0 && f.rfind("trickle ", 0) != 0) continue;
        std::string target = f.substr(f.find(' ') + 1);
        target = target.substr(0, target.find("&fr="));
        held.insert("Getting URL: http://" + host + target + "...");
    }
    double longestMs = longestShortMs, longestHeldMs = 0, longestQueuedMs = 0, longestOwnMs = longestShortMs;
    int longestAtRow = -1;
    std::string longestFetching;
    for (const LateTick& t : lateTicks) {
        if (held.count(t.fetching)) {
            longestHeldMs = std::max(longestHeldMs, t.ms);
            continue;
        }
        longestOwnMs = std::max(longestOwnMs, t.ms - t.queuedMs);
        if (t.ms > longestMs) {
            longestMs = t.ms;
            longestQueuedMs = t.queuedMs;
            longestAtRow = t.row;
            longestFetching = t.fetching;
        }
    }
    auto madeOf = [&made](const char* name) {
        return std::count_if(made.begin(), made.end(),
                             [name](const std::string& f) { return f.rfind(std::string(name) + " ", 0) == 0; });
    };

    // curl: the same addresses in one process, each retried up to three times, against the same stand-in
    // with its draws started again from the same seed.
    const QString config = dir.filePath(QStringLiteral("curl.cfg"));
    {
        std::ofstream cfg(config.toStdString());
        int n = 0;
        for (int row = 0; row < rows; ++row) {
            for (pages::Engine e : pages::kEngines) {
                cfg << "url = \"" << pages::ResultCountAddress(e, host, Keyword(row), pages::SearchType::Precise)
                    << "\"\noutput = \"" << dir.filePath(QStringLiteral("c%1.html").arg(n++)).toStdString() << "\"\n";
            }
        }
    }
    standin.configure("seed=" + seed);
    const std::string cmd = "curl -s -L --retry 3 --retry-all-errors -K '" + config.toStdString() + "'";
    const auto curlStart = Clock::now();
    const int curlExit = std::system(cmd.c_str());
    const double curlSeconds = Seconds(curlStart);
    int curlRight = 0;
    for (int row = 0, n = 0; row < rows; ++row) {
        for (pages::Engine e : pages::kEngines) {
            std::ifstream in(dir.filePath(QStringLiteral("c%1.html").arg(n++)).toStdString());
            std::stringstream page;
            page << in.rdbuf();
            const std::string want = standin::ResultCount(StandinEngine(e), Keyword(row), true);
            if (page.str().find(want) != std::string::npos) ++curlRight;
        }
    }
    const size_t curlServed = standin.requests().size();

    std::printf("resident memory: %.1f MiB at row %d, %.1f MiB at row %d: grew %.1f MiB (target < 8)\n",
                first.residentMiB, sampleRow + 1, last.residentMiB, rows, last.residentMiB - first.residentMiB);
    std::printf("open descriptors: %d at row %d, %d at row %d (target: equal)\n", first.descriptors, sampleRow + 1,
                last.descriptors, rows);
    std::printf("threads: %d at row %d, %d at row %d (target: equal)\n", first.threads, sampleRow + 1, last.threads,
                rows);
    if (first.descriptors != last.descriptors || first.threads != last.threads)
        std::printf("  at row %d:%s\n  at row %d:%s\n", sampleRow + 1, first.what.c_str(), rows, last.what.c_str());
    std::printf(
        "longest event-loop stall: %.1f ms%s, of it %.1f ms waiting for a processor; the longest less that "
        "wait: %.1f ms (target < 100); %.1f ms while the peer stalled or trickled on purpose (the idle pump's "
        "250 ms slices)\n",
        longestMs, longestAtRow < 0 ? "" : (" near row " + std::to_string(longestAtRow + 1)).c_str(), longestQueuedMs,
        longestOwnMs, longestHeldMs);
    if (longestMs > 100) std::printf("  the status then: %s\n", longestFetching.c_str());
    std::printf("rows: %d filled, %d left empty, %d half-written, %d cells holding a count not their row's\n", filled,
                empty, halfWritten, foreign);
    std::printf(
        "requests retried: %zu (served %zu, %d without faults; a Yahoo page retried is asked twice, with "
        "its redirect); retry waits the 10 ms timer saw in the status bar: %d\n",
        served - static_cast<size_t>(rows) * 4, served, rows * 4, retries);
    std::printf(
        "faults made: %zu (reset %td, reset-mid %td, stall %td, 500 %td, 503 %td, cut %td, trickle %td, "
        "429 %td)\n",
        made.size(), madeOf("reset"), madeOf("reset-mid"), madeOf("stall"), madeOf("500"), madeOf("503"), madeOf("cut"),
        madeOf("trickle"), madeOf("429"));
    std::printf("status at the end: %s\n", endStatus.c_str());
    std::printf(
        "time: ours %.1f s (%.2f ms per page), curl --retry 3 %.1f s (%.2f ms per page), ratio %.2f; "
        "curl: %d of %d pages right, %zu requests, exit %d\n",
        oursSeconds, oursSeconds * 1000 / (rows * 3), curlSeconds, curlSeconds * 1000 / (rows * 3),
        oursSeconds / curlSeconds, curlRight, rows * 3, curlServed, curlExit);
    const bool ok = halfWritten == 0 && foreign == 0 && filled + empty == rows &&
                    first.descriptors == last.descriptors && first.threads == last.threads &&
                    last.residentMiB - first.residentMiB < 8 && longestOwnMs < 100;
    std::printf("soak: %s\n", ok ? "every target met" : "a target missed");
    return ok ? 0 : 1;
}
