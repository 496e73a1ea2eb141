#pragma once
// The footer commands on the keyword table: ticking, unticking and deleting rows. The confirmations are
// asked by the caller; these only change the rows.
#include "skinctrls/list_items.h"

#include <vector>

namespace dorvanel::workbench {

void SelectAll(skinctrls::TListItems& items);
void ClearSelection(skinctrls::TListItems& items);
// Removes every ticked row; the others keep their order and numbers.
void DeleteSelected(skinctrls::TListItems& items);
void DeleteAll(skinctrls::TListItems& items);
// Removes every row whose keyword equals an earlier row's (blanks at the ends trimmed, letter case ignored by
// Unicode case folding), keeping the first; the others keep their order and numbers, as Delete Selected
// leaves them. Returns how many rows went.
int RemoveDuplicates(skinctrls::TListItems& items);
// The rows whose Google, Yahoo and Msn cells are all empty: what a stopped Gather Data has not reached.
std::vector<skinctrls::TListItemHandle> RowsWithoutCounts(const skinctrls::TListItems& items);

}  // namespace dorvanel::workbench
