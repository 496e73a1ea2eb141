#include "workbench/csv_import.h"

#include "common/exception.h"
#include "common/files.h"

#include <QFile>
#include <QStringDecoder>

namespace dorvanel::workbench {

namespace {

[[noreturn]] void refuse(size_t line, const std::string& what) {
    throw Exception("line " + std::to_string(line) + ": " + what);
}

// Bytes no text file holds (other control bytes than tab, CR and LF).
bool isBinaryByte(unsigned char c) { return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F; }

// ';' separates when the first record has ';' and no ',' outside quotes (a spreadsheet in a locale whose
// decimal mark is the comma writes such files).
char separatorOf(std::string_view bytes) {
    bool quoted = false;
    bool comma = false;
    bool semicolon = false;
    for (const char c : bytes) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\r' || c == '\n') break;
        comma = comma || c == ',';
        semicolon = semicolon || c == ';';
    }
    return semicolon && !comma ? ';' : ',';
}

// Splits the text into records of raw field bytes; the state machine of RFC 4180 with CR, LF and CR LF all
// ending a line outside quotes.
std::vector<std::vector<std::string>> splitRecords(std::string_view bytes, char separator) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    size_t line = 1;
    size_t lineStart = 0;
    size_t quoteLine = 0;
    bool quoted = false;
    bool fieldWasQuoted = false;
    auto endLine = [&](size_t next) {
        if (next - lineStart > kMaxCsvLineBytes) refuse(line, "the line is longer than 1 MiB");
        ++line;
        lineStart = next;
    };
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n' || (c == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))) endLine(i + 1);
                field += c;
            }
            continue;
        }
        if (c == '"' && field.empty() && !fieldWasQuoted) {
            quoted = fieldWasQuoted = true;
            quoteLine = line;
        } else if (c == separator) {
            record.push_back(std::move(field));
            field.clear();
            fieldWasQuoted = false;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            record.push_back(std::move(field));
            field.clear();
            fieldWasQuoted = false;
            // A line with nothing on it is no record.
            if (!(record.size() == 1 && record[0].empty())) records.push_back(std::move(record));
            record.clear();
            endLine(i + 1);
        } else {
            // Bytes after a closing quote, or a quote inside an unquoted field, are kept as they stand.
            field += c;
        }
    }
    if (quoted) refuse(quoteLine, "a quoted field starts here and never ends");
    if (bytes.size() - lineStart > kMaxCsvLineBytes) refuse(line, "the line is longer than 1 MiB");
    if (!field.empty() || fieldWasQuoted || !record.empty()) {
        record.push_back(std::move(field));
        records.push_back(std::move(record));
    }
    return records;
}

bool isHeader(const std::vector<QString>& cells) {
    static const QString kCaptions[] = {QStringLiteral("No"),       QStringLiteral("Keywords"),
                                        QStringLiteral("Searches"), QStringLiteral("Google"),
                                        QStringLiteral("Yahoo"),    QStringLiteral("Msn")};
    static_assert(std::size(kCaptions) == kKeywordColumnCount, "one caption per column");
    if (cells.size() < 2) return false;
    for (size_t c = 0; c < std::min(cells.size(), std::size(kCaptions)); ++c) {
        if (cells[c].trimmed().compare(kCaptions[c], Qt::CaseInsensitive) != 0) return false;
    }
    return true;
}

}  // namespace

std::vector<TCsvRow> ReadCsvRows(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    size_t line = 1;
    for (const char c : bytes) {
        if (c == '\n') ++line;
        if (isBinaryByte(static_cast<unsigned char>(c))) refuse(line, "the file is not text");
    }
    // UTF-8 when the whole file reads as UTF-8, else Latin-1 (which every byte is).
    QStringDecoder utf8(QStringDecoder::Utf8);
    [[maybe_unused]] const QString probe = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    const bool isUtf8 = !utf8.hasError();
    auto decode = [isUtf8](const std::string& raw) {
        return isUtf8 ? QString::fromUtf8(raw.data(), static_cast<qsizetype>(raw.size()))
                      : QString::fromLatin1(raw.data(), static_cast<qsizetype>(raw.size()));
    };
    std::vector<TCsvRow> rows;
    bool first = true;
    for (const auto& record : splitRecords(bytes, separatorOf(bytes))) {
        std::vector<QString> cells;
        cells.reserve(std::min<size_t>(record.size(), kKeywordColumnCount));
        for (size_t c = 0; c < record.size() && c < kKeywordColumnCount; ++c) cells.push_back(decode(record[c]));
        if (first && isHeader(cells)) {
            first = false;
            continue;
        }
        first = false;
        TCsvRow row;
        for (size_t c = 0; c < cells.size(); ++c) row[c] = std::move(cells[c]);
        rows.push_back(std::move(row));
    }
    return rows;
}

int AppendCsvFile(skinctrls::TListItems& items, const QString& fileName) {
    const std::string path = QFile::encodeName(fileName).toStdString();
    std::vector<TCsvRow> rows;
    try {
        if (!common::IsRegularFile(path)) throw Exception("there is no such file");
        rows = ReadCsvRows(common::ReadWholeFile(path, kMaxCsvFileBytes));
    } catch (const Exception& e) {
        throw Exception("The file " + path + " cannot be opened as results: " + e.what());
    }
    // Everything was read before the first row is added: a refused file adds nothing.
    for (const TCsvRow& row : rows) {
        AppendKeywordRow(items, row[1], row[2]);
        for (int cell = cellGoogle; cell < kKeywordCellCount; ++cell) {
            items.SetSubItem(items.Count() - 1, cell, row[static_cast<size_t>(cell) + 1]);
        }
    }
    return static_cast<int>(rows.size());
}

}  // namespace dorvanel::workbench
