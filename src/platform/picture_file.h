#pragma once
// Still pictures read from files in the format their file name's extension names: bitmap, icon, JPEG and
// PNG through Qt's image readers. Metafiles (WMF, EMF) have no reader here and fail like a damaged picture.
#include "common/exception.h"
#include "common/picture_limits.h"

#include <QIcon>
#include <QImage>
#include <QString>

namespace dorvanel::platform {

// A picture that cannot be read: an extension that names no known format, or a file that is not a valid
// picture of that format. The message is the text shown to the user.
class EInvalidPicture : public Exception {
public:
    using Exception::Exception;
};

// The largest picture read; a larger one is refused as not valid before any of it is decoded.
using common::kMaxPictureSide;
using common::kMaxPicturePixels;

// The part of a configured path after its last separator ('\' or '/').
QString FileNamePart(const QString& path);
// The extension of a file name in lower case without its dot; empty when it has none.
QString PictureExtension(const QString& fileName);

// Reads the picture at `path` in the format `extension` names (as PictureExtension gives it); the content
// never chooses another format. Throws EInvalidPicture.
QImage LoadPictureFile(const QString& path, const QString& extension);

// Reads an icon file (every size it holds); anything else throws EInvalidPicture("Icon image is not valid").
QIcon LoadIconFile(const QString& path);

}  // namespace dorvanel::platform
