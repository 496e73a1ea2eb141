#include "skindialogs/folder_listing.h"

#include "skindialogs/confirm_rules.h"
#include "skindialogs/file_filter.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace dorvanel::skindialogs {

std::vector<TFileEntry> ListFolder(const QString& folder, const QString& mask) {
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists() || !QFileInfo(folder).isReadable()) throw EInvalidPath(folder);
    std::vector<TFileEntry> folders, files;
    const QFileInfoList infos =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden, QDir::NoSort);
    for (const QFileInfo& info : infos) {
        const QString name = info.fileName();
        if (info.isDir()) {
            // Folders whose names start with "." are folders like any other.
            folders.push_back({name, true, 0, info.lastModified()});
        } else if (!name.startsWith(QLatin1Char('.')) && MatchesMask(name, mask)) {
            files.push_back({name, false, info.size(), info.lastModified()});
        }
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const auto byName = [&](const TFileEntry& a, const TFileEntry& b) {
        const int c = collator.compare(a.Name, b.Name);
        return c != 0 ? c < 0 : a.Name < b.Name;
    };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    folders.insert(folders.end(), files.begin(), files.end());
    return folders;
}

QString NormalFolder(const QString& folder) {
    if (folder.isEmpty()) return folder;
    return QDir::cleanPath(QDir(folder).absolutePath());
}

QString FolderPart(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return {};
    if (slash == 0) return QStringLiteral("/");
    return path.left(slash);
}

QString NamePart(const QString& path) { return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1); }

QString ParentFolder(const QString& folder) {
    const QString parent = FolderPart(NormalFolder(folder));
    return parent.isEmpty() ? folder : parent;
}

void CreateNewFolder(const QString& folder, const QString& name) {
    const QString path = JoinPath(folder, name);
    if (QFileInfo(path).isDir()) return;
    if (::mkdir(path.toLocal8Bit().constData(), 0777) != 0) throw EInOutError(std::strerror(errno));
}

}  // namespace dorvanel::skindialogs
