#pragma once
// The table as a CSV file: every field in double quotes, a header row of the column captions, CR LF after
// every line, rows in the order displayed, text in the system code page; and the other ways rows leave the
// program: tab-separated text for the clipboard and, through Save Results, an Excel workbook.
#include "skinctrls/list_items.h"
#include "skindialogs/file_dialog.h"
#include "skindialogs/skin_message.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace dorvanel::workbench {

// The file's bytes. A double quote inside a field is doubled so that every CSV reader gets the cell back.
std::string BuildCsv(const skinctrls::TListItems& items);
// The same for the rows at `rows` (indexes, in the order given) under the header line.
std::string BuildCsv(const skinctrls::TListItems& items, const std::vector<int>& rows);

// The rows at `rows` as tab-separated text under a header line of the captions, CR LF after each line, a
// tab or line break inside a cell turned into a blank: what a spreadsheet takes from the clipboard.
QString BuildTabText(const skinctrls::TListItems& items, const std::vector<int>& rows);

// The file types of Save Results, in the order of the save dialog's filter.
enum class TResultsFileType { Csv = 1, Xlsx = 2 };
// The save dialog gives a name typed without the type's extension that extension.
QString ResultsFileFilter();

// "Save Results": asks for a file through the save dialog and writes the table there as CSV or as an Excel
// workbook, as the dialog's file type says. An empty table, and a failed save (which leaves whatever stood
// under that name as it was), are told through `message`. True when the table was written.
bool SaveKeywordTable(const skinctrls::TListItems& items, skindialogs::TSkinSaveDialog& dialog,
                      const std::function<void(const QString&)>& message);

}  // namespace dorvanel::workbench
