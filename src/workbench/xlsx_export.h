#pragma once
// The table as an Excel workbook (libxlsxwriter): one sheet, the header row bold and frozen, the columns as
// wide as the table's, and every count that reads as a whole number ("1,234,000", "912 results") stored as
// a number shown with thousands separators, so that it sorts as a number; every other cell is text (a cell
// that starts with "=", "+", "-" or "@" stays text, never a formula).
#include "skinctrls/list_items.h"

#include <optional>
#include <string>

namespace dorvanel::workbench {

// Writes the workbook to `path` through a temporary file beside it, so that a failure leaves whatever stood
// under that name as it was. Throws dorvanel::Exception when it cannot be written.
void WriteXlsx(const skinctrls::TListItems& items, const std::string& path);

// The whole number a count cell reads as: digits, optionally grouped by commas in threes, optionally
// followed by " results". Nothing for any other text.
std::optional<double> CountValue(const QString& text);

}  // namespace dorvanel::workbench
