#pragma once
// The keyword table's rules: its six columns, how a row is appended and numbered, the row-count texts of
// the status bar, and importing a keyword list file. The rows themselves live in the list view's item
// store; nothing here keeps a second copy.
#include "skinctrls/list_items.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvanel::workbench {

// Cell indexes of a keyword row (table column c shows cell c - 1).
enum KeywordCell { cellKeyword = 0, cellSearches = 1, cellGoogle = 2, cellYahoo = 3, cellMsn = 4 };
constexpr int kKeywordCellCount = 5;
constexpr int kKeywordColumnCount = kKeywordCellCount + 1;

// The six columns of the table with their captions and widths at design size.
void SetupKeywordColumns(skinctrls::TListItems& items);

// "N items listed" (also for one row) and "Total: N".
QString ItemsListedText(int count);
QString TotalText(int count);

// Appends a row at the end: its caption is the row count before the addition plus 1, its cells the keyword,
// the searches text and three empty cells, its check mark off.
skinctrls::TListItem& AppendKeywordRow(skinctrls::TListItems& items, const QString& keyword,
                                       const QString& searches = QString());

// A list file larger than this is refused rather than read into memory.
inline constexpr uint64_t kMaxListFileBytes = uint64_t{256} << 20;

// Appends one row per line of the named file, numbered on from the rows already there, and reports
// "Total: N" through the status sink. Returns false (adding nothing) when no regular file exists under that
// name; throws dorvanel::Exception when the file exists but cannot be read or is too large.
bool ImportKeywordList(skinctrls::TListItems& items, const QString& fileName,
                       const std::function<void(const QString&)>& status);

}  // namespace dorvanel::workbench
