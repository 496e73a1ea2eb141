#pragma once
// 24-bit pixel buffers for blending two state images and altering inactive frame pictures. Rows run top to
// bottom, 3 bytes a pixel (blue, green, red) padded to a multiple of 4 bytes: QImage::Format_BGR888 keeps
// exactly that layout, so the buffer can be drawn as it stands.
#include "skin/skin_types.h"

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <vector>

namespace dorvanel::skin {

struct TBGR {
    std::uint8_t Blue = 0, Green = 0, Red = 0;
    friend bool operator==(const TBGR&, const TBGR&) = default;
};

class TEffectBmp {
public:
    TEffectBmp(int width, int height);
    // A buffer of the picture's size holding its pixels at 24 bits.
    explicit TEffectBmp(const QImage& picture);

    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    int RowLength() const { return static_cast<int>(FImage.bytesPerLine()); }
    std::int64_t Size() const { return std::int64_t(Height()) * RowLength(); }
    const QImage& Image() const { return FImage; }

    void DrawTo(QPainter& painter, int x, int y) const;
    TBGR Pixel(int x, int y) const;
    void SetPixel(int x, int y, TBGR value);
    std::vector<std::uint8_t> Row(int y) const;
    void SetRow(int y, const std::vector<std::uint8_t>& row);
    std::uint8_t* RowStart(int y) { return FImage.scanLine(y); }
    const std::uint8_t* RowStart(int y) const { return FImage.constScanLine(y); }
    // Writes this buffer upside down into a target of the same size.
    void CopyFlipped(TEffectBmp& target) const;

    // Two-image mixes: this buffer holds the normal image, active the active one, x runs from 0 to 1.
    // Each does nothing when the sizes differ.
    void MixUniform(const TEffectBmp& active, double x);
    void MixGradientCentre(const TEffectBmp& active, double x);
    void MixGradientLeft(const TEffectBmp& active, double x);
    void MixGradientRight(const TEffectBmp& active, double x);
    void MixSlideLeft(const TEffectBmp& active, double x);
    void MixSlideRight(const TEffectBmp& active, double x);
    void MixPush(const TEffectBmp& active, double x);
    // Dispatches on a morph kind.
    void Mix(TMorphKind kind, const TEffectBmp& active, double x);

    // One-image effects.
    void ApplyLighten(double x);
    void ApplyDarken(double x);
    void ApplyGray();
    void ApplyNegative();
    void ApplyNoise(int amount);
    void ApplySplitBlur(int amount);
    // Dispatches on an inactive-frame effect with its fixed argument.
    void Apply(TFrameEffect effect);

private:
    QImage FImage;
};

// Fast read access to a picture's pixels at 24 bits, for building window shapes from masks.
class TFBitmap {
public:
    explicit TFBitmap(const QImage& picture);

    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    int RowLength() const { return static_cast<int>(FImage.bytesPerLine()); }
    const std::uint8_t* RowStart(int y) const { return FRows[static_cast<std::size_t>(y)]; }
    TBGR Pixel(int x, int y) const;

private:
    QImage FImage;
    std::vector<const std::uint8_t*> FRows;
};

// Blends two equally sized state images by a morph kind into a new image (normal unchanged when the sizes
// differ).
QImage BlendStates(const QImage& normal, const QImage& active, TMorphKind kind, double position);

}  // namespace dorvanel::skin
