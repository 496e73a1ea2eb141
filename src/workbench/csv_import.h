#pragma once
// Reading results back from CSV (RFC 4180): the program's own export cell for cell, and other programs'
// files: quoted fields with doubled quotes and line breaks inside, a UTF-8 byte-order mark, a header line
// recognised by the table's captions, ';' as the separator when the first line has ';' and no ',' outside
// quotes, UTF-8 or else Latin-1 text. A malformed file is refused whole, with the line that broke it named.
#include "skinctrls/list_items.h"
#include "workbench/keyword_table.h"

#include <QString>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace dorvanel::workbench {

inline constexpr size_t kMaxCsvLineBytes = size_t{1} << 20;
inline constexpr uint64_t kMaxCsvFileBytes = uint64_t{256} << 20;

using TCsvRow = std::array<QString, kKeywordColumnCount>;

// The data rows of a CSV text, six cells each (past the sixth ignored, missing ones empty); empty lines and
// a header line are left out. Throws dorvanel::Exception "line N: what is wrong" on malformed input.
std::vector<TCsvRow> ReadCsvRows(std::string_view bytes);

// "Open Results": appends the file's rows to the table, numbered on from the rows there; the file's own "No"
// column is not kept. On any failure (no such file, too large, malformed) the table is left as it was and
// dorvanel::Exception says why, naming the file and the line. Returns the number of rows added.
int AppendCsvFile(skinctrls::TListItems& items, const QString& fileName);

}  // namespace dorvanel::workbench
