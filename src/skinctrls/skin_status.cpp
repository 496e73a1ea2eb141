#include "skinctrls/skin_status.h"

#include "skinctrls/skin_accessible.h"

#include <QPainter>

#include <cmath>

namespace dorvanel::skinctrls {

namespace {
// Rounds to the nearest integer, halves to even (12.5 gives 12, 37.5 gives 38).
int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }
}  // namespace

// ---- TSkinLabel ----

TSkinLabel::TSkinLabel(QWidget* parent) : TSkinCustomControl(parent) {
    FSkinDataName = QStringLiteral("label");
    resize(75, 21);
}

void TSkinLabel::RefreshSkinDescription() {
    TSkinCustomControl::RefreshSkinDescription();
    if (DescriptionIndex() != -1 && SliceMode() == 0) FAutoSize = false;
}

QSize TSkinLabel::AdjustBoundsSize(QSize proposed) {
    // Without UseSkinSize the fitting is computed but the control keeps the size it was given.
    const QSize fitted = TSkinCustomControl::AdjustBoundsSize(proposed);
    return FUseSkinSize ? fitted : proposed;
}

QRect TSkinLabel::PlainTextRect() const { return rect().adjusted(3, 3, -3, -3); }

void TSkinLabel::DrawCaption(QPainter& p, const QRect& r) const {
    const QString caption = Caption();
    if (caption.isEmpty() || r.isEmpty()) return;
    auto* keys = dynamic_cast<const skin::TSkinFontKeys*>(Description());
    const QFont font = CaptionFont(keys);
    const TShapedTextCache::TShapedText& shaped = FShapedText.Get(font, caption);
    const int tw = shaped.Width, th = shaped.Height;
    int x = r.left();
    if (FAlignment == skin::TAlignment::taRightJustify) x = r.left() + r.width() - tw;
    if (FAlignment == skin::TAlignment::taCenter) x = r.left() + Div(r.width(), 2) - Div(tw, 2);
    const int y = r.top() + Div(r.height(), 2) - Div(th, 2);
    p.save();
    p.setClipRect(r);
    p.setPen(keys && DescriptionIndex() != -1 ? skin::SkinColor(keys->fontcolor)
                                              : (isEnabled() ? FDefaultFontColor : clGrayText()));
    FShapedText.Draw(p, x, y, font, caption);
    p.restore();
}

void TSkinLabel::PaintPlain(QImage& bitmap) {
    QPainter p(&bitmap);
    p.fillRect(LogicalRect(bitmap), clBtnFace());
    DrawPlainBorder(p, LogicalRect(bitmap), FBorderStyle);
    DrawCaption(p, PlainTextRect());
}

void TSkinLabel::PaintFromSkin(QImage& bitmap) {
    QPainter p(&bitmap);
    DrawSkinImage(p, Geometry().SkinRect);
    DrawCaption(p, FittedClientRect());
}

int TSkinLabel::TextOverflow() {
    const QFont font = CaptionFont(dynamic_cast<const skin::TSkinFontKeys*>(Description()));
    return FShapedText.Get(font, Caption()).Width - PlainTextRect().width();
}

void TSkinLabel::AdjustAutoSize() {
    if (!FAutoSize) return;
    const platform::TAlign align = Align();
    if (align == platform::TAlign::alTop || align == platform::TAlign::alBottom || align == platform::TAlign::alClient)
        return;
    const int overflow = TextOverflow();
    if (overflow != 0) SetBounds(x(), y(), width() + overflow, height());
}

void TSkinLabel::CaptionChanged() {
    AdjustAutoSize();
    update();
}

void TSkinLabel::SetAlignment(skin::TAlignment alignment) {
    FAlignment = alignment;
    update();
}

void TSkinLabel::SetBorderStyle(TSkinBorderStyle style) {
    FBorderStyle = style;
    update();
}

void TSkinLabel::SetAutoSize(bool on) {
    FAutoSize = on;
    AdjustAutoSize();
}

// ---- TSkinStatusPanel ----

TSkinStatusPanel::TSkinStatusPanel(QWidget* parent) : TSkinLabel(parent) {
    FSkinDataName = QStringLiteral("statuspanel");
    resize(120, height());
}

int TSkinStatusPanel::GlyphWidth() const { return FGlyph.isNull() ? 0 : FGlyph.width() / FNumGlyphs; }

void TSkinStatusPanel::PaintPlain(QImage& bitmap) {
    QPainter p(&bitmap);
    p.fillRect(LogicalRect(bitmap), clBtnFace());
    DrawPlainBorder(p, LogicalRect(bitmap), BorderStyle());
    QRect text = PlainTextRect();
    if (!FGlyph.isNull()) {
        DrawGlyphFrame(p, 3, Div(height(), 2) - Div(FGlyph.height(), 2), isEnabled() ? 1 : 2, FNumGlyphs, FGlyph);
        text.setLeft(text.left() + GlyphWidth() + 2);
    }
    DrawCaption(p, text);
}

