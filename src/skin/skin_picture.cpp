#include "skin/skin_picture.h"

#include "skin/device_picture.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace dorvanel::skin {

QSize CapPaintSize(QSize size) {
    return {std::clamp(size.width(), 0, kMaxPaintSide), std::clamp(size.height(), 0, kMaxPaintSide)};
}

bool PaintSizeAllowed(QSize size, int bytesPerPixel) {
    if (size.width() <= 0 || size.height() <= 0) return false;
    if (size.width() > kMaxPaintSide || size.height() > kMaxPaintSide) return false;
    return std::int64_t(size.width()) * size.height() * bytesPerPixel <= kMaxPaintBytes;
}

TRect HeldToPicture(const TRect& r, const QImage* picture) {
    const int w = picture ? picture->width() : kMaxSkinCoordinate;
    const int h = picture ? picture->height() : kMaxSkinCoordinate;
    TRect out{std::clamp(r.Left, 0, w), std::clamp(r.Top, 0, h), std::clamp(r.Right, 0, w), std::clamp(r.Bottom, 0, h)};
    return out;
}

int SliceModeOf(const TSkinGeometry& g) {
    if (g.SkinRect.Width() <= 0 || g.SkinRect.Height() <= 0) return -1;
    if (g.RBPoint.X != 0 && g.RBPoint.Y != 0) return 1;
    if (!g.RTPoint.IsZero()) return 2;
    if (!g.LBPoint.IsZero()) return 3;
    return 0;
}

TSkinGeometry HeldGeometry(TSkinGeometry g, const QImage* picture) {
    g.SkinRect = HeldToPicture(g.SkinRect, picture);
    const int w = std::max(0, g.SkinRect.Width()), h = std::max(0, g.SkinRect.Height());
    for (TPoint* p : {&g.LTPoint, &g.RTPoint, &g.LBPoint, &g.RBPoint}) {
        p->X = std::clamp(p->X, 0, w);
        p->Y = std::clamp(p->Y, 0, h);
    }
    TRect& c = g.ClientRect;
    c = {std::clamp(c.Left, 0, w), std::clamp(c.Top, 0, h), std::clamp(c.Right, 0, w), std::clamp(c.Bottom, 0, h)};
    return g;
}

QSize FitGeometry(const TSkinGeometry& g, int sliceMode, QSize proposed, TFittedGeometry& fitted) {
    fitted = {g.LTPoint, g.RTPoint, g.LBPoint, g.RBPoint, g.ClientRect};
    proposed = CapPaintSize(proposed);
    const int dx = proposed.width() - g.SkinRect.Width();
    const int dy = proposed.height() - g.SkinRect.Height();
    switch (sliceMode) {
        case 0:
            return CapPaintSize({g.SkinRect.Width(), g.SkinRect.Height()});
        case 1:
            fitted.RTPoint.X += dx;
            fitted.LBPoint.Y += dy;
            fitted.RBPoint.X += dx;
            fitted.RBPoint.Y += dy;
            fitted.ClientRect.Right += dx;
            fitted.ClientRect.Bottom += dy;
            return proposed;
        case 2:
            fitted.RTPoint.X += dx;
            fitted.ClientRect.Right += dx;
            return CapPaintSize({proposed.width(), g.SkinRect.Height()});
        case 3:
            fitted.LBPoint.Y += dy;
            fitted.ClientRect.Bottom += dy;
            return CapPaintSize({g.SkinRect.Width(), proposed.height()});
        default:
            return proposed;
    }
}

namespace {
// Inside an area whose right and bottom edges are excluded.
bool InsideOpen(const TPoint& p, int left, int top, int right, int bottom) {
    return p.X >= left && p.Y >= top && p.X < right && p.Y < bottom;
}
bool InsideClosed(const TPoint& p, int left, int top, int right, int bottom) {
    return p.X >= left && p.Y >= top && p.X <= right && p.Y <= bottom;
}
// Three-part mapping along one axis: a span from at or before the near point to at or past the far point
// grows with the control; one that starts at or past the far point moves with it.
void ShiftAlong(int& start, int& end, int nearPoint, int farPoint, int delta) {
    if (start <= nearPoint && end >= farPoint) end += delta;
    else if (start >= farPoint && end > farPoint) start += delta, end += delta;
}
}  // namespace

