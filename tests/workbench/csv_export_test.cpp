#include "workbench/csv_export.h"

#include "common/exception.h"
#include "common/files.h"
#include "support/plain/temp_dir.h"
#include "workbench/keyword_table.h"
#include "workbench/sorting.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <filesystem>
#include <sys/stat.h>

using namespace dorvanel;
using namespace dorvanel::workbench;
using skinctrls::TListItems;

namespace {

const char* kHeader = "\"No\",\"Keywords\",\"Searches\",\"Google\",\"Yahoo\",\"Msn\"\r\n";

}  // namespace

TEST(CsvExport, HeaderAndOneRowExactly) {
    TListItems items;
    SetupKeywordColumns(items);
    AppendKeywordRow(items, QStringLiteral("golf"), QStringLiteral("1,200"));
    items.SetSubItem(0, cellGoogle, QStringLiteral("5,430"));
    EXPECT_EQ(BuildCsv(items), std::string(kHeader) + "\"1\",\"golf\",\"1,200\",\"5,430\",\"\",\"\"\r\n");
}

TEST(CsvExport, RowsInDisplayedOrderWithTheirNumbers) {
    TListItems items;
    SetupKeywordColumns(items);
    AppendKeywordRow(items, QStringLiteral("b"), QStringLiteral("20"));
    AppendKeywordRow(items, QStringLiteral("a"), QStringLiteral("3"));
    SortKeywordTable(items, 2, true);
    EXPECT_EQ(BuildCsv(items),
              std::string(kHeader) + "\"2\",\"a\",\"3\",\"\",\"\",\"\"\r\n" + "\"1\",\"b\",\"20\",\"\",\"\",\"\"\r\n");
}

TEST(CsvExport, QuotesAreDoubledAndNothingElseChanges) {
    TListItems items;
    SetupKeywordColumns(items);
    AppendKeywordRow(items, QStringLiteral("12\" \"golf\" clubs"), QStringLiteral(" 1,2 "));
    AppendKeywordRow(items, QStringLiteral("a,b\r\nc"));
    EXPECT_EQ(BuildCsv(items), std::string(kHeader) +
                                   "\"1\",\"12\"\" \"\"golf\"\" clubs\",\" 1,2 \",\"\",\"\",\"\"\r\n"
                                   "\"2\",\"a,b\r\nc\",\"\",\"\",\"\",\"\"\r\n");
}

TEST(CsvExport, ACsvReaderGetsEveryCellBack) {
    TListItems items;
    SetupKeywordColumns(items);
    const QStringList keywords = {"golf, soccer", "the \"best\" clubs", "plain", "  spaced  ", "caf\u00e9"};
    for (const QString& k : keywords) AppendKeywordRow(items, k, QStringLiteral("1,234,567"));
    items.SetSubItem(1, cellMsn, QStringLiteral("about 3,000"));
    test::TempDir dir;
    const QString path = QString::fromStdString(dir.file("out.csv"));
    common::WriteFileReplacing(path.toStdString(), BuildCsv(items));

    // Python's csv module reads the file back; its cells are printed one per line, escaped with repr().
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv,sys\n"
                                 "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                 "    for row in csv.reader(f):\n"
                                 "        print(repr(row))\n"),
                  path});
    ASSERT_TRUE(python.waitForFinished(30000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + keywords.size());
    EXPECT_EQ(lines[0], "['No', 'Keywords', 'Searches', 'Google', 'Yahoo', 'Msn']");
    EXPECT_EQ(lines[1], "['1', 'golf, soccer', '1,234,567', '', '', '']");
    EXPECT_EQ(lines[2], "['2', 'the \"best\" clubs', '1,234,567', '', '', 'about 3,000']");
    EXPECT_EQ(lines[4], "['4', '  spaced  ', '1,234,567', '', '', '']");
    EXPECT_EQ(lines[5], QString::fromUtf8("['5', 'caf\u00e9', '1,234,567', '', '', '']"));
}
