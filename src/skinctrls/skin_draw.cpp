#include "skinctrls/skin_draw.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <vector>

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
    if (down) DrawFramedFill(p, r, clPlainNavy, clPlainDownFill);
    else if (hot) DrawFramedFill(p, r, clPlainNavy, clPlainHotFill);
    else DrawFramedFill(p, r, clBtnShadow(), clBtnFace());
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
            case TArrowDirection::Up:
                p.drawLine(cx - half, cy + 1 - i, cx + half, cy + 1 - i);
                break;
            case TArrowDirection::Down:
                p.drawLine(cx - half, cy - 2 + i, cx + half, cy - 2 + i);
                break;
            case TArrowDirection::Left:
                p.drawLine(cx + 1 - i, cy - half, cx + 1 - i, cy + half);
                break;
            case TArrowDirection::Right:
                p.drawLine(cx - 2 + i, cy - half, cx - 2 + i, cy + half);
                break;
        }
    }
    p.restore();
}

QString FitTextWithEllipsis(const QFontMetrics& metrics, const QString& text, int width) {
    if (metrics.horizontalAdvance(text) <= width) return text;
    // The longest head of the text that fits with "..." after it. Heads grow in width with their length, so
    // the length is found by halving: a few measurements whatever the text's length.
    const QString dots = QStringLiteral("...");
    qsizetype fits = 0, tooLong = text.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = fits + (tooLong - fits) / 2;
        if (metrics.horizontalAdvance(text.left(middle) + dots) <= width) fits = middle;
        else tooLong = middle;
    }
    return text.left(fits) + dots;
}

const QString& TFittedText::Fit(const QFont& font, const QString& text, int width) {
    if (!FValid || FWidth != width || FText != text || FFont != font) {
        FFont = font;
        FText = text;
        FWidth = width;
        FFitted = FitTextWithEllipsis(QFontMetrics(font), text, width);
        FValid = true;
    }
    return FFitted;
}

void MakeColorTransparent(QImage& image, QRgb key) {
    key &= 0xFFFFFF;
    for (int row = 0; row < image.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int col = 0; col < image.width(); ++col)
            if ((line[col] & 0xFFFFFF) == key && qAlpha(line[col]) == 255) line[col] = 0;
    }
}

void DrawTransparentPiece(QPainter& p, QPoint at, const QImage& picture, const QRect& source) {
    const QRect src = source & picture.rect();
    if (src.isEmpty()) return;
    // The same few pieces (check images of every table row, glyph frames) are drawn again and again: the
    // last ones made are kept, by the picture's contents and the rectangle.
    struct TPiece {
        qint64 Key;
        QRect Source;
        QImage Image;
    };
    static std::vector<TPiece> made;
    const qint64 key = picture.cacheKey();
    auto hit = std::find_if(made.begin(), made.end(), [&](const TPiece& m) { return m.Key == key && m.Source == src; });
    if (hit == made.end()) {
        QImage piece = picture.copy(src).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        MakeColorTransparent(piece, piece.pixel(0, piece.height() - 1));
        if (made.size() >= 32) made.erase(made.begin());
        made.push_back({key, src, piece});
        hit = made.end() - 1;
    }
    DrawPicture(p, at, hit->Image, hit->Image.rect());
}

void DrawGlyphFrame(QPainter& p, int x, int y, int frame, int frameCount, const QImage& glyph) {
    if (glyph.isNull() || frameCount < 1 || frame < 1 || frame > frameCount) return;
    const int w = glyph.width() / frameCount;
    if (w <= 0) return;
    DrawTransparentPiece(p, QPoint(x, y), glyph, QRect((frame - 1) * w, 0, w, glyph.height()));
}

}  // namespace dorvanel::skinctrls