TRect TranslateSkinRect(const TSkinGeometry& g, int sliceMode, QSize controlSize, const TRect& r) {
    const int dx = controlSize.width() - g.SkinRect.Width();
    const int dy = controlSize.height() - g.SkinRect.Height();
    const int w = g.SkinRect.Width(), h = g.SkinRect.Height();
    TRect out = r;
    switch (sliceMode) {
        case 1: {
            const TPoint tl{r.Left, r.Top}, br{r.Right, r.Bottom};
            struct Area {
                int l, t, rr, b;
            };
            const Area lt{0, 0, g.LTPoint.X, g.LTPoint.Y};
            const Area rt{g.RTPoint.X, 0, w, g.RTPoint.Y};
            const Area lb{0, g.LBPoint.Y, g.LBPoint.X, h};
            const Area rb{g.RBPoint.X, g.RBPoint.Y, w, h};
            auto wholly = [&](const Area& a) {
                return InsideOpen(tl, a.l, a.t, a.rr, a.b) && InsideOpen(br, a.l, a.t, a.rr, a.b);
            };
            auto at = [](const TPoint& p, const Area& a) { return InsideClosed(p, a.l, a.t, a.rr, a.b); };
            if (wholly(lt)) return out;
            if (wholly(rt)) {
                out.Left += dx, out.Right += dx;
                return out;
            }
            if (wholly(lb)) {
                out.Top += dy, out.Bottom += dy;
                return out;
            }
            if (wholly(rb)) {
                out.Left += dx, out.Right += dx, out.Top += dy, out.Bottom += dy;
                return out;
            }
            if (at(tl, lt) && at(br, rb)) {
                out.Right += dx, out.Bottom += dy;
            } else if (at(tl, lt) && at(br, rt)) {
                out.Right += dx;
            } else if (at(tl, lb) && at(br, rb)) {
                out.Right += dx, out.Top += dy, out.Bottom += dy;
            } else if (at(tl, lt) && at(br, lb)) {
                out.Bottom += dy;
            } else if (at(tl, rt) && at(br, rb)) {
                out.Left += dx, out.Right += dx, out.Bottom += dy;
            }
            return out;
        }
        case 2:
            ShiftAlong(out.Left, out.Right, g.LTPoint.X, g.RTPoint.X, dx);
            return out;
        case 3:
            ShiftAlong(out.Top, out.Bottom, g.LTPoint.Y, g.LBPoint.Y, dy);
            return out;
        default:
            return out;
    }
}

void TileImage(QPainter& p, const QImage& picture, const QRect& source, const QRect& destination) {
    // A zero-sized piece would never cover anything: it is skipped rather than copied forever.
    const QRect src = source & picture.rect();
    if (src.isEmpty() || destination.isEmpty()) return;
    int right = destination.left() + destination.width(), bottom = destination.top() + destination.height();
    int firstX = destination.left(), firstY = destination.top();
    // Tiles outside the device and the painter's clip are never drawn: the loops start at the first tile that reaches into it
    // (on the same grid) and stop past it, so a long span clipped to a small control costs only what shows.
    QRect clip;
    if (const QPaintDevice* device = p.device(); device && p.transform().isInvertible()) {
        // An image counts its pixels, a widget its logical size; tiles are laid out in logical pixels.
        const QSize logical = device->devType() == QInternal::Image ? LogicalSize(*static_cast<const QImage*>(device))
                                                                    : QSize(device->width(), device->height());
        clip = p.transform().inverted().mapRect(QRect(QPoint(0, 0), logical));
    }
    if (p.hasClipping()) clip = clip.isNull() ? p.clipBoundingRect().toAlignedRect()
                                              : clip & p.clipBoundingRect().toAlignedRect();
    if (!clip.isNull()) {
        if (clip.isEmpty()) return;
        if (clip.left() > firstX) firstX += (clip.left() - firstX) / src.width() * src.width();
        if (clip.top() > firstY) firstY += (clip.top() - firstY) / src.height() * src.height();
        right = std::min(right, clip.left() + clip.width());
        bottom = std::min(bottom, clip.top() + clip.height());
    }
    for (int y = firstY; y < bottom; y += src.height()) {
        const int h = std::min(src.height(), destination.top() + destination.height() - y);
        for (int x = firstX; x < right; x += src.width()) {
            const int w = std::min(src.width(), destination.left() + destination.width() - x);
            DrawPicture(p, QPoint(x, y), picture, QRect(src.left(), src.top(), w, h));
        }
    }
}

