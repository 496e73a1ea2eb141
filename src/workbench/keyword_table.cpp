#include "workbench/keyword_table.h"

#include "common/exception.h"
#include "common/files.h"
#include "common/text.h"

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

bool ImportKeywordList(TListItems& items, const QString& fileName, const std::function<void(const QString&)>& status) {
    // Only a regular file is a list: a folder, a FIFO or a device counts as no file at all.
    const std::string path = QFile::encodeName(fileName).toStdString();
    if (fileName.isEmpty() || !common::IsRegularFile(path)) return false;

    // Read everything before adding anything: a file that cannot be read adds no row.
    const std::vector<std::string> lines = common::SplitListLines(common::ReadWholeFile(path, kMaxListFileBytes));
    // Imported rows are appended after the rows already present and numbered on from them; the status shows
    // the total also when the file held no line.
    for (const std::string& line : lines)
        AppendKeywordRow(items, QString::fromLocal8Bit(line.data(), static_cast<qsizetype>(line.size())));
    if (status) status(TotalText(items.Count()));
    return true;
}

}  // namespace dorvanel::workbench
