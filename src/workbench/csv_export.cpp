#include "workbench/csv_export.h"

#include "common/files.h"
#include "workbench/xlsx_export.h"

#include <QFile>

#include <functional>
#include <string_view>

namespace dorvanel::workbench {

namespace {

void AppendField(std::string& line, const QString& field) {
    // Most cells are ASCII, whose bytes are the same in every code page: they are written straight into the
    // line in one pass, with no conversion of their own (which would cost an allocation per cell); a cell
    // that turns out not to be ASCII is taken back and converted. Quotes inside a value are doubled
    // (RFC 4180); everything else is written as the table holds it.
    const ushort* units = field.utf16();
    const qsizetype length = field.size();
    const size_t at = line.size();
    line.resize(at + 2 * static_cast<size_t>(length) + 2);
    char* out = line.data() + at;
    *out++ = '"';
    for (qsizetype i = 0; i < length; ++i) {
        const ushort unit = units[i];
        if (unit >= 0x80) {
            line.resize(at);
            const QByteArray bytes = field.toLocal8Bit();
            line += '"';
            for (const char c : std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))) {
                if (c == '"') line += '"';
                line += c;
            }
            line += '"';
            return;
        }
        if (unit == '"') *out++ = '"';
        *out++ = static_cast<char>(unit);
    }
    *out++ = '"';
    line.resize(static_cast<size_t>(out - line.data()));
}

// A cell as the table shows it: column 0 is the row's caption (its number).
const QString& CellText(const skinctrls::TListItem& item, int column) {
    return column == 0 ? item.Caption : item.SubItem(column - 1);
}

void AppendLine(std::string& out, const skinctrls::TListItem* item, const skinctrls::TListItems& items) {
    const int columns = items.ColumnCount();
    for (int c = 0; c < columns; ++c) {
        if (c > 0) out += ',';
        AppendField(out, item ? CellText(*item, c) : items.Column(c).Caption);
    }
    out += "\r\n";
}

}  // namespace

std::string BuildCsv(const skinctrls::TListItems& items) {
    std::string out;
    out.reserve(static_cast<size_t>(items.Count()) * 96 + 64);
    AppendLine(out, nullptr, items);
    for (int i = 0; i < items.Count(); ++i) AppendLine(out, &items.Item(i), items);
    return out;
}

std::string BuildCsv(const skinctrls::TListItems& items, const std::vector<int>& rows) {
    std::string out;
    AppendLine(out, nullptr, items);
    for (const int i : rows) AppendLine(out, &items.Item(i), items);
    return out;
}

QString BuildTabText(const skinctrls::TListItems& items, const std::vector<int>& rows) {
    QString out;
    auto appendLine = [&](const std::function<QString(int)>& cell) {
        for (int c = 0; c < items.ColumnCount(); ++c) {
            if (c > 0) out += QLatin1Char('\t');
            QString text = cell(c);
            for (QChar& ch : text) {
                if (ch == QLatin1Char('\t') || ch == QLatin1Char('\r') || ch == QLatin1Char('\n'))
                    ch = QLatin1Char(' ');
            }
            out += text;
        }
        out += QStringLiteral("\r\n");
    };
    appendLine([&](int c) { return items.Column(c).Caption; });
    for (const int i : rows) appendLine([&](int c) { return CellText(items.Item(i), c); });
    return out;
}

QString ResultsFileFilter() { return QStringLiteral("CSV files (*.csv)|*.csv|Excel workbook (*.xlsx)|*.xlsx"); }

bool SaveKeywordTable(const skinctrls::TListItems& items, skindialogs::TSkinSaveDialog& dialog,
                      const std::function<void(const QString&)>& message) {
    if (items.Count() == 0) {
        message(QStringLiteral("You don't have any data to save."));
        return false;
    }
    if (!dialog.RunDialog()) return false;
    const auto type = dialog.FilterIndex == 2 ? TResultsFileType::Xlsx : TResultsFileType::Csv;
    const std::string path = QFile::encodeName(dialog.FileName).toStdString();
    try {
        if (type == TResultsFileType::Xlsx) {
            WriteXlsx(items, path);
        } else {
            common::WriteFileReplacing(path, BuildCsv(items));
        }
        return true;
    } catch (const Exception& e) {
        message(QString::fromLocal8Bit(e.what()));
        return false;
    }
}

}  // namespace dorvanel::workbench