namespace {

// One piece of the source: x0..x1, y0..y1 relative to the source rectangle's top-left.
QRect Piece(const TRect& source, int x0, int y0, int x1, int y1) {
    return QRect(source.Left + x0, source.Top + y0, x1 - x0, y1 - y0);
}

// A span from a to b (b exclusive) as a rectangle along one axis.
QRect Span(int x0, int y0, int x1, int y1) { return QRect(x0, y0, x1 - x0, y1 - y0); }

void CopyPiece(QPainter& p, const QImage& picture, const QRect& piece, QPoint at) {
    const QRect src = piece & picture.rect();
    if (src.isEmpty()) return;
    DrawPicture(p, at + (src.topLeft() - piece.topLeft()), picture, src);
}

void StretchOrTile(QPainter& p, const QImage& picture, const QRect& piece, const QRect& span, bool stretch) {
    if (!stretch) {
        TileImage(p, picture, piece, span);
        return;
    }
    const QRect src = piece & picture.rect();
    if (src.isEmpty() || span.isEmpty()) return;
    DrawPicture(p, span, picture, src);
}

}  // namespace

void DrawSkinImage(QPainter& p, QPoint at, const QImage* picture, const TRect& source, const TSkinGeometry& geometry,
                   int sliceMode, QSize size, bool fillCentre, TStretchFlags stretch) {
    if (!picture || picture->isNull() || sliceMode < 0) return;
    const TSkinGeometry g = HeldGeometry(geometry, picture);
    const TRect src = HeldToPicture(source, picture);
    const int w = g.SkinRect.Width(), h = g.SkinRect.Height();
    if (w <= 0 || h <= 0) return;
    TFittedGeometry f;
    size = FitGeometry(g, sliceMode, size, f);
    p.save();
    p.translate(at);
    p.setClipRect(QRect(QPoint(0, 0), size), Qt::IntersectClip);
    switch (sliceMode) {
        case 0:
            CopyPiece(p, *picture, Piece(src, 0, 0, w, h), {0, 0});
            break;
        case 2: {
            const int left = g.LTPoint.X, right = g.RTPoint.X;
            const int rightWidth = w - right;
            // A middle piece of no width is taken as one pixel wide.
            const int middleEnd = std::max(right, left + 1);
            TileImage(p, *picture, Piece(src, left, 0, middleEnd, h), Span(left, 0, size.width() - rightWidth, h));
            CopyPiece(p, *picture, Piece(src, 0, 0, left, h), {0, 0});
            CopyPiece(p, *picture, Piece(src, right, 0, w, h), {size.width() - rightWidth, 0});
            break;
        }
        case 3: {
            const int top = g.LTPoint.Y, bottom = g.LBPoint.Y;
            const int bottomHeight = h - bottom;
            const int middleEnd = std::max(bottom, top + 1);
            TileImage(p, *picture, Piece(src, 0, top, w, middleEnd), Span(0, top, w, size.height() - bottomHeight));
            CopyPiece(p, *picture, Piece(src, 0, 0, w, top), {0, 0});
            CopyPiece(p, *picture, Piece(src, 0, bottom, w, h), {0, size.height() - bottomHeight});
            break;
        }
        case 1: {
            if (g.RBPoint.X == g.LTPoint.X || g.RBPoint.Y == g.LTPoint.Y) break;
            const TRect& c = g.ClientRect;
            const TRect& fc = f.ClientRect;
            // Edges first, tiled (or stretched) between the fitted points.
            StretchOrTile(p, *picture, Piece(src, g.LTPoint.X, 0, g.RTPoint.X, c.Top),
                          Span(g.LTPoint.X, 0, f.RTPoint.X, c.Top), stretch.Top);
            StretchOrTile(p, *picture, Piece(src, g.LBPoint.X, c.Bottom, g.RBPoint.X, h),
                          Span(g.LBPoint.X, fc.Bottom, f.RBPoint.X, fc.Bottom + (h - c.Bottom)), stretch.Bottom);
            StretchOrTile(p, *picture, Piece(src, 0, g.LTPoint.Y, c.Left, g.LBPoint.Y),
                          Span(0, g.LTPoint.Y, c.Left, f.LBPoint.Y), stretch.Left);
            StretchOrTile(p, *picture, Piece(src, c.Right, g.RTPoint.Y, w, g.RBPoint.Y),
                          Span(fc.Right, g.RTPoint.Y, fc.Right + (w - c.Right), f.RBPoint.Y), stretch.Right);
            // Then the eight corner pieces, each once at its fitted place.
            CopyPiece(p, *picture, Piece(src, 0, 0, g.LTPoint.X, c.Top), {0, 0});
            CopyPiece(p, *picture, Piece(src, 0, c.Top, c.Left, g.LTPoint.Y), {0, c.Top});
            CopyPiece(p, *picture, Piece(src, g.RTPoint.X, 0, w, c.Top), {f.RTPoint.X, 0});
            CopyPiece(p, *picture, Piece(src, c.Right, c.Top, w, g.RTPoint.Y), {fc.Right, c.Top});
            CopyPiece(p, *picture, Piece(src, 0, g.LBPoint.Y, c.Left, h), {0, f.LBPoint.Y});
            CopyPiece(p, *picture, Piece(src, c.Left, c.Bottom, g.LBPoint.X, h), {c.Left, fc.Bottom});
            CopyPiece(p, *picture, Piece(src, g.RBPoint.X, c.Bottom, w, h), {f.RBPoint.X, fc.Bottom});
            CopyPiece(p, *picture, Piece(src, c.Right, g.RBPoint.Y, w, c.Bottom), {fc.Right, f.RBPoint.Y});
            if (fillCentre) TileImage(p, *picture, Piece(src, c.Left, c.Top, c.Right, c.Bottom), fc.ToQRect());
            break;
        }
        default:
            break;
    }
    p.restore();
}

