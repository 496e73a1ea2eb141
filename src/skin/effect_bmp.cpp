#include "skin/effect_bmp.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

// Rounding below relies on IEEE addition staying unfolded (no -ffast-math for this file).

namespace dorvanel::skin {

namespace {

// Nearest integer, halves to the even neighbour: adding and removing 1.5 * 2^52 leaves the value rounded by
// the FPU's default mode, which is exactly that (valid far beyond the channel range).
inline double RoundEven(double v) {
    constexpr double kMagic = 6755399441055744.0;
    return (v + kMagic) - kMagic;
}

inline std::uint8_t Clamp(double v) {
    const double r = RoundEven(v);
    return r <= 0 ? 0 : r >= 255 ? 255 : static_cast<std::uint8_t>(r);
}

// A mix with weight w: w parts normal, 1 - w parts active, per channel.
inline void MixPixel(std::uint8_t* n, const std::uint8_t* a, double w) {
    for (int c = 0; c < 3; ++c) n[c] = Clamp(w * n[c] + (1 - w) * a[c]);
}

inline int Round(double v) { return static_cast<int>(RoundEven(v)); }

// Every blend position is held to 0..1 where an effect begins (NaN counts as 0): a position before the
// first column or past the last would otherwise index outside the rows.
inline double Held(double x) { return std::isnan(x) ? 0.0 : std::clamp(x, 0.0, 1.0); }

}  // namespace

TEffectBmp::TEffectBmp(int width, int height) : FImage(std::max(width, 0), std::max(height, 0), QImage::Format_BGR888) {
    FImage.fill(Qt::black);
}

TEffectBmp::TEffectBmp(const QImage& picture) : FImage(picture.convertToFormat(QImage::Format_BGR888)) {}

void TEffectBmp::DrawTo(QPainter& painter, int x, int y) const { painter.drawImage(x, y, FImage); }

TBGR TEffectBmp::Pixel(int x, int y) const {
    const std::uint8_t* p = RowStart(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

void TEffectBmp::SetPixel(int x, int y, TBGR v) {
    std::uint8_t* p = RowStart(y) + 3 * x;
    p[0] = v.Blue;
    p[1] = v.Green;
    p[2] = v.Red;
}

std::vector<std::uint8_t> TEffectBmp::Row(int y) const { return {RowStart(y), RowStart(y) + 3 * std::size_t(Width())}; }

void TEffectBmp::SetRow(int y, const std::vector<std::uint8_t>& row) {
    std::memcpy(RowStart(y), row.data(), std::min(row.size(), 3 * std::size_t(Width())));
}

void TEffectBmp::CopyFlipped(TEffectBmp& target) const {
    if (target.Width() != Width() || target.Height() != Height()) return;
    for (int y = 0; y < Height(); ++y)
        std::memcpy(target.RowStart(Height() - 1 - y), RowStart(y), 3 * std::size_t(Width()));
}

// ---- two-image mixes ----

void TEffectBmp::MixUniform(const TEffectBmp& active, double x) {
    x = Held(x);
    if (active.Width() != Width() || active.Height() != Height()) return;
    // Every channel pair gives the same result everywhere: one table per call.
    std::vector<std::uint8_t> table(256 * 256);
    for (int n = 0; n < 256; ++n)
        for (int a = 0; a < 256; ++a) table[std::size_t(n * 256 + a)] = Clamp((1 - x) * n + x * a);
    const int bytes = 3 * Width();
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* n = RowStart(y);
        const std::uint8_t* a = active.RowStart(y);
        for (int i = 0; i < bytes; ++i) n[i] = table[std::size_t(n[i] * 256 + a[i])];
    }
}

void TEffectBmp::MixGradientCentre(const TEffectBmp& active, double x) {
    x = Held(x);
    const int W = Width(), H = Height();
    if (active.Width() != W || active.Height() != H || W == 0 || H == 0) return;
    if (W < H) {
        const int b = Round(H * x);
        const int c = b / 2;
        const int d = (H - 1 - b) / 2;
        const double s = d == 0 ? 0.0 : 1.0 / d;
        const int m = H / 2;
        const int g = std::max(m - c, 0);
        const int r = std::min(m + c, H - 1);
        for (int y = g; y <= r; ++y) std::memcpy(RowStart(y), active.RowStart(y), 3 * std::size_t(W));
        auto mixRow = [&](int y, double w) {
            std::uint8_t* n = RowStart(y);
            const std::uint8_t* a = active.RowStart(y);
            for (int i = 0; i < W; ++i) MixPixel(n + 3 * i, a + 3 * i, w);
        };
        double w = 0;
        for (int y = g; y >= 0; --y, w = std::min(w + s, 1.0)) mixRow(y, w);
        w = 0;
        for (int y = r; y < H; ++y, w = std::min(w + s, 1.0)) mixRow(y, w);
        return;
    }
    const int a = Round(W * x);
    const int b = (W - a) / 2;
    const int c = a / 2;
    const double s = b == 0 ? 1.0 : 1.0 / b;
    const int m = W / 2;
    const int g = std::max(m - c, 0);
    const int r = std::min(m + c, W - 1);
    for (int y = 0; y < H; ++y) {
        std::uint8_t* n = RowStart(y);
        const std::uint8_t* ac = active.RowStart(y);
        if (g <= r) std::memcpy(n + 3 * g, ac + 3 * g, 3 * std::size_t(r - g + 1));
        double w = 0;
        for (int i = g; i >= 0; --i, w = std::min(w + s, 1.0)) MixPixel(n + 3 * i, ac + 3 * i, w);
        w = 0;
        for (int i = r; i < W; ++i, w = std::min(w + s, 1.0)) MixPixel(n + 3 * i, ac + 3 * i, w);
    }
}

void TEffectBmp::MixGradientLeft(const TEffectBmp& active, double x) {
    x = Held(x);
    const int W = Width();
    if (active.Width() != W || active.Height() != Height() || W == 0) return;
    int n = Round(W * x);
    if (n <= 0) n = 1;
    if (n > W - 1) n = W - 1;
    const double s = n == 0 ? 1.0 : 1.0 / n;
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* row = RowStart(y);
        const std::uint8_t* a = active.RowStart(y);
        double w = 0;
        for (int i = 0; i <= n; ++i, w = std::min(w + s, 1.0)) MixPixel(row + 3 * i, a + 3 * i, w);
    }
}

void TEffectBmp::MixGradientRight(const TEffectBmp& active, double x) {
    x = Held(x);
    const int W = Width();
    if (active.Width() != W || active.Height() != Height() || W == 0) return;
    const int k = std::clamp(W - Round(W * x), 0, W - 1);
    const double s = 1.0 / (W - k);
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* row = RowStart(y);
        const std::uint8_t* a = active.RowStart(y);
        double w = 0;
        for (int i = W - 1; i >= k; --i, w = std::min(w + s, 1.0)) MixPixel(row + 3 * i, a + 3 * i, w);
    }
}

