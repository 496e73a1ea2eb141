#pragma once
// Failures of the GIF reader. Each carries the fixed text the program shows; the texts stay in the language
// they were written in.
#include <string>

#include "common/exception.h"

namespace dorvanel::gif {

inline constexpr const char* kMsgUnknownVersion = "Неизвестная версия изображения GIF";
inline constexpr const char* kMsgUnknownExtension = "Неопределенное расширение GIF: %.2x";
inline constexpr const char* kMsgBadColorCount = "Неверное число цветов; должно быть степенью числа 2";
inline constexpr const char* kMsgStreamRead = "Stream read error";
inline constexpr const char* kMsgCannotOpen = "Cannot open file \"%s\". %s";

// A picture that cannot be read: every failure of the reader is of this kind.
class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};

// The signature is not "GIF" or the version not "87a"/"89a".
class EGIFUnknownVersion : public EInvalidGraphicOperation {
public:
    EGIFUnknownVersion() : EInvalidGraphicOperation(kMsgUnknownVersion) {}
};

// An extension label other than graphic control, plain text, application or comment.
class EGIFUnknownExtension : public EInvalidGraphicOperation {
public:
    explicit EGIFUnknownExtension(unsigned char label);
};

// A colour table whose size is not a power of two from 2 to 256 (or no colour table at all).
class EGIFBadColorCount : public EInvalidGraphicOperation {
public:
    EGIFBadColorCount() : EInvalidGraphicOperation(kMsgBadColorCount) {}
};

// A stray byte where a block must start, data that ends inside a fixed-size part, or a picture too large to hold.
class EGIFStreamRead : public EInvalidGraphicOperation {
public:
    EGIFStreamRead() : EInvalidGraphicOperation(kMsgStreamRead) {}
};

// The file to load could not be opened or read.
class EGIFFileOpen : public Exception {
public:
    EGIFFileOpen(const std::string& path, const std::string& reason);
};

}  // namespace dorvanel::gif
