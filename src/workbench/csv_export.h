#pragma once
// The table as a CSV file: every field in double quotes, a header row of the column captions, CR LF after
// every line, rows in the order displayed, text in the system code page.
#include "skinctrls/list_items.h"

#include <QString>

#include <string>

namespace dorvanel::workbench {

// The file's bytes. A double quote inside a field is doubled so that every CSV reader gets the cell back.
std::string BuildCsv(const skinctrls::TListItems& items);

}  // namespace dorvanel::workbench
