#include "platform/picture_file.h"

#include <QImageReader>
#include <QPixmap>

#include <iterator>

namespace dorvanel::platform {

namespace {

struct PictureFormat {
    const char* Extension;
    const char* Reader;   // Qt's image format, null for a format without a reader
    const char* Invalid;  // the message for a file that cannot be read
};

constexpr const char* kInvalidIcon = "Icon image is not valid";

constexpr PictureFormat kFormats[] = {
    {"bmp", "bmp", "Bitmap image is not valid"}, {"ico", "ico", kInvalidIcon},
    {"jpg", "jpeg", "JPEG image is not valid"},  {"jpeg", "jpeg", "JPEG image is not valid"},
    {"png", "png", "PNG image is not valid"},    {"wmf", nullptr, "Metafile is not valid"},
    {"emf", nullptr, "Metafile is not valid"},
};

const PictureFormat* FormatOf(const QString& extension) {
    for (const PictureFormat& f : kFormats) {
        if (extension == QLatin1String(f.Extension)) return &f;
    }
    return nullptr;
}

bool SizeAllowed(const QSize& size) {
    if (!size.isValid()) return true;  // unknown until read; Qt's own allocation limit still holds
    return size.width() <= kMaxPictureSide && size.height() <= kMaxPictureSide &&
           qint64{size.width()} * size.height() <= kMaxPicturePixels;
}

}  // namespace

QString FileNamePart(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.mid(cut + 1);
}

QString PictureExtension(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.mid(dot + 1).toLower();
}

QImage LoadPictureFile(const QString& path, const QString& extension) {
    const PictureFormat* format = FormatOf(extension);
    if (!format) {
        throw EInvalidPicture("Unknown picture file extension (." + extension.toLocal8Bit().toStdString() + ")");
    }
    if (!format->Reader) throw EInvalidPicture(format->Invalid);
    QImageReader reader(path, format->Reader);
    reader.setDecideFormatFromContent(false);
    QImage image;
    if (!SizeAllowed(reader.size()) || !reader.read(&image) || image.isNull()) throw EInvalidPicture(format->Invalid);
    return image;
}

QIcon LoadIconFile(const QString& path) {
    QImageReader reader(path, "ico");
    reader.setDecideFormatFromContent(false);
    QIcon icon;
    for (int i = 0; i < std::max(reader.imageCount(), 1); ++i) {
        if (i > 0 && !reader.jumpToNextImage()) break;
        QImage image;
        if (!SizeAllowed(reader.size()) || !reader.read(&image) || image.isNull()) throw EInvalidPicture(kInvalidIcon);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace dorvanel::platform
