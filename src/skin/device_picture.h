#pragma once
// Skin pictures drawn at the resolution of the device they land on. Everything that is drawn from a skin is
// laid out in logical pixels; on a screen with more than one device pixel per logical pixel the off-screen
// images carry that ratio, and a piece of a picture is drawn from the picture's detailed companion
// ("name@2x.bmp" in the archive) when the skin has one, else by repeating each pixel (whole ratios: sharp
// edges) or by smooth scaling (fractional ratios).
#include <QImage>
#include <QRect>
#include <QSize>

class QPainter;

namespace dorvanel::skin {

// An image of the given logical size at the given device pixel ratio: ratio times as many pixels each way,
// painted in logical coordinates. Null when the pixels would exceed the paint caps or the size is empty.
QImage DeviceImage(QSize logical, qreal ratio, QImage::Format format);
// The image's size and rectangle in logical pixels (its pixel size divided by its device pixel ratio).
QSize LogicalSize(const QImage& image);
QRect LogicalRect(const QImage& image);
// The device pixel ratio of what p paints on (1 without a device).
qreal DeviceRatio(const QPainter& p);

// Draws the source rectangle of picture (in the picture's own pixels) over target (logical pixels on p).
// At a ratio of 1 this is a plain copy; above it the picture's detailed companion is used when there is one,
// else each pixel is repeated (whole ratios) or the piece is scaled smoothly (fractional ratios).
void DrawPicture(QPainter& p, const QRect& target, const QImage& picture, const QRect& source);
// The same at the source's own size.
inline void DrawPicture(QPainter& p, QPoint at, const QImage& picture, const QRect& source) {
    DrawPicture(p, QRect(at, source.size()), picture, source);
}

// Registers detailed as picture's companion at twice its resolution. A detailed picture that is not exactly
// twice picture's size in both directions is refused (false) and picture keeps being drawn alone.
bool AttachDetailedPicture(const QImage& picture, const QImage& detailed);
// Drops picture's companion (when its skin is unloaded).
void DetachDetailedPicture(const QImage& picture);
// The companion of picture, or null.
const QImage* DetailedPicture(const QImage& picture);

}  // namespace dorvanel::skin
