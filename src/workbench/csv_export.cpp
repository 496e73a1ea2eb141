#include "workbench/csv_export.h"

#include "common/files.h"

#include <QFile>

#include <string_view>

namespace dorvanel::workbench {

namespace {

void AppendField(std::string& line, const QString& field) {
    const QByteArray bytes = field.toLocal8Bit();
    line += '"';
    for (const char c : std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))) {
        // Quotes inside a value are doubled (RFC 4180); everything else is written as the table holds it.
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

void AppendLine(std::string& out, const skinctrls::TListItem* item, const skinctrls::TListItems& items) {
    const int columns = items.ColumnCount();
    for (int c = 0; c < columns; ++c) {
        if (c > 0) out += ',';
        if (!item) AppendField(out, items.Column(c).Caption);
        else AppendField(out, c == 0 ? item->Caption : item->SubItem(c - 1));
    }
    out += "\r\n";
}

}  // namespace

std::string BuildCsv(const skinctrls::TListItems& items) {
    std::string out;
    out.reserve(static_cast<size_t>(items.Count()) * 48 + 64);
    AppendLine(out, nullptr, items);
    for (int i = 0; i < items.Count(); ++i) AppendLine(out, &items.Item(i), items);
    return out;
}

void SaveKeywordTable(const skinctrls::TListItems& items, skindialogs::TSkinSaveDialog& dialog,
                      const std::function<void(const QString&)>& message) {
    if (items.Count() == 0) {
        message(QStringLiteral("You don't have any data to save."));
        return;
    }
    if (!dialog.RunDialog()) return;
    try {
        common::WriteFileReplacing(QFile::encodeName(dialog.FileName).toStdString(), BuildCsv(items));
    } catch (const Exception& e) {
        message(QString::fromLocal8Bit(e.what()));
    }
}

}  // namespace dorvanel::workbench
