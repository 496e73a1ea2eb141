#pragma once
// The table as a CSV file: every field in double quotes, a header row of the column captions, CR LF after
// every line, rows in the order displayed, text in the system code page.
#include "skinctrls/list_items.h"
#include "skindialogs/file_dialog.h"
#include "skindialogs/skin_message.h"

#include <QString>

#include <functional>
#include <string>

namespace dorvanel::workbench {

// The file's bytes. A double quote inside a field is doubled so that every CSV reader gets the cell back.
std::string BuildCsv(const skinctrls::TListItems& items);

// "Save Results": asks for a file through the save dialog and writes the table there as CSV. An empty table,
// and a failed save (which leaves whatever stood under that name as it was), are told through `message`.
void SaveKeywordTable(const skinctrls::TListItems& items, skindialogs::TSkinSaveDialog& dialog,
                      const std::function<void(const QString&)>& message);

}  // namespace dorvanel::workbench
