#include "skin/bitmap_io.h"

#include "skin/skin_errors.h"

#include <QBuffer>
#include <QImageReader>

#include <cstring>
#include <vector>

namespace dorvanel::skin {

namespace {

std::uint32_t U32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t U16(const unsigned char* p) { return std::uint16_t(p[0] | p[1] << 8); }

void Put16(std::vector<unsigned char>& out, std::uint16_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}
void Put32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

enum : std::uint32_t { BI_RGB = 0, BI_BITFIELDS = 3 };

}  // namespace

QImage ReadBitmap(TMemoryStream& stream, std::int64_t& pixelBudget) {
    const std::int64_t start = stream.Position();
    const std::int64_t available = stream.Size() - start;
    if (available < kMinBitmapFileSize) throw EReadError();
    const auto* p = reinterpret_cast<const unsigned char*>(stream.Data().constData()) + start;
    if (p[0] != 'B' || p[1] != 'M') throw EInvalidGraphic();
    const std::uint32_t fileSize = U32(p + 2);
    const std::uint32_t pixelOffset = U32(p + 10);
    if (fileSize < std::uint32_t(kMinBitmapFileSize)) throw EInvalidGraphic();
    if (fileSize > std::uint64_t(available)) throw EReadError();

    // Check the headers against the bytes present before any decoder sizes a picture from them.
    const std::uint32_t infoSize = U32(p + 14);
    const auto width = static_cast<std::int32_t>(U32(p + 18));
    const auto height = static_cast<std::int32_t>(U32(p + 22));
    const std::uint16_t planes = U16(p + 26);
    const std::uint16_t bits = U16(p + 28);
    const std::uint32_t compression = U32(p + 30);
    const std::int64_t rows = height < 0 ? -std::int64_t(height) : height;
    const bool knownBits = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (infoSize < 40 || 14 + std::uint64_t(infoSize) > fileSize || width <= 0 || rows == 0 || planes != 1 ||
        !knownBits || width > kMaxBitmapSide || rows > kMaxBitmapSide ||
        std::int64_t(width) * rows > kMaxBitmapPixels || std::int64_t(width) * rows > pixelBudget)
        throw EInvalidGraphic();
    if (!(compression == BI_RGB || (compression == BI_BITFIELDS && (bits == 16 || bits == 32))))
        throw EInvalidGraphic();
    const std::int64_t rowBytes = ((std::int64_t(width) * bits + 31) / 32) * 4;
    if (pixelOffset < 14 + infoSize || std::int64_t(pixelOffset) + rowBytes * rows > std::int64_t(fileSize))
        throw EInvalidGraphic();

    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(p), qsizetype(fileSize));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    QImage image = reader.read();
    if (image.isNull() || image.width() != width || image.height() != rows) throw EInvalidGraphic();
    stream.Seek(fileSize, TSeekOrigin::soCurrent);
    pixelBudget -= std::int64_t(width) * rows;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

void WriteBitmap(TStream& stream, const QImage& picture) {
    const bool indexed = picture.format() == QImage::Format_Indexed8 && picture.colorCount() <= 256;
    const QImage image = indexed ? picture : picture.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();
    const int bits = indexed ? 8 : 24;
    const int colors = indexed ? image.colorCount() : 0;
    const std::uint32_t rowBytes = ((std::uint32_t(width) * bits + 31) / 32) * 4;
    const std::uint32_t offset = 14 + 40 + 4 * std::uint32_t(colors);
    const std::uint32_t fileSize = offset + rowBytes * std::uint32_t(height);

    std::vector<unsigned char> out;
    out.reserve(fileSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, fileSize);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, std::uint32_t(width));
    Put32(out, std::uint32_t(height));
    Put16(out, 1);
    Put16(out, std::uint16_t(bits));
    Put32(out, BI_RGB);
    Put32(out, rowBytes * std::uint32_t(height));
    Put32(out, 2835);  // 72 dots per inch
    Put32(out, 2835);
    Put32(out, std::uint32_t(colors));
    Put32(out, 0);
    for (int i = 0; i < colors; ++i) {
        const QRgb c = image.color(i);
        out.push_back(static_cast<unsigned char>(qBlue(c)));
        out.push_back(static_cast<unsigned char>(qGreen(c)));
        out.push_back(static_cast<unsigned char>(qRed(c)));
        out.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        if (indexed) {
            const uchar* line = image.constScanLine(y);
            out.insert(out.end(), line, line + width);
        } else {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                out.push_back(static_cast<unsigned char>(qBlue(line[x])));
                out.push_back(static_cast<unsigned char>(qGreen(line[x])));
                out.push_back(static_cast<unsigned char>(qRed(line[x])));
            }
        }
        out.resize(rowStart + rowBytes, 0);
    }
    stream.WriteBuffer(out.data(), std::int64_t(out.size()));
}

}  // namespace dorvanel::skin
