#pragma once
// The status bar's contents: the skinned label and its status panel (one line of text in a frame) and the
// gauge that shows progress with its percentage.
#include "skinctrls/skin_panel.h"

namespace dorvanel::skinctrls {

class TSkinLabel : public TSkinCustomControl {
    Q_OBJECT
public:
    explicit TSkinLabel(QWidget* parent = nullptr);

    void RefreshSkinDescription() override;
    void PaintPlain(QImage& bitmap) override;
    void PaintFromSkin(QImage& bitmap) override;
    // ---- added operation ----
    // How many pixels the caption is wider than its text rectangle.
    virtual int TextOverflow();

    skin::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(skin::TAlignment alignment);
    TSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TSkinBorderStyle style);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool on);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool on) { FUseSkinSize = on; }

protected:
    QSize AdjustBoundsSize(QSize proposed) override;
    void CaptionChanged() override;
    // The plain look's text rectangle.
    virtual QRect PlainTextRect() const;
    // Draws the caption in r, one line, by Alignment, vertically centred, clipped to r.
    void DrawCaption(QPainter& p, const QRect& r) const;
    void AdjustAutoSize();

private:
    skin::TAlignment FAlignment = skin::TAlignment::taLeftJustify;
    TSkinBorderStyle FBorderStyle = TSkinBorderStyle::bvFrame;
    bool FAutoSize = false;
    bool FUseSkinSize = true;
};

class TSkinStatusPanel : public TSkinLabel {
    Q_OBJECT
public:
    explicit TSkinStatusPanel(QWidget* parent = nullptr);

    void PaintPlain(QImage& bitmap) override;
    void PaintFromSkin(QImage& bitmap) override;
    int TextOverflow() override;

    const QImage& Glyph() const { return FGlyph; }
    void SetGlyph(const QImage& glyph);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int n);

private:
    int GlyphWidth() const;

    QImage FGlyph;
    int FNumGlyphs = 1;
};

class TSkinGauge : public TSkinCustomControl {
    Q_OBJECT
public:
    explicit TSkinGauge(QWidget* parent = nullptr);

    void PaintPlain(QImage& bitmap) override;
    void PaintFromSkin(QImage& bitmap) override;
    // Where the bar may grow: progressarea fitted to the control (empty without a description).
    QRect FittedProgressArea() const;

    int MinValue() const { return FMinValue; }
    void SetMinValue(int value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value);
    int Value() const { return FValue; }
    void SetValue(int value);
    bool Vertical() const { return FVertical; }
    void SetVertical(bool on) { FVertical = on; }
    bool ShowProgressText() const { return FShowProgressText; }
    void SetShowProgressText(bool on);
    bool ShowPercent() const { return FShowPercent; }
    void SetShowPercent(bool on);
    const QString& ProgressText() const { return FProgressText; }
    void SetProgressText(const QString& text);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool on) { FUseSkinSize = on; }

    // (Value - MinValue) / (MaxValue - MinValue), 0 for an empty range.
    double Fraction() const;
    // The text the gauge shows: ProgressText (when shown) followed by the percentage (when shown).
    QString DisplayText() const;
    // The part of r that the bar fills.
    QRect FilledRect(const QRect& area) const;

    // Counts repaints asked for, so that unchanged values can be seen not to repaint.
    int RepaintRequests() const { return FRepaintRequests; }

protected:
    QSize AdjustBoundsSize(QSize proposed) override;

private:
    const skin::TDataSkinGaugeControl* GaugeDescription() const;
    void Changed();
    void DrawText(QPainter& p) const;
    // The bar picture built from progressrect to the filled size, drawn at its top-left.
    void DrawBar(QPainter& p, const QRect& filled) const;

    int FMinValue = 0;
    int FMaxValue = 100;
    int FValue = 50;
    bool FVertical = false;
    bool FShowProgressText = false;
    bool FShowPercent = false;
    QString FProgressText;
    bool FUseSkinSize = true;
    int FRepaintRequests = 0;
};

}  // namespace dorvanel::skinctrls
