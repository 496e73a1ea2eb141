// libFuzzer target: read a GIF from the bytes and compose every frame, first stepping through them in order
// (the cached path), then each one afresh, which must give the same picture.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "images/gif/frame_composer.h"
#include "images/gif/gif_errors.h"
#include "images/gif/gif_image.h"

namespace {
// Composing afresh replays every earlier frame, so it is checked on small screens and the first frames only.
constexpr long long kFuzzMaxScreen = 1 << 18;
constexpr long long kFuzzMaxFreshScreen = 1 << 14;
constexpr int kFuzzMaxFreshFrames = 8;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dorvanel::gif;
    TGIFImage image;
    try {
        image.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const EInvalidGraphicOperation&) {
        return 0;
    }
    if (image.Empty()) return 0;
    // Huge screens are allowed by the reader but make every run slow; their code paths are the same.
    if (static_cast<long long>(image.Width()) * image.Height() > kFuzzMaxScreen) return 0;
    const bool checkFresh = static_cast<long long>(image.Width()) * image.Height() <= kFuzzMaxFreshScreen;
    TFrameComposer stepping;
    for (int n = 0; n < image.FrameCount(); ++n) {
        const TComposedBitmap& stepped = stepping.ComposeFrameBitmap(image, n);
        if (!checkFresh || n >= kFuzzMaxFreshFrames) continue;
        TFrameComposer fresh;
        if (fresh.ComposeFrameBitmap(image, n).Pixels != stepped.Pixels) std::abort();
    }
    return 0;
}
