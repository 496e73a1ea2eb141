#pragma once
// The program's own skin "Modern", packed at build time from skins/modern by tools/skinpack.
#include <QByteArray>

namespace dorvanel::defaultskin {

// The compressed archive (the zlib stream alone) for CompressedStoredSkin1's CompressedData.
QByteArray DefaultSkinData();

}  // namespace dorvanel::defaultskin
