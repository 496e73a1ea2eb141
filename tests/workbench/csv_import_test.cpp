// Results read back from CSV: our own export cell for cell (export, open, export gives the same bytes),
// other programs' files per RFC 4180, and malformed files refused with their line, the table untouched.
#include "workbench/csv_import.h"

#include "common/exception.h"
#include "support/plain/temp_dir.h"
#include "workbench/csv_export.h"
#include "workbench/keyword_table.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace dorvanel;
using namespace dorvanel::workbench;
using skinctrls::TListItems;

namespace {

std::vector<std::vector<std::string>> cellsOf(const std::vector<TCsvRow>& rows) {
    std::vector<std::vector<std::string>> out;
    for (const TCsvRow& row : rows) {
        std::vector<std::string> cells;
        for (const QString& cell : row) cells.push_back(cell.toStdString());
        out.push_back(cells);
    }
    return out;
}

using Cells = std::vector<std::vector<std::string>>;

}  // namespace

TEST(CsvImport, Rfc4180AndTheFilesOfOtherPrograms) {
    const struct {
        const char* name;
        std::string bytes;
        Cells rows;
    } cases[] = {
        {"our header skipped, quoted fields",
         "\"No\",\"Keywords\",\"Searches\",\"Google\",\"Yahoo\",\"Msn\"\r\n\"7\",\"golf\",\"1,200\",\"5\",\"\",\"9 "
         "results\"\r\n",
         {{"7", "golf", "1,200", "5", "", "9 results"}}},
        {"doubled quotes and a line break inside quotes",
         "1,\"say \"\"hi\"\"\",\"two\r\nlines\"\n",
         {{"1", "say \"hi\"", "two\r\nlines", "", "", ""}}},
        {"byte-order mark, header in other case, LF and CR line ends",
         "\xEF\xBB\xBFno,keywords,searches\n1,a,2\r3,b,4",
         {{"1", "a", "2", "", "", ""}, {"3", "b", "4", "", "", ""}}},
        {"semicolons when the first line has no comma",
         "No;Keywords;Searches\n1;\"a;b\";\"1,5\"\n",
         {{"1", "a;b", "1,5", "", "", ""}}},
        {"a comma on the first line keeps commas", "1,a;b\n", {{"1", "a;b", "", "", "", ""}}},
        {"columns past the sixth ignored, empty lines skipped",
         "\n1,a,b,c,d,e,f,g\n\n",
         {{"1", "a", "b", "c", "d", "e"}}},
        {"a quote inside an unquoted field stays", "1,5\" putter\n", {{"1", "5\" putter", "", "", "", ""}}},
        {"UTF-8", "1,caf\xC3\xA9\n", {{"1", "caf\xC3\xA9", "", "", "", ""}}},
        {"Latin-1 when not UTF-8", "1,caf\xE9\n", {{"1", "caf\xC3\xA9", "", "", "", ""}}},
        {"a last empty quoted field", "1,\"\"", {{"1", "", "", "", "", ""}}},
    };
    for (const auto& c : cases) EXPECT_EQ(cellsOf(ReadCsvRows(c.bytes)), c.rows) << c.name;
}

TEST(CsvImport, MalformedFilesAreRefusedWithTheirLine) {
    const std::string longLine(kMaxCsvLineBytes + 1, 'x');
    const struct {
        std::string bytes;
        std::string failure;
    } cases[] = {
        {"1,a\n2,\"open\nstill open\n", "line 2: a quoted field starts here and never ends"},
        {"1,a\n" + longLine + "\n", "line 2: the line is longer than 1 MiB"},
        {"1,\"" + longLine + "\"\n", "line 1: the line is longer than 1 MiB"},
        {"1,a\n2,b\x01\n", "line 2: the file is not text"},
        {std::string("1,a\0b\n", 6), "line 1: the file is not text"},
    };
    for (const auto& c : cases) {
        try {
            ReadCsvRows(c.bytes);
            ADD_FAILURE() << "accepted: " << c.failure;
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.failure);
        }
    }
}

TEST(CsvImport, OurExportReadsBackCellForCell) {
    TListItems items;
    SetupKeywordColumns(items);
    AppendKeywordRow(items, QStringLiteral("golf \"pro\" clubs"), QStringLiteral("1,200"));
    AppendKeywordRow(items, QString::fromUtf8("caf\xC3\xA9, bar"), QString());
    AppendKeywordRow(items, QStringLiteral("two\r\nlines"), QStringLiteral("3"));
    items.SetSubItem(0, cellGoogle, QStringLiteral("5,430"));
    items.SetSubItem(2, cellMsn, QStringLiteral("77 results"));
    const std::string exported = BuildCsv(items);
    test::TempDir dir;
    const std::string path = dir.file("results.csv");
    std::ofstream(path, std::ios::binary) << exported;
    TListItems opened;
    SetupKeywordColumns(opened);
    EXPECT_EQ(AppendCsvFile(opened, QString::fromStdString(path)), 3);
    EXPECT_EQ(BuildCsv(opened), exported);
}

TEST(CsvImport, RowsAreNumberedOnAndARefusedFileAddsNothing) {
    test::TempDir dir;
    TListItems items;
    SetupKeywordColumns(items);
    AppendKeywordRow(items, QStringLiteral("first"));
    const std::string good = dir.file("good.csv");
    std::ofstream(good) << "99,second,10\n";
    AppendCsvFile(items, QString::fromStdString(good));
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items.Item(1).Caption, "2");
    EXPECT_EQ(items.Item(1).SubItem(cellKeyword), "second");

    const std::string bad = dir.file("bad.csv");
    std::ofstream(bad) << "1,third\n2,\"never closed\n";
    for (const std::string& path : {bad, dir.file("missing.csv")}) {
        EXPECT_THROW(AppendCsvFile(items, QString::fromStdString(path)), Exception);
        EXPECT_EQ(items.Count(), 2);
    }
    try {
        AppendCsvFile(items, QString::fromStdString(bad));
    } catch (const Exception& e) {
        EXPECT_EQ(
            std::string(e.what()),
            "The file " + bad + " cannot be opened as results: line 2: a quoted field starts here and never ends");
    }
}
