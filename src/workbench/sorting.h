#pragma once
// Sorting the keyword table by a column: the row comparison, the count comparison with its number rules,
// and the sort state with its direction toggle.
#include "skinctrls/list_items.h"

#include <QCollator>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace dorvanel::workbench {

// The value of a count text: the first run of digits and thousands separators (commas) in it, as a 64-bit
// number ("12,775 results" is 12775, "about 1,230" is 1230, "12.5" is 12); a text without a digit is 0, and a
// run too long for 64 bits takes the largest value.
int64_t CountValue(QStringView text);

// +1, 0 or -1 as a's count is greater, equal or smaller than b's.
int CompareCounts(QStringView a, QStringView b);

// The state of column-click sorting: the column last sorted (-1: none yet) and the one direction of the table.
struct TSortState {
    int SortColumn = -1;
    bool SortAscending = true;

    // A click on column c: the same column inverts the direction, another column keeps it.
    void ColumnClicked(int column);
};

// A collator for keywords: the user's locale, without regard to case.
QCollator KeywordCollator();

// Negative when a goes before b in column c, 0 when equal, positive after; negated when not ascending.
int CompareRows(const skinctrls::TListItem& a, const skinctrls::TListItem& b, int column, bool ascending,
                const QCollator& collator);

// Sorts the rows by column c in the given direction, giving the order CompareRows defines. Each row's
// key is worked out once rather than at every comparison.
void SortKeywordTable(skinctrls::TListItems& items, int column, bool ascending);

}  // namespace dorvanel::workbench
