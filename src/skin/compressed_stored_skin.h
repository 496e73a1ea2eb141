#pragma once
// A skin archive held in memory: the zlib stream of one description text and its pictures.
#include "skin/zstreams.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace dorvanel::skin {

class TCompressedStoredSkin : public QObject {
    Q_OBJECT
public:
    explicit TCompressedStoredSkin(QObject* owner = nullptr);

    QString Description;         // free text
    QString FileName;            // description file it was packed from (informational)
    QString CompressedFileName;  // archive file it was loaded from (informational)
    QByteArray CompressedData;   // the zlib stream alone

    bool IsEmpty() const { return CompressedData.isEmpty(); }
    // Reads an archive file (version, length, zlib stream) into CompressedData; a version above 3 or a
    // length of 0 or less leaves it empty.
    void LoadArchiveFile(const QString& path);
    // Writes CompressedData as an archive file with the given outer version.
    void SaveArchiveFile(const QString& path, int version = 3) const;
    // Inflates CompressedData into stream.
    void ExtractArchive(TStream& stream) const;
    // Packs a description file and the pictures it names (from the file's folder) into CompressedData.
    // Returns false, leaving CompressedData unchanged, when the description lacks one of its five sections.
    bool BuildFromDescriptionFile(const QString& path);
};

}  // namespace dorvanel::skin