void TSkinStatusPanel::PaintFromSkin(QImage& bitmap) {
    QPainter p(&bitmap);
    DrawSkinImage(p, Geometry().SkinRect);
    QRect text = FittedClientRect();
    if (!FGlyph.isNull()) {
        DrawGlyphFrame(p, text.left(), text.top() + Div(text.height(), 2) - Div(FGlyph.height(), 2),
                       isEnabled() ? 1 : 2, FNumGlyphs, FGlyph);
        text.setLeft(text.left() + GlyphWidth() + 2);
    }
    DrawCaption(p, text);
}

int TSkinStatusPanel::TextOverflow() {
    const int glyph = FGlyph.isNull() ? 0 : GlyphWidth() + 2;
    return TSkinLabel::TextOverflow() + glyph + 3;
}

void TSkinStatusPanel::SetGlyph(const QImage& glyph) {
    FGlyph = glyph;
    update();
}

void TSkinStatusPanel::SetNumGlyphs(int n) {
    FNumGlyphs = std::max(1, n);
    update();
}

// ---- TSkinGauge ----

TSkinGauge::TSkinGauge(QWidget* parent) : TSkinCustomControl(parent) {
    FSkinDataName = QStringLiteral("gauge");
    resize(100, 20);
}

QSize TSkinGauge::AdjustBoundsSize(QSize proposed) {
    const QSize fitted = TSkinCustomControl::AdjustBoundsSize(proposed);
    return FUseSkinSize ? fitted : proposed;
}

void TSkinGauge::Changed() {
    ++FRepaintRequests;
    update();
}

void TSkinGauge::SetValue(int value) {
    const int clamped = value > FMaxValue ? FMaxValue : (value < FMinValue ? FMinValue : value);
    if (clamped == FValue) return;
    FValue = clamped;
    Changed();
    AnnounceValue(this, FValue);
}

void TSkinGauge::SetMinValue(int value) {
    FMinValue = value;
    if (FValue < FMinValue) FValue = FMinValue;
    Changed();
}

void TSkinGauge::SetMaxValue(int value) {
    FMaxValue = value;
    if (FValue > FMaxValue) FValue = FMaxValue;
    Changed();
}

void TSkinGauge::SetShowProgressText(bool on) {
    FShowProgressText = on;
    Changed();
}

void TSkinGauge::SetShowPercent(bool on) {
    FShowPercent = on;
    Changed();
}

void TSkinGauge::SetProgressText(const QString& text) {
    FProgressText = text;
    Changed();
}

double TSkinGauge::Fraction() const {
    if (FMaxValue == FMinValue) return 0.0;
    return static_cast<double>(FValue - FMinValue) / (static_cast<double>(FMaxValue) - FMinValue);
}

QString TSkinGauge::DisplayText() const {
    QString text = FShowProgressText ? FProgressText : QString();
    if (FShowPercent) text += QString::number(RoundHalfEven(Fraction() * 100.0)) + QLatin1Char('%');
    return text;
}

QRect TSkinGauge::FilledRect(const QRect& area) const {
    QRect r = area;
    const double f = Fraction();
    if (FVertical) r.setTop(area.top() + area.height() - RoundHalfEven(f * area.height()));
    else r.setWidth(RoundHalfEven(f * area.width()));
    return r;
}

