#include "workbench/keyword_table.h"

#include "common/exception.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace dorvanel::workbench {

using skinctrls::TListItem;
using skinctrls::TListItems;

void SetupKeywordColumns(TListItems& items) {
    items.AddColumn(QStringLiteral("No"), 49);
    items.AddColumn(QStringLiteral("Keywords"), 132);
    items.AddColumn(QStringLiteral("Searches"), 132);
    items.AddColumn(QStringLiteral("Google"), 104);
    items.AddColumn(QStringLiteral("Yahoo"), 104);
    items.AddColumn(QStringLiteral("Msn"), 104);
}

QString ItemsListedText(int count) { return QString::number(count) + QStringLiteral(" items listed"); }

QString TotalText(int count) { return QStringLiteral("Total: ") + QString::number(count); }

TListItem& AppendKeywordRow(TListItems& items, const QString& keyword, const QString& searches) {
    return items.Add(QString::number(items.Count() + 1), {keyword, searches, QString(), QString(), QString()});
}

void ForEachListLine(std::string_view bytes, const std::function<void(std::string_view)>& visit) {
    const size_t end = std::min(bytes.size(), bytes.find('\0'));
    size_t start = 0;
    size_t i = 0;
    while (i < end) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            visit(bytes.substr(start, i - start));
            i += (c == '\r' && i + 1 < end && bytes[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < end) visit(bytes.substr(start, end - start));
}

std::vector<std::string> SplitListLines(const std::string& bytes) {
    std::vector<std::string> lines;
    ForEachListLine(bytes, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

namespace {

std::string ReadWholeFile(const QString& fileName) {
    const QByteArray path = QFile::encodeName(fileName);
    std::ifstream in(path.constData(), std::ios::binary);
    if (!in) {
        throw Exception("Cannot open file \"" + fileName.toLocal8Bit().toStdString() + "\". " +
                        std::strerror(errno));
    }
    std::ostringstream out;
    out << in.rdbuf();
    if (in.bad()) {
        throw Exception("Cannot read file \"" + fileName.toLocal8Bit().toStdString() + "\". " +
                        std::strerror(errno));
    }
    return out.str();
}

}  // namespace

bool ImportKeywordList(TListItems& items, const QString& fileName, const std::function<void(const QString&)>& status) {
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.exists() || info.isDir()) return false;

    // Read everything before adding anything: a file that cannot be read adds no row.
    const std::vector<std::string> lines = SplitListLines(ReadWholeFile(fileName));
    // Imported rows are appended after the rows already present and numbered on from them; the status shows
    // the total also when the file held no line.
    for (const std::string& line : lines)
        AppendKeywordRow(items, QString::fromLocal8Bit(line.data(), static_cast<qsizetype>(line.size())));
    if (status) status(TotalText(items.Count()));
    return true;
}

}  // namespace dorvanel::workbench
