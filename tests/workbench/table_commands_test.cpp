// The table's commands beyond the buttons: removing duplicates, the rows a resumed Gather Data takes, the
// clipboard's tab text, and the Excel workbook read back by openpyxl.
#include "workbench/csv_export.h"
#include "workbench/keyword_table.h"
#include "workbench/table_operations.h"
#include "workbench/xlsx_export.h"

#include "support/plain/temp_dir.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <unistd.h>

using namespace dorvanel;
using namespace dorvanel::workbench;
using skinctrls::TListItems;

namespace {

TListItems& keywords(TListItems& items, const QStringList& words) {
    SetupKeywordColumns(items);
    for (const QString& word : words) AppendKeywordRow(items, word);
    return items;
}

QStringList keywordsOf(const TListItems& items) {
    QStringList out;
    for (int i = 0; i < items.Count(); ++i)
        out << items.Item(i).Caption + QLatin1Char(':') + items.Item(i).SubItem(cellKeyword);
    return out;
}

}  // namespace

TEST(TableCommands, DuplicatesGoKeepingTheFirstByCaseFolding) {
    TListItems items;
    keywords(items, {QStringLiteral("Golf"), QStringLiteral("tennis"), QStringLiteral(" GOLF "),
                     QString::fromUtf8("\xC3\x89"
                                       "cole"),
                     QString::fromUtf8("\xC3\xA9"
                                       "cole"),
                     QStringLiteral("golf"), QStringLiteral("golf clubs")});
    EXPECT_EQ(RemoveDuplicates(items), 3);
    EXPECT_EQ(keywordsOf(items), (QStringList{QStringLiteral("1:Golf"), QStringLiteral("2:tennis"),
                                              QString::fromUtf8("4:\xC3\x89"
                                                                "cole"),
                                              QStringLiteral("7:golf clubs")}));
    EXPECT_EQ(RemoveDuplicates(items), 0);
}

TEST(TableCommands, RowsWithoutCountsAreThoseWithAllThreeEmpty) {
    TListItems items;
    keywords(items, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")});
    items.SetSubItem(0, cellGoogle, QStringLiteral("1"));
    items.SetSubItem(2, cellMsn, QStringLiteral("0 results"));
    items.SetSubItem(3, cellSearches, QStringLiteral("12"));
    const auto rows = RowsWithoutCounts(items);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].lock()->SubItem(cellKeyword), "b");
    EXPECT_EQ(rows[1].lock()->SubItem(cellKeyword), "d");
}

TEST(TableCommands, TabTextForTheClipboard) {
    TListItems items;
    keywords(items, {QStringLiteral("a\tb"), QStringLiteral("skipped"), QStringLiteral("two\r\nlines")});
    items.SetSubItem(2, cellGoogle, QStringLiteral("1,000"));
    EXPECT_EQ(BuildTabText(items, {0, 2}),
              "No\tKeywords\tSearches\tGoogle\tYahoo\tMsn\r\n1\ta b\t\t\t\t\r\n3\ttwo  lines\t\t1,000\t\t\r\n");
    EXPECT_EQ(BuildCsv(items, {2}),
              "\"No\",\"Keywords\",\"Searches\",\"Google\",\"Yahoo\",\"Msn\"\r\n\"3\",\"two\r\nlines\",\"\",\"1,000\","
              "\"\",\"\"\r\n");
}

TEST(TableCommands, CountCellsThatReadAsWholeNumbers) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"1,234,000", 1234000},
        {"912 results", 912},
        {"42", 42},
        {"0", 0},
        {"1,23", std::nullopt},
        {"12,3456", std::nullopt},
        {"-5", std::nullopt},
        {"=1+1", std::nullopt},
        {"", std::nullopt},
        {"1 234", std::nullopt},
        {"1234567890123456", std::nullopt},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(CountValue(QString::fromLatin1(text)), value) << text;
}

TEST(TableCommands, WorkbookReadBackByOpenpyxl) {
    if (::access("/usr/bin/python3", X_OK) != 0 ||
        QProcess::execute(QStringLiteral("/usr/bin/python3"),
                          {QStringLiteral("-c"), QStringLiteral("import openpyxl")}) != 0) {
        GTEST_SKIP() << "Debian's python3-openpyxl is not installed";
    }
    TListItems items;
    keywords(items, {QStringLiteral("golf"), QStringLiteral("=cmd()"), QString::fromUtf8("caf\xC3\xA9")});
    items.SetSubItem(0, cellSearches, QStringLiteral("1,200"));
    items.SetSubItem(0, cellGoogle, QStringLiteral("5,430,000"));
    items.SetSubItem(0, cellMsn, QStringLiteral("77 results"));
    items.SetSubItem(1, cellYahoo, QStringLiteral("about 5"));
    test::TempDir dir;
    const std::string path = dir.file("results.xlsx");
    WriteXlsx(items, path);
    const char* script = R"(
import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).active
print(ws.freeze_panes, ws['A1'].font.b, ws.column_dimensions['B'].width > ws.column_dimensions['A'].width)
for row in ws.iter_rows(min_row=1, max_row=4):
    print('|'.join('%s:%s:%s' % (type(c.value).__name__, c.value, c.number_format) for c in row))
)";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromLatin1(script), QString::fromStdString(path)});
    ASSERT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.readAllStandardOutput().toStdString(),
              "A2 True True\n"
              "str:No:General|str:Keywords:General|str:Searches:General|str:Google:General|str:Yahoo:General|str:Msn:"
              "General\n"
              "int:1:General|str:golf:General|int:1200:#,##0|int:5430000:#,##0|NoneType:None:General|int:77:#,##0\n"
              "int:2:General|str:=cmd():General|NoneType:None:General|NoneType:None:General|str:about "
              "5:General|NoneType:None:General\n"
              "int:3:General|str:caf\xC3\xA9:General|NoneType:None:General|NoneType:None:General|NoneType:None:General|"
              "NoneType:None:General\n")
        << python.readAllStandardError().toStdString();
}