void TSkinGauge::DrawText(QPainter& p) const {
    const QString text = DisplayText();
    if (text.isEmpty()) return;
    auto* keys = dynamic_cast<const skin::TSkinFontKeys*>(Description());
    const QFont font = CaptionFont(keys);
    const TShapedTextCache::TShapedText& shaped = FShapedText.Get(font, text);
    const int tw = shaped.Width, th = shaped.Height;
    p.save();
    p.setFont(font);
    p.setPen(keys && DescriptionIndex() != -1 ? skin::SkinColor(keys->fontcolor) : FDefaultFontColor);
    if (!FVertical) {
        FShapedText.Draw(p, Div(width(), 2) - Div(tw, 2), Div(height(), 2) - Div(th, 2), font, text);
    } else {
        // Turned a quarter counter-clockwise: the text runs upward from its baseline start.
        p.translate(Div(width(), 2) - Div(th, 2), Div(tw, 2) + Div(height(), 2));
        p.rotate(-90);
        p.drawText(QRect(0, 0, tw, th), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    p.restore();
}

const skin::TDataSkinGaugeControl* TSkinGauge::GaugeDescription() const {
    return DescriptionIndex() != -1 ? dynamic_cast<const skin::TDataSkinGaugeControl*>(Description()) : nullptr;
}

QRect TSkinGauge::FittedProgressArea() const {
    const skin::TDataSkinGaugeControl* g = GaugeDescription();
    if (!g) return {};
    skin::TRect area = g->progressarea;
    const int dx = width() - Geometry().SkinRect.Width(), dy = height() - Geometry().SkinRect.Height();
    if (SliceMode() == 1 || SliceMode() == 2) area.Right += dx;
    if (SliceMode() == 1 || SliceMode() == 3) area.Bottom += dy;
    return area.ToQRect();
}

void TSkinGauge::DrawBar(QPainter& p, const QRect& filled) const {
    const skin::TDataSkinGaugeControl* g = GaugeDescription();
    const QImage* picture = Picture();
    if (!g || !picture || filled.width() <= 0 || filled.height() <= 0) return;
    const QRect bar = skin::HeldToPicture(g->progressrect, picture).ToQRect();
    if (bar.isEmpty()) return;
    const int begin = std::clamp(g->beginoffset, 0, FVertical ? bar.height() : bar.width());
    const int end = std::clamp(g->endoffset, 0, FVertical ? bar.height() : bar.width());
    // Only the part of the bar the control shows is built: a skin's progress area may be far larger.
    const QRect shown = filled & QRect(QPoint(0, 0), size());
    if (shown.isEmpty()) return;
    QImage piece = DeviceImage(shown.size(), skin::DeviceRatio(p), QImage::Format_ARGB32_Premultiplied);
    if (piece.isNull()) return;
    piece.fill(Qt::transparent);
    {
        QPainter bp(&piece);
        // Bar coordinates from here on; the part outside `shown` is clipped away.
        bp.translate(filled.topLeft() - shown.topLeft());
        const QRect view = shown.translated(-filled.topLeft());
        // The first tile position at or before `from` on a tiling that starts at `origin` with step `step`.
        const auto firstTile = [](int origin, int from, int step) {
            return from <= origin ? origin : origin + (from - origin) / step * step;
        };
        if (!FVertical) {
            const int middle = filled.width() - begin - end;
            const QRect middleSource(bar.left() + begin, bar.top(), bar.width() - begin - end, bar.height());
            // Each tile is stretched to the bar's full height.
            if (middle > 0 && !middleSource.isEmpty())
                for (int x = firstTile(begin, view.left(), middleSource.width());
                     x < begin + middle && x <= view.right(); x += middleSource.width()) {
                    const int w = std::min(middleSource.width(), begin + middle - x);
                    DrawPicture(bp, QRect(x, 0, w, filled.height()), *picture,
                                QRect(middleSource.left(), middleSource.top(), w, middleSource.height()));
                }
            DrawPicture(bp, QRect(0, 0, begin, filled.height()), *picture,
                        QRect(bar.left(), bar.top(), begin, bar.height()));
            DrawPicture(bp, QRect(filled.width() - end, 0, end, filled.height()), *picture,
                        QRect(bar.right() + 1 - end, bar.top(), end, bar.height()));
        } else {
            const int middle = filled.height() - begin - end;
            const QRect middleSource(bar.left(), bar.top() + begin, bar.width(), bar.height() - begin - end);
            // Tiles are placed from the bottom upward; those below the shown part are skipped.
            if (middle > 0 && !middleSource.isEmpty()) {
                const int step = middleSource.height();
                int y = begin + middle;
                if (view.bottom() + 1 < y) y -= (y - (view.bottom() + 1)) / step * step;
                for (; y > begin && y > view.top(); y -= step) {
                    const int h = std::min(step, y - begin);
                    DrawPicture(bp, QRect(0, y - h, filled.width(), h), *picture,
                                QRect(middleSource.left(), middleSource.bottom() + 1 - h, middleSource.width(), h));
                }
            }
            DrawPicture(bp, QRect(0, 0, filled.width(), begin), *picture,
                        QRect(bar.left(), bar.top(), bar.width(), begin));
            DrawPicture(bp, QRect(0, filled.height() - end, filled.width(), end), *picture,
                        QRect(bar.left(), bar.bottom() + 1 - end, bar.width(), end));
        }
    }
    if (g->progresstransparent) MakeColorTransparent(piece, skin::SkinColor(g->progresstransparentcolor).rgb());
    p.drawImage(shown.topLeft(), piece);
}

void TSkinGauge::PaintFromSkin(QImage& bitmap) {
    QPainter p(&bitmap);
    DrawSkinImage(p, Geometry().SkinRect);
    DrawBar(p, FilledRect(FittedProgressArea()));
    DrawText(p);
}

void TSkinGauge::PaintPlain(QImage& bitmap) {
    QPainter p(&bitmap);
    DrawFramedFill(p, LogicalRect(bitmap), clBtnShadow(), clWindow());
    const QRect filled = FilledRect(QRect(1, 1, width() - 2, height() - 2));
    if (filled.width() > 0 && filled.height() > 0) p.fillRect(filled, clPlainHotFill);
    DrawText(p);
}

}  // namespace dorvanel::skinctrls
