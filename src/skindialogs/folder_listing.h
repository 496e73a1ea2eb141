#pragma once
// Reading a folder for a file dialog: its sub-folders and the files a mask lets through, folders first,
// each group in name order.
#include "common/exception.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace dorvanel::skindialogs {

// A folder that cannot be shown: Error setting path: "<path>"
class EInvalidPath : public dorvanel::Exception {
public:
    explicit EInvalidPath(const QString& path)
        : Exception("Error setting path: \"" + path.toLocal8Bit().toStdString() + "\"") {}
};

// A folder that could not be created: the system's reason.
class EInOutError : public dorvanel::Exception {
public:
    explicit EInOutError(const std::string& reason) : Exception(reason) {}
};

struct TFileEntry {
    QString Name;
    bool IsFolder = false;
    qint64 Size = 0;
    QDateTime Modified;
};

// The entries of folder under mask (see MatchesMask); names starting with "." are hidden, as the desktop's
// file managers hide them. Raises EInvalidPath when the folder does not exist or cannot be read.
std::vector<TFileEntry> ListFolder(const QString& folder, const QString& mask);

// The folder as the dialog keeps it: absolute, cleaned, without a trailing "/" except for "/" itself.
QString NormalFolder(const QString& folder);

// The folder holding path ("/a/b/c.txt" -> "/a/b", "/a" -> "/"); empty when path has no "/".
QString FolderPart(const QString& path);
// What follows the last "/" (the whole text when there is none).
QString NamePart(const QString& path);

// The parent of a folder; "/" stays "/".
QString ParentFolder(const QString& folder);

// Creates "New Folder" inside folder unless a folder of that name is there. Raises EInOutError when the
// system refuses.
void CreateNewFolder(const QString& folder, const QString& name);

}  // namespace dorvanel::skindialogs
