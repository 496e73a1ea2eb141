#pragma once
// Composing the picture of one frame of an animation on the logical screen, from the frames before it and
// their disposal methods.
#include <cstdint>
#include <optional>
#include <vector>

#include "images/gif/gif_image.h"

namespace dorvanel::gif {

// A picture of the logical screen, one 0xAARRGGBB value per pixel (the layout of QImage::Format_ARGB32).
// Alpha is 255 for drawn pixels and 0 where the screen is transparent.
struct TComposedBitmap {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
};

inline constexpr std::uint32_t ToPixel(TRGB c, std::uint8_t alpha = 255) {
    return (std::uint32_t{alpha} << 24) | (std::uint32_t{c.R} << 16) | (std::uint32_t{c.G} << 8) | c.B;
}

// Keeps the last composed picture, so that playing frames in order draws only the new frame each time.
class TFrameComposer {
public:
    // windowColor fills the screen when the picture names no colour of its own.
    explicit TFrameComposer(TRGB windowColor = TRGB{255, 255, 255}) : windowColor_(windowColor) {}

    void SetWindowColor(TRGB color);
    // Forgets the cached picture; needed whenever the image changes.
    void Reset();

    // The picture of frame n (held within the frame list) of `image`, which must not be empty.
    const TComposedBitmap& ComposeFrameBitmap(TGIFImage& image, int n);

    const TComposedBitmap& Bitmap() const { return bitmap_; }
    int CachedIndex() const { return cachedIndex_; }
    // The colour that stands for "transparent" in the cached picture; none when it has no transparent pixels.
    std::optional<TRGB> TransparentColor() const { return transparentColor_; }
    // What the screen shows where no frame is drawn (alpha 0 when that is see-through).
    std::uint32_t FillPixel() const { return fill_; }

private:
    void StartFresh(TGIFImage& image, int n);
    void FillRect(const TGIFFrame& frame);
    void DrawFrame(TGIFFrame& frame);
    void SaveRect(const TGIFFrame& frame);
    void RestoreRect(const TGIFFrame& frame);

    TRGB windowColor_;
    TComposedBitmap bitmap_;
    int cachedIndex_ = -1;
    std::optional<TRGB> transparentColor_;
    std::uint32_t fill_ = 0;
    // What the cached frame covered before it was drawn, kept while that frame has disposal 3.
    std::vector<std::uint32_t> saved_;
    int savedIndex_ = -1;
};

}  // namespace dorvanel::gif
