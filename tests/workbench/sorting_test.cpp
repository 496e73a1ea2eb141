#include "workbench/sorting.h"

#include "workbench/keyword_table.h"

#include <gtest/gtest.h>

using namespace dorvanel::workbench;
using dorvanel::skinctrls::TListItems;

TEST(CountValue, FirstRunOfDigitsAndSeparatorsAs64Bits) {
    // The cells the program itself writes: engine counts with words around them, and counts past 2^31.
    const std::pair<const char16_t*, int64_t> cases[] = {
        {u"1,234,567", 1234567},
        {u"12,775 results", 12775},
        {u"about 1,230", 1230},
        {u"12.5", 12},
        {u"3,450,000,000", 3450000000},
        {u"  42 ", 42},
        {u"-17", 17},
        {u"1e3", 1},
        {u"", 0},
        {u"words", 0},
        {u"99999999999999999999", INT64_MAX},
        {u"\u0663", 0},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(CountValue(text), value) << QString::fromUtf16(text).toStdString();
}

TEST(CompareCounts, OrdersByValue) {
    EXPECT_EQ(CompareCounts(u"1,200", u"950"), 1);
    EXPECT_EQ(CompareCounts(u"950 results", u"1,200 results"), -1);
    EXPECT_EQ(CompareCounts(u"", u"words"), 0);
    EXPECT_EQ(CompareCounts(u"2,147,483,648", u"5"), 1);
}

TEST(SortState, DirectionTogglesOnTheSameColumnAndCarriesToAnother) {
    TSortState s;
    s.ColumnClicked(1);
    EXPECT_EQ(s.SortColumn, 1);
    EXPECT_TRUE(s.SortAscending);
    s.ColumnClicked(1);
    EXPECT_FALSE(s.SortAscending);
    s.ColumnClicked(3);  // another column keeps the direction last used
    EXPECT_EQ(s.SortColumn, 3);
    EXPECT_FALSE(s.SortAscending);
    s.ColumnClicked(3);
    EXPECT_TRUE(s.SortAscending);
}

namespace {

void Fill(TListItems& items, std::initializer_list<std::pair<const char*, const char*>> rows) {
    for (const auto& [k, s] : rows) AppendKeywordRow(items, QString::fromUtf8(k), QString::fromUtf8(s));
}

QStringList Column(const TListItems& items, int cell) {
    QStringList out;
    for (int i = 0; i < items.Count(); ++i) out << items.Item(i).SubItem(cell);
    return out;
}

}  // namespace

TEST(SortKeywordTable, CountsSortByTheirNumbersAlsoWithWordsAndPast32Bits) {
    TListItems items;
    Fill(items, {{"a", "1,200 results"}, {"b", "950 results"}, {"c", ""}, {"d", "about 3"}, {"e", "3,450,000,000"}});
    SortKeywordTable(items, 2, true);
    EXPECT_EQ(Column(items, cellSearches),
              (QStringList{"", "about 3", "950 results", "1,200 results", "3,450,000,000"}));
    SortKeywordTable(items, 2, false);
    EXPECT_EQ(Column(items, cellSearches).first(), "3,450,000,000");
    EXPECT_EQ(Column(items, cellSearches).last(), "");
}

TEST(SortKeywordTable, NumberColumnIsNumericNotText) {
    TListItems items;
    for (int i = 0; i < 12; ++i) AppendKeywordRow(items, QString::number(i));
    SortKeywordTable(items, 0, false);
    SortKeywordTable(items, 0, true);
    QStringList captions;
    for (int i = 0; i < items.Count(); ++i) captions << items.Item(i).Caption;
    EXPECT_EQ(captions.mid(0, 3), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(captions.last(), "12");
}

TEST(SortKeywordTable, KeywordsIgnoreCase) {
    TListItems items;
    Fill(items, {{"Banana", ""}, {"golf", ""}, {"apple", ""}, {"Golf", ""}});
    SortKeywordTable(items, 1, true);
    const QStringList keys = Column(items, cellKeyword);
    EXPECT_EQ(keys[0], "apple");
    EXPECT_EQ(keys[1], "Banana");
    EXPECT_TRUE((keys.mid(2) == QStringList{"golf", "Golf"}) || (keys.mid(2) == QStringList{"Golf", "golf"}));

    const QCollator collator = KeywordCollator();
    EXPECT_EQ(CompareRows(items.Item(2), items.Item(3), 1, true, collator), 0);
}

TEST(SortKeywordTable, GivesTheOrderOfCompareRows) {
    // The fast sort must agree with the row comparison in every column and direction.
    TListItems items;
    Fill(items, {{"b", "10"}, {"A", "9"}, {"c", "x"}, {"a", "1,0"}, {"B", "-2"}, {"d", ""}});
    items.SetSubItem(3, cellGoogle, QStringLiteral("5"));
    items.SetSubItem(0, cellGoogle, QStringLiteral("7"));
    const QCollator collator = KeywordCollator();
    for (int column = 0; column < kKeywordColumnCount; ++column) {
        for (bool ascending : {true, false}) {
            SortKeywordTable(items, column, ascending);
            for (int i = 0; i + 1 < items.Count(); ++i)
                EXPECT_LE(CompareRows(items.Item(i), items.Item(i + 1), column, ascending, collator), 0)
                    << "column " << column << " ascending " << ascending << " at row " << i;
        }
    }
}

TEST(SortKeywordTable, RowsMoveWholeWithTheirChecksAndNumbers) {
    TListItems items;
    Fill(items, {{"b", "2"}, {"a", "1"}});
    items.SetChecked(0, true);
    SortKeywordTable(items, 2, true);
    EXPECT_EQ(items.Item(0).Caption, "2");
    EXPECT_FALSE(items.Item(0).Checked);
    EXPECT_EQ(items.Item(1).Caption, "1");
    EXPECT_TRUE(items.Item(1).Checked);
    AppendKeywordRow(items, QStringLiteral("c"));  // rows added later go to the end
    EXPECT_EQ(items.Item(2).Caption, "3");
}
