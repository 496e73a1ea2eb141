#include "images/gif/frame_composer.h"

#include <algorithm>

namespace dorvanel::gif {

namespace {

struct Clip {
    int X0, Y0, X1, Y1;
    bool Empty() const { return X0 >= X1 || Y0 >= Y1; }
};

// The part of the frame's rectangle that lies on the screen; frames may reach past its edges.
Clip ClipToScreen(const TGIFFrame& f, const TComposedBitmap& bmp) {
    return Clip{std::max(f.Left, 0), std::max(f.Top, 0), std::min(f.Left + f.Width, bmp.Width),
                std::min(f.Top + f.Height, bmp.Height)};
}

// Placed at the origin as well as screen-sized: a screen-sized frame that is offset leaves part uncovered.
bool CoversScreen(const TGIFFrame& f, const TGIFImage& image) {
    return f.Left == 0 && f.Top == 0 && f.Width == image.Width() && f.Height == image.Height();
}

bool Opaque(const TGIFFrame& f) { return f.TransparentIndex < 0; }

// What a frame leaves for the next one. Disposal 2 clears its rectangle, 3 restores what was there before it,
// every other value (0, 1 and the undefined 4 to 7) leaves it in place.
bool LeavesItself(int disposal) { return disposal != 2 && disposal != 3; }

}  // namespace

void TFrameComposer::SetWindowColor(TRGB color) {
    if (color == windowColor_) return;
    windowColor_ = color;
    Reset();
}

void TFrameComposer::Reset() {
    cachedIndex_ = -1;
    transparentColor_.reset();
    bitmap_ = TComposedBitmap{};
    saved_.clear();
    savedIndex_ = -1;
}

// Building frame n either continues from the cached picture of frame n - 1, or starts over from the latest
// frame that hides everything before it:
//   - the cache shows n - 1: clear its rectangle if its disposal is 2, or put back what it covered if its
//     disposal is 3 (kept when it was drawn), then draw n;
//   - otherwise fill the screen, find the start frame (the last one, going back from n, that covers the whole
//     screen and leaves nothing of earlier frames visible), replay the frames from it up to n - 1 with their
//     disposals, then draw n.
const TComposedBitmap& TFrameComposer::ComposeFrameBitmap(TGIFImage& image, int n) {
    std::vector<TGIFFrame>& frames = image.Frames();
    n = std::clamp(n, 0, static_cast<int>(frames.size()) - 1);
    const bool cacheValid = cachedIndex_ >= 0 && cachedIndex_ < static_cast<int>(frames.size()) &&
                            bitmap_.Width == image.Width() && bitmap_.Height == image.Height();
    if (cacheValid && cachedIndex_ == n) return bitmap_;
    // A disposal-3 frame is undone from the area kept when it was drawn rather than by composing again from
    // the last covering frame, which made playing files of many small disposal-3 frames quadratic.
    if (cacheValid && cachedIndex_ == n - 1 && (frames[n - 1].Disposal != 3 || savedIndex_ == n - 1)) {
        if (frames[n - 1].Disposal == 2) FillRect(frames[n - 1]);
        if (frames[n - 1].Disposal == 3) RestoreRect(frames[n - 1]);
    } else {
        StartFresh(image, n);
    }
    savedIndex_ = -1;
    if (frames[n].Disposal == 3) {
        SaveRect(frames[n]);
        savedIndex_ = n;
    }
    DrawFrame(frames[n]);
    cachedIndex_ = n;
    return bitmap_;
}

void TFrameComposer::StartFresh(TGIFImage& image, int n) {
    std::vector<TGIFFrame>& frames = image.Frames();

    // The fill colour: the current frame's transparent colour (then it also marks the transparent pixels),
    // else the background colour of a transparent picture, else the window colour.
    const TGIFFrame& current = frames[std::clamp(image.CurrentFrameIndex(), 0, static_cast<int>(frames.size()) - 1)];
    TRGB fill = windowColor_;
    transparentColor_.reset();
    if (current.TransparentColor) {
        fill = *current.TransparentColor;
        transparentColor_ = fill;
    } else if (image.BackgroundColor() && image.IsTransparent()) {
        fill = *image.BackgroundColor();
    }
    // Transparent pixels carry alpha 0 rather than relying on their colour, so that a drawn pixel of the
    // same colour as the transparent one still shows.
    fill_ = ToPixel(fill, transparentColor_ && image.Transparent() ? 0 : 255);

    // Frames that fully cover the screen hide everything before them. A covering frame before n that restores
    // what was below it (disposal 3) hides nothing from n, so it cannot be a start.
    int start = 0;
    for (int i = n; i >= 1; --i) {
        const TGIFFrame& f = frames[i];
        if (!CoversScreen(f, image)) continue;
        if (i == n ? Opaque(f) : (f.Disposal == 2 || (Opaque(f) && LeavesItself(f.Disposal)))) {
            start = i;
            break;
        }
    }

    bitmap_.Width = image.Width();
    bitmap_.Height = image.Height();
    const std::size_t area = static_cast<std::size_t>(bitmap_.Width) * static_cast<std::size_t>(bitmap_.Height);
    const TGIFFrame& first = frames[start];
    // The fill may be skipped only where the first frame hides it for good: a frame n with disposal 3 keeps
    // what lies under it to put back afterwards, and that is the fill.
    const bool firstHidesFill = CoversScreen(first, image) && Opaque(first) &&
                                (start == n ? first.Disposal != 3 : LeavesItself(first.Disposal));
    if (firstHidesFill) {
        bitmap_.Pixels.resize(area);
    } else {
        bitmap_.Pixels.assign(area, fill_);
    }

    // Undefined disposals 4 to 7 keep the frame as 1 does, so a frame looks the same whether it was reached
    // step by step or composed afresh.
    for (int i = start; i < n; ++i) {
        TGIFFrame& f = frames[i];
        if (f.Disposal == 2) {
            if (i != start) FillRect(f);
        } else if (f.Disposal != 3) {
            DrawFrame(f);
        }
    }
}

void TFrameComposer::FillRect(const TGIFFrame& frame) {
    Clip c = ClipToScreen(frame, bitmap_);
    if (c.Empty()) return;
    for (int y = c.Y0; y < c.Y1; ++y) {
        std::uint32_t* row = bitmap_.Pixels.data() + static_cast<std::size_t>(y) * bitmap_.Width;
        std::fill(row + c.X0, row + c.X1, fill_);
    }
}

void TFrameComposer::SaveRect(const TGIFFrame& frame) {
    saved_.clear();
    Clip c = ClipToScreen(frame, bitmap_);
    if (c.Empty()) return;
    saved_.reserve(static_cast<std::size_t>(c.X1 - c.X0) * static_cast<std::size_t>(c.Y1 - c.Y0));
    for (int y = c.Y0; y < c.Y1; ++y) {
        const std::uint32_t* row = bitmap_.Pixels.data() + static_cast<std::size_t>(y) * bitmap_.Width;
        saved_.insert(saved_.end(), row + c.X0, row + c.X1);
    }
}

void TFrameComposer::RestoreRect(const TGIFFrame& frame) {
    Clip c = ClipToScreen(frame, bitmap_);
    if (c.Empty()) return;
    const std::size_t span = static_cast<std::size_t>(c.X1 - c.X0);
    const std::uint32_t* src = saved_.data();
    for (int y = c.Y0; y < c.Y1; ++y, src += span) {
        std::copy_n(src, span, bitmap_.Pixels.data() + static_cast<std::size_t>(y) * bitmap_.Width + c.X0);
    }
}

void TFrameComposer::DrawFrame(TGIFFrame& frame) {
    Clip c = ClipToScreen(frame, bitmap_);
    if (c.Empty()) return;
    const TFrameBitmap& bmp = frame.Bitmap();
    std::uint32_t palette[256];
    for (std::size_t i = 0; i < 256; ++i) {
        palette[i] = ToPixel(i < bmp.Palette->size() ? (*bmp.Palette)[i] : kMidGrey);
    }
    // Transparent pixels are those of the transparent index, so an opaque entry of the same colour still shows.
    const int transparent = frame.TransparentIndex;
    const std::size_t span = static_cast<std::size_t>(c.X1 - c.X0);
    for (int y = c.Y0; y < c.Y1; ++y) {
        const std::uint8_t* src = bmp.Pixels.data() + static_cast<std::size_t>(y - frame.Top) * bmp.Width +
                                  static_cast<std::size_t>(c.X0 - frame.Left);
        std::uint32_t* dst = bitmap_.Pixels.data() + static_cast<std::size_t>(y) * bitmap_.Width + c.X0;
        if (transparent < 0) {
            for (std::size_t x = 0; x < span; ++x) dst[x] = palette[src[x]];
        } else {
            for (std::size_t x = 0; x < span; ++x) {
                if (src[x] != transparent) dst[x] = palette[src[x]];
            }
        }
    }
}

}  // namespace dorvanel::gif
