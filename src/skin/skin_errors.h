#pragma once
// Failures raised while reading, packing and applying skins. Each carries the text the program shows.
#include "common/exception.h"

#include <string>

namespace dorvanel::skin {

// A point or rectangle number that is empty: "'<text>' is not a valid integer value".
class EConvertError : public dorvanel::Exception {
public:
    explicit EConvertError(const std::string& text) : Exception("'" + text + "' is not a valid integer value") {}
};

// An archive file that cannot be opened: Cannot open file "<path>". <reason>
class EFOpenError : public dorvanel::Exception {
public:
    EFOpenError(const std::string& path, const std::string& reason)
        : Exception("Cannot open file \"" + path + "\". " + reason) {}
};

// Fewer bytes than a read needs.
class EReadError : public dorvanel::Exception {
public:
    EReadError() : Exception("Stream read error") {}
};

// A picture in an archive that is no valid Windows bitmap, or that claims more bytes than are present.
class EInvalidGraphic : public dorvanel::Exception {
public:
    EInvalidGraphic() : Exception("Bitmap image is not valid") {}
};

// A skin whose window frame would leave a window that cannot be moved or closed by the mouse (no caption strip,
// no close button, no border); the plain frame is used in its place.
class EDamagedSkinFrame : public dorvanel::Exception {
public:
    EDamagedSkinFrame() : Exception("Skin frame is not valid") {}
};

// A skin description longer than kMaxDescriptionBytes.
class EDescriptionTooLong : public dorvanel::Exception {
public:
    EDescriptionTooLong() : Exception("Skin description too long") {}
};

// The longest description text an archive may carry (the default skin's is about 14 KB).
inline constexpr long kMaxDescriptionBytes = 1024 * 1024;

// Deflating failed ("error") or a compression stream was asked to read or seek.
class ECompressionError : public dorvanel::Exception {
public:
    explicit ECompressionError(const std::string& message = "error") : Exception(message) {}
};

// Inflating failed ("compression error") or a decompression stream was asked to write or seek backwards.
class EDecompressionError : public dorvanel::Exception {
public:
    explicit EDecompressionError(const std::string& message = "compression error") : Exception(message) {}
};

inline constexpr const char* kInvalidStreamOperation = "Invalid stream operation";

}  // namespace dorvanel::skin
