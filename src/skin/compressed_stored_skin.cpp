#include "skin/compressed_stored_skin.h"

#include "skin/bitmap_io.h"
#include "skin/skin_description.h"
#include "skin/skin_errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <array>

namespace dorvanel::skin {

namespace {

// The newest archive layout this program reads and the one it writes.
constexpr int kArchiveVersion = 3;

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw EFOpenError(path.toStdString(), file.errorString().toStdString());
    return file.readAll();
}

QImage LoadPictureFile(const QDir& folder, const std::string& name) {
    const QString path = folder.filePath(QString::fromLocal8Bit(name.data(), qsizetype(name.size())));
    QImage picture(path);
    if (picture.isNull()) throw EFOpenError(path.toStdString(), "The file is missing or is no picture");
    return picture;
}

}  // namespace

TCompressedStoredSkin::TCompressedStoredSkin(QObject* owner) : QObject(owner) {}

void TCompressedStoredSkin::LoadArchiveFile(const QString& path) {
    CompressedData.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw EFOpenError(path.toStdString(), file.errorString().toStdString());
    TMemoryStream head(file.read(8));
    const std::int32_t version = head.ReadInt32();
    if (version > kArchiveVersion) return;
    const std::int32_t length = head.ReadInt32();
    // A length of 0 or less carries no skin: the file is passed over like one of a newer version.
    if (length <= 0) return;
    if (length > file.size() - 8) throw EReadError();
    QByteArray data = file.read(length);
    if (data.size() != length) throw EReadError();
    CompressedData = std::move(data);
    CompressedFileName = path;
}

void TCompressedStoredSkin::SaveArchiveFile(const QString& path, int version) const {
    TMemoryStream out;
    out.WriteInt32(version);
    out.WriteInt32(std::int32_t(CompressedData.size()));
    out.WriteBuffer(CompressedData.constData(), CompressedData.size());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(out.Data()) != out.Size())
        throw EFOpenError(path.toStdString(), file.errorString().toStdString());
}

void TCompressedStoredSkin::ExtractArchive(TStream& stream) const {
    TMemoryStream source(CompressedData);
    InflateStream(stream, source);
}

bool TCompressedStoredSkin::BuildFromDescriptionFile(const QString& path) {
    const QByteArray text = ReadWholeFile(path);
    const std::string_view textView(text.constData(), std::size_t(text.size()));
    const TSkinDescription description(textView);
    for (const char* section : {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"})
        if (!description.HasSection(section)) return false;

    const QDir folder = QFileInfo(path).absoluteDir();
    TMemoryStream archive;
    archive.WriteInt32(kArchiveVersion);
    for (const char* slot : {"picture", "inactivepicture", "mask"}) {
        const std::string name = description.ReadString("PICTURES", slot);
        const unsigned char flag = name.empty() ? 1 : 0;
        archive.WriteBuffer(&flag, 1);
        if (!name.empty()) WriteBitmap(archive, LoadPictureFile(folder, name));
    }
    const std::vector<std::string> names = description.ReadNameList("PICTURES", "activepictures");
    archive.WriteInt32(std::int32_t(names.size()));
    for (const std::string& name : names) WriteBitmap(archive, LoadPictureFile(folder, name));
    for (const std::string& line : TSkinDescription::SplitLines(textView)) {
        archive.WriteBuffer(line.data(), std::int64_t(line.size()));
        archive.WriteBuffer("\r\n", 2);
    }

    TMemoryStream packed;
    DeflateStream(archive, packed);
    CompressedData = packed.Data();
    FileName = path;
    return true;
}

}  // namespace dorvanel::skin
