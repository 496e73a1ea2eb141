// The keyword table at 100,000 rows: list import, sorting by three columns beside a plain std::stable_sort
// of the same texts with the same comparison, Select All + Delete Selected, and the memory per row.
#include "skinctrls/list_items.h"
#include "skinctrls/skin_listview.h"
#include "common/files.h"
#include "workbench/csv_export.h"
#include "workbench/xlsx_export.h"
#include "workbench/keyword_table.h"
#include "workbench/sorting.h"
#include "workbench/table_operations.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <malloc.h>
#include <random>
#include <string>
#include <vector>

using namespace dorvanel;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

size_t HeapInUse() {
    const struct mallinfo2 mi = mallinfo2();
    return mi.uordblks + mi.hblkhd;
}

long PeakRssKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int kRows = 100000;
    std::mt19937 rng(42);
    const char* words[] = {"golf", "Soccer", "clubs", "tennis", "shoes", "cheap", "Best", "online", "store", "pro"};
    std::string file;
    std::vector<QString> keywords;
    for (int i = 0; i < kRows; ++i) {
        std::string k = std::string(words[rng() % 10]) + " " + words[rng() % 10] + " " + std::to_string(rng() % 1000);
        file += k + "\r\n";
        keywords.push_back(QString::fromStdString(k));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("list.txt");
    std::ofstream(path.toStdString(), std::ios::binary) << file;

    // The table as the main window has it: the rows live in a shown list view's item store.
    skinctrls::TSkinListView view;
    view.resize(625, 267);
    view.show();
    skinctrls::TListItems& items = view.Items();
    workbench::SetupKeywordColumns(items);
    const size_t heapBefore = HeapInUse();
    auto t = Clock::now();
    workbench::ImportKeywordList(items, path, {});
    QCoreApplication::processEvents();  // the view lays out and paints the new rows
    const double importMs = Ms(t);
    const size_t heapAfter = HeapInUse();
    // Counts as the harvests leave them: thousands separators, some empty, some words.
    for (int i = 0; i < kRows; ++i) {
        const uint32_t v = rng();
        items.Item(i).SubItems[workbench::cellGoogle] =
            (v % 17 == 0) ? QString() : QLocale(QLocale::English).toString(static_cast<qlonglong>(v % 50000000));
    }

    std::printf("rows                          %d\n", kRows);
    std::printf("import (list file)            %8.1f ms   (target < 1500 ms)\n", importMs);
    std::printf("memory per row (heap)         %8.0f bytes (target < 1024)\n", double(heapAfter - heapBefore) / kRows);

    struct Col {
        const char* name;
        int column;
    };
    for (Col c : {Col{"No", 0}, Col{"Keywords", 1}, Col{"Google", 3}}) {
        // The plain reference: the same texts sorted by std::stable_sort with the same row comparison.
        std::vector<const skinctrls::TListItem*> rows;
        for (int i = 0; i < items.Count(); ++i) rows.push_back(&items.Item(i));
        const QCollator collator = workbench::KeywordCollator();
        t = Clock::now();
        std::stable_sort(rows.begin(), rows.end(), [&](const skinctrls::TListItem* a, const skinctrls::TListItem* b) {
            return workbench::CompareRows(*a, *b, c.column, true, collator) < 0;
        });
        const double plainMs = Ms(t);
        // Ours, from a shuffled table each time.
        workbench::SortKeywordTable(items, 0, false);
        t = Clock::now();
        workbench::SortKeywordTable(items, c.column, true);
        QCoreApplication::processEvents();
        const double oursMs = Ms(t);
        std::printf("sort %-10s ours %8.1f ms, plain stable_sort %8.1f ms, ratio %.2f (target <= 10)\n", c.name, oursMs,
                    plainMs, oursMs / plainMs);
    }

    // Export, beside Python's csv module writing the same rows the same way: into a temporary file, synced,
    // then renamed over the name (as ours does, so that a failure never leaves half a file); median of 5.
    std::vector<double> exportRuns;
    for (int round = 0; round < 5; ++round) {
        t = Clock::now();
        common::WriteFileReplacing(dir.filePath("out.csv").toStdString(), workbench::BuildCsv(items));
        exportRuns.push_back(Ms(t));
    }
    std::sort(exportRuns.begin(), exportRuns.end());
    const double exportMs = exportRuns[exportRuns.size() / 2];
    const QString script = QStringLiteral(
        "import csv,os,sys,time\n"
        "rows=list(csv.reader(open(sys.argv[1],newline='')))\n"
        "runs=[]\n"
        "for _ in range(5):\n"
        "    t=time.perf_counter()\n"
        "    with open(sys.argv[2]+'.tmp','w',newline='') as f:\n"
        "        csv.writer(f,quoting=csv.QUOTE_ALL).writerows(rows)\n"
        "        f.flush(); os.fsync(f.fileno())\n"
        "    os.rename(sys.argv[2]+'.tmp',sys.argv[2])\n"
        "    runs.append((time.perf_counter()-t)*1000)\n"
        "print('%.1f'%sorted(runs)[2])\n");
    std::string cmd = "python3 -c \"" + script.toStdString() + "\" '" + dir.filePath("out.csv").toStdString() + "' '" +
                      dir.filePath("py.csv").toStdString() + "'";
    double pyMs = 0;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[64] = {};
        if (fgets(buf, sizeof buf, p)) pyMs = std::atof(buf);
        pclose(p);
    }
    std::printf(
        "export CSV %d rows            %8.1f ms   python csv module with fsync and rename %.1f ms, ratio %.2f "
        "(target <= 1.0)\n",
        kRows, exportMs, pyMs, pyMs > 0 ? exportMs / pyMs : 0.0);
    t = Clock::now();
    workbench::WriteXlsx(items, dir.filePath("out.xlsx").toStdString());
    std::printf("export xlsx %d rows           %8.1f ms   (target < 1000 ms)\n", kRows, Ms(t));

    t = Clock::now();
    workbench::SelectAll(items);
    workbench::DeleteSelected(items);
    QCoreApplication::processEvents();
    std::printf("select all + delete selected  %8.1f ms   (target < 500 ms)\n", Ms(t));
    std::printf("peak resident memory          %8ld KiB\n", PeakRssKiB());
    return 0;
}
