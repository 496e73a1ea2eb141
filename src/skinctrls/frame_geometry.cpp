#include "skinctrls/frame_geometry.h"

#include <QPainter>

#include <algorithm>

namespace dorvanel::skinctrls {

using skin::TPoint;
using skin::TRect;

bool IsBorderCode(THitCode code) { return code >= THitCode::Left; }

TRect HeldClientRect(const skin::TSkinFormInfo& info, QSize pictureSize) {
    const TRect& c = info.clientrect;
    const int w = pictureSize.width(), h = pictureSize.height();
    TRect held{std::clamp(c.Left, 0, w), std::clamp(c.Top, 0, h), 0, 0};
    held.Right = std::clamp(c.Right, held.Left, w);
    held.Bottom = std::clamp(c.Bottom, held.Top, h);
    return held;
}

int HeldSkinInteger(int value) { return std::clamp(value, -skin::kMaxSkinCoordinate, skin::kMaxSkinCoordinate); }

skin::TSkinGeometry FrameGeometry(const skin::TSkinFormInfo& info, QSize pictureSize) {
    skin::TSkinGeometry g;
    g.SkinRect = {0, 0, pictureSize.width(), pictureSize.height()};
    g.LTPoint = info.lefttoppoint;
    g.RTPoint = info.righttoppoint;
    g.LBPoint = info.leftbottompoint;
    g.RBPoint = info.rightbottompoint;
    g.ClientRect = HeldClientRect(info, pictureSize);
    return g;
}

namespace {

// The points and inner rectangle of g fitted to size as a nine-part image.
skin::TFittedGeometry FitNinePart(skin::TSkinGeometry g, QSize size) {
    skin::TFittedGeometry fitted;
    skin::FitGeometry(g, 1, size, fitted);
    return fitted;
}

}  // namespace

TFrameFit FitFrame(const skin::TSkinFormInfo& info, QSize pictureSize, QSize windowSize) {
    TFrameFit fit;
    fit.WindowSize = windowSize;
    skin::TSkinGeometry g = FrameGeometry(info, pictureSize);
    fit.ClientRect = FitNinePart(g, windowSize).ClientRect;

    g.LTPoint = info.hittestlefttoppoint;
    g.RTPoint = info.hittestrighttoppoint;
    g.LBPoint = info.hittestleftbottompoint;
    g.RBPoint = info.hittestrightbottompoint;
    g.ClientRect = info.maskrectarea;
    const skin::TFittedGeometry hit = FitNinePart(g, windowSize);
    fit.HitLTPoint = hit.LTPoint;
    fit.HitRTPoint = hit.RTPoint;
    fit.HitLBPoint = hit.LBPoint;
    fit.HitRBPoint = hit.RBPoint;
    fit.MaskArea = hit.ClientRect;

    const int dx = windowSize.width() - pictureSize.width();
    fit.CaptionRect = info.captionrect;
    if (!fit.CaptionRect.IsEmpty()) fit.CaptionRect.Right += dx;
    fit.ButtonsRect = info.buttonsrect;
    fit.ButtonsInLeft = info.buttonsinleft;
    if (!fit.ButtonsRect.IsEmpty()) {
        if (fit.ButtonsRect.Left >= pictureSize.width() / 2) {
            fit.ButtonsRect.Left += dx;
            fit.ButtonsRect.Right += dx;
        } else {
            fit.ButtonsInLeft = true;
        }
    }
    return fit;
}

QMargins SkinFrameMargins(const skin::TSkinFormInfo& info, QSize pictureSize) {
    const TRect c = HeldClientRect(info, pictureSize);
    return {c.Left, c.Top, pictureSize.width() - c.Right, pictureSize.height() - c.Bottom};
}

QMargins PlainFrameMargins() { return {kPlainBorder, kPlainCaptionHeight + kPlainBorder, kPlainBorder, kPlainBorder}; }

QSize SkinMinimalSize(const skin::TSkinFormInfo& info, QSize pictureSize, int minWidth, int minHeight, bool minimised,
                      bool rolledUp) {
    int width = pictureSize.width();
    if (!minimised) width = std::max(width, minWidth);
    int height = pictureSize.height() - HeldClientRect(info, pictureSize).Height();
    if (!minimised && !rolledUp) height = std::max(height, minHeight);
    return {std::max(1, width), std::max(1, height)};
}

QSize PlainMinimalSize(int minWidth, int minHeight) {
    return {minWidth > 0 ? minWidth : 120, std::max(kPlainCaptionHeight + 6, minHeight)};
}

namespace {

bool InRect(QPoint at, int left, int top, int right, int bottom) {
    return at.x() >= left && at.y() >= top && at.x() < right && at.y() < bottom;
}

}  // namespace

THitCode SkinBorderHit(const TFrameFit& fit, int borderWidth, const QRegion* shape, QPoint at) {
    const QRect window(QPoint(0, 0), fit.WindowSize);
    borderWidth = std::clamp(borderWidth, 0, skin::kMaxSkinCoordinate);
    const QPoint beside[] = {at + QPoint(-borderWidth, 0), at + QPoint(0, -borderWidth), at + QPoint(borderWidth, 0),
                             at + QPoint(0, borderWidth)};
    bool zone = false;
    if (shape && !shape->isEmpty()) {
        if (!fit.MaskArea.ToQRect().contains(at))
            zone = std::any_of(std::begin(beside), std::end(beside), [&](QPoint p) { return !shape->contains(p); });
    } else {
        zone = std::any_of(std::begin(beside), std::end(beside), [&](QPoint p) { return !window.contains(p); });
    }
    if (!zone) return THitCode::Nowhere;
    const int x = at.x(), y = at.y();
    const int w = fit.WindowSize.width(), h = fit.WindowSize.height();
    const TRect& c = fit.ClientRect;
    if (x <= fit.HitLTPoint.X && y <= fit.HitLTPoint.Y) return THitCode::TopLeft;
    if (x >= fit.HitRTPoint.X && y <= fit.HitRTPoint.Y) return THitCode::TopRight;
    if (x <= fit.HitLBPoint.X && y >= fit.HitLBPoint.Y) return THitCode::BottomLeft;
    if (x >= fit.HitRBPoint.X && y >= fit.HitRBPoint.Y) return THitCode::BottomRight;
    if (InRect(at, fit.HitLTPoint.X, 0, fit.HitRTPoint.X, c.Top)) return THitCode::Top;
    if (InRect(at, fit.HitLBPoint.X, c.Bottom, fit.HitRBPoint.X, h)) return THitCode::Bottom;
    if (InRect(at, 0, fit.HitLTPoint.Y, c.Left, fit.HitLBPoint.Y)) return THitCode::Left;
    if (InRect(at, c.Right, fit.HitRTPoint.Y, w, fit.HitRBPoint.Y)) return THitCode::Right;
    return THitCode::Nowhere;
}

THitCode PlainBorderHit(QSize windowSize, QPoint at) {
    constexpr int zone = 2;
    const int x = at.x(), y = at.y(), w = windowSize.width(), h = windowSize.height();
    const bool left = x < zone, right = x >= w - zone, top = y < zone, bottom = y >= h - zone;
    if (top && left) return THitCode::TopLeft;
    if (top && right) return THitCode::TopRight;
    if (bottom && left) return THitCode::BottomLeft;
    if (bottom && right) return THitCode::BottomRight;
    if (left) return THitCode::Left;
    if (right) return THitCode::Right;
    if (top) return THitCode::Top;
    if (bottom) return THitCode::Bottom;
    return THitCode::Nowhere;
}

QRegion FrameShapeRegion(const QImage& mask, const skin::TSkinFormInfo& info, QSize pictureSize, QSize windowSize) {
    if (mask.isNull() || !skin::PaintSizeAllowed(windowSize)) return {};
    skin::TSkinGeometry g = FrameGeometry(info, pictureSize);
    g.ClientRect = info.maskrectarea;
    g = skin::HeldGeometry(g, &mask);
    const QRect area = FitNinePart(g, windowSize).ClientRect.ToQRect();
    const int w = windowSize.width(), h = windowSize.height();
    const QRect strips[] = {QRect(0, 0, w, area.top()), QRect(0, area.bottom() + 1, w, h - area.bottom() - 1),
                            QRect(0, area.top(), area.left(), area.height()),
                            QRect(area.right() + 1, area.top(), w - area.right() - 1, area.height())};
    QRegion shape(area);
    for (const QRect& strip : strips) {
        if (strip.isEmpty()) continue;
        QImage piece(strip.size(), QImage::Format_RGB32);
        piece.fill(Qt::white);
        {
            QPainter p(&piece);
            p.translate(-strip.topLeft());
            skin::DrawSkinImage(p, {0, 0}, &mask, g.SkinRect, g, 1, windowSize, false);
        }
        shape |= skin::MaskToRegion(piece, piece.rect(), strip.topLeft());
    }
    return shape;
}

}  // namespace dorvanel::skinctrls
