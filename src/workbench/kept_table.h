#pragma once
// The table kept when the window closes with changes that were not saved: written in the export's CSV form
// to $XDG_STATE_HOME/dorvanel/last-table.csv (by default ~/.local/state/dorvanel/), and appended again by
// "Restore Last Table".
#include "skinctrls/list_items.h"

#include <QString>

namespace dorvanel::workbench {

QString KeptTablePath();
bool KeptTableExists();
// Writes the table there atomically (the folder made when needed). Throws dorvanel::Exception on failure.
void KeepTable(const skinctrls::TListItems& items);

}  // namespace dorvanel::workbench
