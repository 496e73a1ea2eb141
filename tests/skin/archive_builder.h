#pragma once
// Builds inner skin archives byte by byte for the tests: version, picture slots, list pictures, text.
#include "skin/bitmap_io.h"
#include "skin/compressed_stored_skin.h"
#include "skin/zstreams.h"

#include <QColor>
#include <QImage>

#include <optional>
#include <string>
#include <vector>

namespace dorvanel::skin::test {

inline QImage SolidPicture(int w, int h, QColor c) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

inline QByteArray BitmapBytes(const QImage& picture) {
    TMemoryStream s;
    WriteBitmap(s, picture);
    return s.Data();
}

struct ArchiveBuilder {
    int Version = 3;
    std::optional<QImage> Picture, InactivePicture, Mask;
    std::vector<std::optional<QImage>> ExtraSlots;  // only written for version 2
    std::vector<QImage> List;
    std::string Text;

    QByteArray Inner() const {
        TMemoryStream s;
        s.WriteInt32(Version);
        auto slot = [&s](const std::optional<QImage>& p) {
            const unsigned char flag = p ? 0 : 1;
            s.WriteBuffer(&flag, 1);
            if (p) WriteBitmap(s, *p);
        };
        slot(Picture);
        slot(InactivePicture);
        slot(Mask);
        for (const auto& extra : ExtraSlots) slot(extra);
        s.WriteInt32(std::int32_t(List.size()));
        for (const QImage& p : List) WriteBitmap(s, p);
        s.WriteBuffer(Text.data(), std::int64_t(Text.size()));
        return s.Data();
    }
};

inline QByteArray Compress(const QByteArray& inner) {
    TMemoryStream source(inner), packed;
    DeflateStream(source, packed);
    return packed.Data();
}

// A stored skin holding the given inner archive bytes.
inline void Store(TCompressedStoredSkin& stored, const QByteArray& inner) { stored.CompressedData = Compress(inner); }

// An archive file: outer version, length, the zlib bytes, and any trailing bytes.
inline QByteArray ArchiveFile(int version, const QByteArray& compressed, int length = -1) {
    TMemoryStream s;
    s.WriteInt32(version);
    s.WriteInt32(length < 0 ? std::int32_t(compressed.size()) : length);
    s.WriteBuffer(compressed.constData(), compressed.size());
    return s.Data();
}

}  // namespace dorvanel::skin::test