void BuildSkinImage(QImage& destination, const QImage* picture, const TRect& source, const TSkinGeometry& g,
                    int sliceMode, QSize size, bool fillCentre, TStretchFlags stretch, qreal ratio) {
    TFittedGeometry fitted;
    const QSize imageSize = sliceMode < 0 ? CapPaintSize(size) : FitGeometry(g, sliceMode, size, fitted);
    if (!PaintSizeAllowed(imageSize)) {
        destination = QImage();
        return;
    }
    if (LogicalSize(destination) != imageSize || destination.format() != QImage::Format_RGB32 ||
        destination.devicePixelRatio() != ratio)
        destination = DeviceImage(imageSize, ratio, QImage::Format_RGB32);
    if (destination.isNull()) return;
    destination.fill(Qt::black);
    QPainter p(&destination);
    DrawSkinImage(p, {0, 0}, picture, source, g, sliceMode, imageSize, fillCentre, stretch);
}

QRegion MaskToRegion(const QImage& mask, const QRect& area, QPoint offset) {
    const QRect scan = area & mask.rect();
    if (scan.isEmpty()) return {};
    const QImage rgb = mask.format() == QImage::Format_RGB32 || mask.format() == QImage::Format_ARGB32
                           ? mask
                           : mask.convertToFormat(QImage::Format_RGB32);
    std::vector<QRect> runs;
    const QPoint shift = offset - scan.topLeft();
    for (int y = scan.top(); y <= scan.bottom() && int(runs.size()) < kMaxMaskRuns; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        int x = scan.left();
        while (x <= scan.right() && int(runs.size()) < kMaxMaskRuns) {
            if ((line[x] & 0xFFFFFF) != 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x <= scan.right() && (line[x] & 0xFFFFFF) == 0) ++x;
            runs.emplace_back(QRect(start, y, x - start, 1).translated(shift));
        }
    }
    QRegion region;
    region.setRects(runs.data(), int(runs.size()));
    return region;
}

QRegion MaskToRegion(const QImage& mask, QPoint offset) { return MaskToRegion(mask, mask.rect(), offset); }

QRegion SkinShapeRegion(const QImage* mask, const TSkinGeometry& geometry, int sliceMode, QSize size) {
    if (!mask || mask->isNull() || sliceMode < 0) return {};
    if (sliceMode == 0) return MaskToRegion(*mask, {0, 0});
    // The mask is laid out like the skin image, from its own top-left; its black pixels outside the inner
    // area are the visible border.
    TSkinGeometry g = HeldGeometry(geometry, nullptr);
    const TRect whole{0, 0, g.SkinRect.Width(), g.SkinRect.Height()};
    g.SkinRect = whole;
    QImage fitted;
    BuildSkinImage(fitted, mask, whole, g, sliceMode, size, false);
    if (fitted.isNull()) return {};
    TFittedGeometry f;
    FitGeometry(g, sliceMode, size, f);
    return MaskToRegion(fitted, {0, 0}) | f.ClientRect.ToQRect();
}

}  // namespace dorvanel::skin
