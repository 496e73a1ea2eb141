#pragma once
// The footer commands on the keyword table: ticking, unticking and deleting rows. The confirmations are
// asked by the caller; these only change the rows.
#include "skinctrls/list_items.h"

namespace dorvanel::workbench {

void SelectAll(skinctrls::TListItems& items);
void ClearSelection(skinctrls::TListItems& items);
// Removes every ticked row; the others keep their order and numbers.
void DeleteSelected(skinctrls::TListItems& items);
void DeleteAll(skinctrls::TListItems& items);

}  // namespace dorvanel::workbench
