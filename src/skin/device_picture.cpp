#include "skin/device_picture.h"

#include "skin/skin_picture.h"

#include <QPainter>
#include <QPaintDevice>

#include <cmath>
#include <utility>
#include <vector>

namespace dorvanel::skin {

namespace {

// Pictures are known by their contents' key: a copy that is changed is another picture.
struct TCompanion {
    qint64 Key;
    QImage Detailed;
};
std::vector<TCompanion>& Companions() {
    static std::vector<TCompanion> companions;
    return companions;
}

// Pictures enlarged by repeating each pixel, kept for the next paint: a frame or a button draws the same few
// pictures at every repaint, and a copy of a whole picture is cheaper than scaling every tile again.
struct TEnlarged {
    qint64 Key;
    int Factor;
    QImage Image;
};
constexpr std::size_t kMaxEnlarged = 48;

const QImage* Enlarged(const QImage& picture, int factor) {
    static std::vector<TEnlarged> made;
    const qint64 key = picture.cacheKey();
    for (const TEnlarged& e : made)
        if (e.Key == key && e.Factor == factor) return &e.Image;
    const QSize size = picture.size() * factor;
    if (!PaintSizeAllowed(size)) return nullptr;
    if (made.size() >= kMaxEnlarged) made.erase(made.begin());
    made.push_back({key, factor, picture.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation)});
    return &made.back().Image;
}

bool WholeRatio(qreal ratio, int& whole) {
    whole = int(std::lround(ratio));
    return std::abs(ratio - whole) < 1e-6;
}

}  // namespace

QImage DeviceImage(QSize logical, qreal ratio, QImage::Format format) {
    if (ratio <= 0) ratio = 1;
    const QSize pixels(int(std::ceil(logical.width() * ratio - 1e-6)), int(std::ceil(logical.height() * ratio - 1e-6)));
    if (!PaintSizeAllowed(pixels)) return {};
    QImage image(pixels, format);
    image.setDevicePixelRatio(ratio);
    return image;
}

QSize LogicalSize(const QImage& image) { return image.deviceIndependentSize().toSize(); }

QRect LogicalRect(const QImage& image) { return QRect(QPoint(0, 0), LogicalSize(image)); }

qreal DeviceRatio(const QPainter& p) { return p.device() ? p.device()->devicePixelRatioF() : 1.0; }

void DrawPicture(QPainter& p, const QRect& target, const QImage& picture, const QRect& source) {
    if (target.isEmpty() || source.isEmpty() || picture.isNull()) return;
    const qreal ratio = DeviceRatio(p);
    if (ratio <= 1.0) {
        p.drawImage(target, picture, source);
        return;
    }
    int whole = 1;
    const bool wholeRatio = WholeRatio(ratio, whole);
    const QImage* from = &picture;
    int factor = 1;
    if (const QImage* detailed = DetailedPicture(picture); detailed && (!wholeRatio || whole == 2)) {
        from = detailed;
        factor = 2;
    } else if (wholeRatio) {
        if (const QImage* enlarged = Enlarged(picture, whole)) {
            from = enlarged;
            factor = whole;
        }
    }
    const QRect scaledSource(source.topLeft() * factor, source.size() * factor);
    // Whole ratios keep every picture pixel a sharp block; only a fractional ratio blends neighbouring pixels.
    const bool smooth = !wholeRatio;
    const bool wasSmooth = p.testRenderHint(QPainter::SmoothPixmapTransform);
    if (smooth != wasSmooth) p.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    p.drawImage(target, *from, scaledSource);
    if (smooth != wasSmooth) p.setRenderHint(QPainter::SmoothPixmapTransform, wasSmooth);
}

bool AttachDetailedPicture(const QImage& picture, const QImage& detailed) {
    if (picture.isNull() || detailed.isNull() || detailed.size() != picture.size() * 2) return false;
    DetachDetailedPicture(picture);
    Companions().push_back({picture.cacheKey(), detailed});
    return true;
}

void DetachDetailedPicture(const QImage& picture) {
    auto& companions = Companions();
    std::erase_if(companions, [key = picture.cacheKey()](const TCompanion& c) { return c.Key == key; });
}

const QImage* DetailedPicture(const QImage& picture) {
    for (const TCompanion& c : Companions())
        if (c.Key == picture.cacheKey()) return &c.Detailed;
    return nullptr;
}

}  // namespace dorvanel::skin
