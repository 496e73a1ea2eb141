// Applies fuzzed skin archives. The first byte picks the carrier: even, the rest is an inner archive
// (version, picture slots, list pictures, description), packed as stored zlib blocks so the fuzzer sees
// its own bytes; odd, the rest is the compressed data itself, through inflation. Every failure must be one
// of the skin's own exceptions; a loaded skin is written back and read again.
#include "skin/skin_data.h"
#include "skin/skin_description.h"
#include "skin/skin_errors.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace dorvanel::skin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > (1u << 20)) return 0;
    TCompressedStoredSkin stored;
    const auto* body = reinterpret_cast<const char*>(data + 1);
    const auto length = static_cast<uLong>(size - 1);
    if (data[0] % 2 == 0) {
        std::vector<Bytef> packed(compressBound(length));
        uLongf packedLength = packed.size();
        if (compress2(packed.data(), &packedLength, reinterpret_cast<const Bytef*>(body), length, 0) != Z_OK) std::abort();
        stored.CompressedData = QByteArray(reinterpret_cast<const char*>(packed.data()), qsizetype(packedLength));
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
