#pragma once
// Windows bitmap files inside skin archives: each occupies exactly the bytes its file header claims.
#include "skin/zstreams.h"

#include <QImage>

namespace dorvanel::skin {

// The largest picture an archive may carry, in pixels per side and in total, and the most pixels all the
// pictures of one archive may hold together (a 1-bit picture grows 32-fold when it is read).
inline constexpr int kMaxBitmapSide = 8192;
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t(4096) * 4096;
inline constexpr std::int64_t kMaxArchivePixels = std::int64_t(4096) * 4096;
// The smallest complete bitmap file: the 14-byte file header and the 40-byte information header.
inline constexpr int kMinBitmapFileSize = 54;

// Reads one bitmap file at the stream's position and leaves the position after it. The picture comes back
// as Format_RGB32 (Format_ARGB32 when it carries alpha). Raises EReadError when the file claims more bytes
// than the stream holds and EInvalidGraphic when its headers are not those of a readable bitmap or it has
// more pixels than pixelBudget, from which its pixels are then taken.
QImage ReadBitmap(TMemoryStream& stream, std::int64_t& pixelBudget);

// Writes a picture as a bitmap file: 8 bits with a colour table for an indexed picture of up to 256
// colours, 24 bits otherwise; bottom-up rows, no compression.
void WriteBitmap(TStream& stream, const QImage& picture);

}  // namespace dorvanel::skin