namespace {

// The width of the band that slides in, at least one column and less than the whole image.
int SlideWidth(int W, double x) { return std::min(std::max(Round(W * x), 1), W - 1); }

}  // namespace

void TEffectBmp::MixSlideLeft(const TEffectBmp& active, double x) {
    x = Held(x);
    const int W = Width();
    if (active.Width() != W || active.Height() != Height()) return;
    const int n = SlideWidth(W, x);
    if (n <= 0) return;
    for (int y = 0; y < Height(); ++y) std::memcpy(RowStart(y), active.RowStart(y) + 3 * (W - n), 3 * std::size_t(n));
}

void TEffectBmp::MixSlideRight(const TEffectBmp& active, double x) {
    x = Held(x);
    const int W = Width();
    if (active.Width() != W || active.Height() != Height()) return;
    const int n = SlideWidth(W, x);
    if (n <= 0) return;
    for (int y = 0; y < Height(); ++y) std::memcpy(RowStart(y) + 3 * (W - n), active.RowStart(y), 3 * std::size_t(n));
}

void TEffectBmp::MixPush(const TEffectBmp& active, double x) {
    x = Held(x);
    const int W = Width();
    if (active.Width() != W || active.Height() != Height() || W == 0) return;
    const int n = std::clamp(Round(W * x), 0, W - 1);
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* row = RowStart(y);
        // The normal image moves right by n + 1 columns; what passes the right edge is lost.
        std::memmove(row + 3 * (n + 1), row, 3 * std::size_t(W - n - 1));
        std::memcpy(row, active.RowStart(y) + 3 * (W - n - 1), 3 * std::size_t(n + 1));
    }
}

void TEffectBmp::Mix(TMorphKind kind, const TEffectBmp& active, double x) {
    switch (kind) {
        case TMorphKind::mkDefault:
            MixUniform(active, x);
            break;
        case TMorphKind::mkGradient:
            MixGradientCentre(active, x);
            break;
        case TMorphKind::mkLeftGradient:
            MixGradientLeft(active, x);
            break;
        case TMorphKind::mkRightGradient:
            MixGradientRight(active, x);
            break;
        case TMorphKind::mkLeftSlide:
            MixSlideLeft(active, x);
            break;
        case TMorphKind::mkRightSlide:
            MixSlideRight(active, x);
            break;
        case TMorphKind::mkPush:
            MixPush(active, x);
            break;
    }
}

