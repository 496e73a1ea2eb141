#include "skinctrls/skin_draw.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace dorvanel::skinctrls {

namespace {
QColor PaletteColor(QPalette::ColorGroup group, QPalette::ColorRole role) {
    return QGuiApplication::palette().color(group, role);
}
}  // namespace

QColor clBtnFace() { return PaletteColor(QPalette::Active, QPalette::Button); }
QColor clBtnShadow() { return PaletteColor(QPalette::Active, QPalette::Dark); }
QColor clBtnHighlight() { return PaletteColor(QPalette::Active, QPalette::Light); }
QColor clBtnText() { return PaletteColor(QPalette::Active, QPalette::ButtonText); }
QColor clWindow() { return PaletteColor(QPalette::Active, QPalette::Base); }
QColor clWindowText() { return PaletteColor(QPalette::Active, QPalette::Text); }
QColor clGrayText() { return PaletteColor(QPalette::Disabled, QPalette::Text); }

void DrawFramedFill(QPainter& p, const QRect& r, const QColor& frame, const QColor& fill) {
    if (r.isEmpty()) return;
    p.fillRect(r, frame);
    p.fillRect(r.adjusted(1, 1, -1, -1), fill);
}

void DrawStateFill(QPainter& p, const QRect& r, bool hot, bool down) {
    if (down)
        DrawFramedFill(p, r, clPlainNavy, clPlainDownFill);
    else if (hot)
        DrawFramedFill(p, r, clPlainNavy, clPlainHotFill);
    else
        DrawFramedFill(p, r, clBtnShadow(), clBtnFace());
}

void DrawArrow(QPainter& p, const QRect& r, TArrowDirection direction, const QColor& color) {
    // Four lines shrinking from 7 to 1 pixels: a small solid triangle.
    const int cx = r.left() + r.width() / 2, cy = r.top() + r.height() / 2;
    p.save();
    p.setPen(color);
    for (int i = 0; i < 4; ++i) {
        const int half = 3 - i;
        switch (direction) {
        // Line i is 2 * half + 1 long; the widest line is the arrow's base, the shortest its tip.
        case TArrowDirection::Up: p.drawLine(cx - half, cy + 1 - i, cx + half, cy + 1 - i); break;
        case TArrowDirection::Down: p.drawLine(cx - half, cy - 2 + i, cx + half, cy - 2 + i); break;
        case TArrowDirection::Left: p.drawLine(cx + 1 - i, cy - half, cx + 1 - i, cy + half); break;
        case TArrowDirection::Right: p.drawLine(cx - 2 + i, cy - half, cx - 2 + i, cy + half); break;
        }
    }
    p.restore();
}

QString FitTextWithEllipsis(const QFontMetrics& metrics, const QString& text, int width) {
    if (metrics.horizontalAdvance(text) <= width) return text;
    QString shortened = text;
    while (!shortened.isEmpty()) {
        shortened.chop(1);
        if (metrics.horizontalAdvance(shortened + QStringLiteral("...")) <= width) break;
    }
    return shortened + QStringLiteral("...");
}

void DrawGlyphFrame(QPainter& p, int x, int y, int frame, int frameCount, const QImage& glyph) {
    if (glyph.isNull() || frameCount < 1 || frame < 1 || frame > frameCount) return;
    const int w = glyph.width() / frameCount;
    if (w <= 0) return;
    QImage piece = glyph.copy((frame - 1) * w, 0, w, glyph.height()).convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = piece.pixel(0, piece.height() - 1);
    for (int row = 0; row < piece.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(piece.scanLine(row));
        for (int col = 0; col < piece.width(); ++col)
            if (line[col] == transparent) line[col] = 0;
    }
    p.drawImage(x, y, piece);
}

int SliceModeOf(const TSkinGeometry& g) {
    if (g.SkinRect.Width() <= 0 || g.SkinRect.Height() <= 0) return -1;
    if (g.RBPoint.X != 0 && g.RBPoint.Y != 0) return 1;
    if (!g.RTPoint.IsZero()) return 2;
    if (!g.LBPoint.IsZero()) return 3;
    return 0;
}

QSize FitGeometry(const TSkinGeometry& g, int sliceMode, QSize proposed, TFittedGeometry& fitted) {
    fitted = {g.LTPoint, g.RTPoint, g.LBPoint, g.RBPoint, g.ClientRect};
    const int dx = proposed.width() - g.SkinRect.Width();
    const int dy = proposed.height() - g.SkinRect.Height();
    switch (sliceMode) {
    case 0:
        return {g.SkinRect.Width(), g.SkinRect.Height()};
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
        return {proposed.width(), g.SkinRect.Height()};
    case 3:
        fitted.LBPoint.Y += dy;
        fitted.ClientRect.Bottom += dy;
        return {g.SkinRect.Width(), proposed.height()};
    default:
        return proposed;
    }
}

namespace {
// Inside an area whose right and bottom edges are excluded.
bool InsideOpen(const skin::TPoint& p, int left, int top, int right, int bottom) {
    return p.X >= left && p.Y >= top && p.X < right && p.Y < bottom;
}
// Three-part mapping along one axis: a span from at or before the near point to at or past the far point
// grows with the control; one that starts at or past the far point moves with it.
void ShiftAlong(int& start, int& end, int nearPoint, int farPoint, int delta) {
    if (start <= nearPoint && end >= farPoint)
        end += delta;
    else if (start >= farPoint && end > farPoint)
        start += delta, end += delta;
}
bool InsideClosed(const skin::TPoint& p, int left, int top, int right, int bottom) {
    return p.X >= left && p.Y >= top && p.X <= right && p.Y <= bottom;
}
}  // namespace

skin::TRect TranslateSkinRect(const TSkinGeometry& g, int sliceMode, QSize controlSize, const skin::TRect& r) {
    const int dx = controlSize.width() - g.SkinRect.Width();
    const int dy = controlSize.height() - g.SkinRect.Height();
    const int w = g.SkinRect.Width(), h = g.SkinRect.Height();
    skin::TRect out = r;
    switch (sliceMode) {
    case 1: {
        const skin::TPoint tl{r.Left, r.Top}, br{r.Right, r.Bottom};
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
        auto at = [](const skin::TPoint& p, const Area& a) { return InsideClosed(p, a.l, a.t, a.rr, a.b); };
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

}  // namespace dorvanel::skinctrls
