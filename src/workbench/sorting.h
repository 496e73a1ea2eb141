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

// The value of a count text: commas removed, then the whole text read as a signed 32-bit integer with
// optional leading blanks and one sign. Anything else (words, dots, trailing blanks, out of range, empty)
// counts as 0.
int32_t CountValue(QStringView text);

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