// ---- one-image effects ----

namespace {

template <class F>
void MapChannels(TEffectBmp& bmp, F f) {
    std::uint8_t table[256];
    for (int v = 0; v < 256; ++v) table[v] = f(v);
    const int bytes = 3 * bmp.Width();
    for (int y = 0; y < bmp.Height(); ++y) {
        std::uint8_t* row = bmp.RowStart(y);
        for (int i = 0; i < bytes; ++i) row[i] = table[row[i]];
    }
}

}  // namespace

void TEffectBmp::ApplyLighten(double x) {
    x = Held(x);
    MapChannels(*this, [x](int v) { return Clamp((1 - x) * v + 255 * x); });
}

void TEffectBmp::ApplyDarken(double x) {
    x = Held(x);
    MapChannels(*this, [x](int v) { return Clamp((1 - x) * v); });
}

void TEffectBmp::ApplyNegative() {
    MapChannels(*this, [](int v) { return static_cast<std::uint8_t>(255 - v); });
}

void TEffectBmp::ApplyGray() {
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* p = RowStart(y);
        for (int i = 0; i < Width(); ++i, p += 3) {
            const std::uint8_t g = Clamp(0.3 * p[2] + 0.59 * p[1] + 0.11 * p[0]);
            p[0] = p[1] = p[2] = g;
        }
    }
}

void TEffectBmp::ApplyNoise(int amount) {
    if (amount <= 0) return;
    static thread_local std::minstd_rand random(std::random_device{}());
    std::uniform_int_distribution<int> draw(0, amount - 1);
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* p = RowStart(y);
        for (int i = 0; i < Width(); ++i, p += 3) {
            const int d = draw(random) - amount / 2;
            for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(std::clamp(p[c] + d, 0, 255));
        }
    }
}

void TEffectBmp::ApplySplitBlur(int amount) {
    // A negative distance would sample rows and columns outside the picture: it does nothing, like 0.
    if (amount <= 0) return;
    const int W = Width(), H = Height();
    std::uint8_t* bits = FImage.bits();
    const std::ptrdiff_t stride = FImage.bytesPerLine();
    // In place, so samples on pixels already done see their new values.
    for (int y = 0; y < H; ++y) {
        const std::uint8_t* upper = bits + stride * (y - amount < 0 ? y : y - amount);
        const std::uint8_t* lower = bits + stride * (y + amount >= H ? y : y + amount);
        std::uint8_t* row = bits + stride * y;
        for (int x = 0; x < W; ++x) {
            const int left = 3 * (x - amount < 0 ? x : x - amount);
            const int right = 3 * (x + amount >= W ? x : x + amount);
            for (int c = 0; c < 3; ++c)
                row[3 * x + c] = static_cast<std::uint8_t>(
                    (upper[left + c] + lower[left + c] + upper[right + c] + lower[right + c]) / 4);
        }
    }
}

void TEffectBmp::Apply(TFrameEffect effect) {
    switch (effect) {
        case TFrameEffect::ieBrightness:
            ApplyLighten(0.5);
            break;
        case TFrameEffect::ieDarkness:
            ApplyDarken(0.3);
            break;
        case TFrameEffect::ieGrayscale:
            ApplyGray();
            break;
        case TFrameEffect::ieNoise:
            ApplyNoise(50);
            break;
        case TFrameEffect::ieSplitBlur:
            ApplySplitBlur(1);
            break;
        case TFrameEffect::ieInvert:
            ApplyNegative();
            break;
    }
}

// ---- TFBitmap ----

TFBitmap::TFBitmap(const QImage& picture) : FImage(picture.convertToFormat(QImage::Format_BGR888)) {
    FRows.reserve(std::size_t(FImage.height()));
    for (int y = 0; y < FImage.height(); ++y) FRows.push_back(FImage.constScanLine(y));
}

TBGR TFBitmap::Pixel(int x, int y) const {
    const std::uint8_t* p = RowStart(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

QImage BlendStates(const QImage& normal, const QImage& active, TMorphKind kind, double position) {
    TEffectBmp result(normal);
    result.Mix(kind, TEffectBmp(active), position);
    return result.Image();
}

}  // namespace dorvanel::skin
