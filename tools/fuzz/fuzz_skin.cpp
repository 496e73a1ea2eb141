// Applies fuzzed skin archives. The first byte picks the carrier: even, the rest is an inner archive
// (version, picture slots, list pictures, description), wrapped in stored zlib blocks so the fuzzer
// sees its own bytes; odd, the rest is the compressed data itself, through inflation. Every failure must be one
// of the skin's own exceptions; a loaded skin is written back and read again.
#include "skin/skin_data.h"
#include "skin/skin_description.h"
#include "skin/skin_errors.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace dorvanel::skin;

namespace {

// A zlib stream of stored (uncompressed) blocks, built by hand: cheaper per run than a deflate state.
QByteArray StoredBlocks(const char* bytes, std::size_t length) {
    QByteArray out("\x78\x01", 2);
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(length - at, 65535);
        const bool last = at + n == length;
        const char head[5] = {char(last ? 1 : 0), char(n & 0xFF), char(n >> 8), char(~n & 0xFF),
                              char((~n >> 8) & 0xFF)};
        out.append(head, 5);
        out.append(bytes + at, qsizetype(n));
        at += n;
    } while (at < length);
    const uLong sum = adler32(1, reinterpret_cast<const Bytef*>(bytes), uInt(length));
    const char tail[4] = {char(sum >> 24), char(sum >> 16), char(sum >> 8), char(sum)};
    out.append(tail, 4);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > (1u << 20)) return 0;
    TCompressedStoredSkin stored;
    const auto* body = reinterpret_cast<const char*>(data + 1);
    const auto length = static_cast<uLong>(size - 1);
    if (data[0] % 2 == 0) {
        stored.CompressedData = StoredBlocks(body, length);
    } else {
        stored.CompressedData = QByteArray(body, qsizetype(length));
    }
    TSkinData skin;
    try {
        skin.ApplyStoredSkin(stored);
    } catch (const dorvanel::Exception&) {
        return 0;
    }
    if (skin.SkinEmpty()) return 0;
    TSkinDescription written;
    for (int i = 0; i < skin.SkinControls().Count(); ++i) skin.Control(i)->WriteDescription(written);
    for (int i = 0; i < skin.SkinObjects().Count(); ++i) skin.Object(i)->WriteDescription(written);
    // What was written reads back without a conversion error.
    for (int i = 0; i < skin.SkinControls().Count(); ++i) {
        auto again = CreateSkinControl("button", skin.Control(i)->IDName);
        again->ReadDescription(written);
    }
    for (int i = 0; i < skin.PictureCount(); ++i)
        if (skin.Picture(i)->isNull()) std::abort();
    return 0;
}
