#pragma once
// The push button: normal, hot, down and focused looks, clicks on release inside, ModalResult for dialogs,
// Default and Cancel for Enter and Escape, auto-repeat and grouped (radio-like) buttons.
#include "skinctrls/skin_blend.h"
#include "skinctrls/skin_control.h"

#include <QPoint>

class QTimer;

namespace dorvanel::skinctrls {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TGlyphCaptionPlace {
    QPoint Glyph;
    QPoint Caption;
};

// Where the glyph and the caption of a button go inside area (glyph of gw x gh, caption of tw x th).
TGlyphCaptionPlace LayoutGlyphAndCaption(const QRect& area, QSize glyph, QSize caption, int spacing, int margin,
                                         TButtonLayout layout);

class TSkinButton : public TSkinCustomControl {
    Q_OBJECT
public:
    explicit TSkinButton(QWidget* parent = nullptr);
    ~TSkinButton() override;

    void PaintPlain(QImage& bitmap) override;
    void PaintFromSkin(QImage& bitmap) override;
    void ForgetSkinDescription() override;
    // ---- added operations ----
    virtual void PaintButtonImage(QImage& bitmap, const QRect& stateRect, bool active, bool down);
    virtual void PerformClick();

    int ModalResult() const { return FModalResult; }
    void SetModalResult(int result) { FModalResult = result; }
    bool Default() const { return FDefault; }
    void SetDefault(bool on);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool on) { FCancel = on; }
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool on);
    bool Down() const { return FDown; }
    void SetDown(bool down);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int index);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool on) { FAllowAllUp = on; }
    bool RepeatMode() const { return FRepeatMode; }
    void SetRepeatMode(bool on) { FRepeatMode = on; }
    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int ms) { FRepeatInterval = ms; }
    const QImage& Glyph() const { return FGlyph; }
    void SetGlyph(const QImage& glyph);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int n);
    int Margin() const { return FMargin; }
    void SetMargin(int m);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int s);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout layout);

    bool Hot() const { return FHot; }
    // The hover blend (position 0 normal, 1 active).
    const TStateBlend& Blend() const { return FBlend; }
    bool Pressed() const { return FPressed; }
    // Whether Enter presses this button now: it has the focus, or it is a default button and the focus is
    // on no other button.
    bool IsActiveDefault() const;

    std::function<void()> OnClick;

protected:
    void CaptionChanged() override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool DrawnDown() const;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

    // The button description in use, or null.
    const skin::TDataSkinButtonControl* ButtonDescription() const;
    // Moves the blend toward the state the button is in now.
    void UpdateBlend();

private:
    struct TStateImage {
        skin::TRect Rect;
        bool Active = false;
        bool Down = false;
    };
    // The state image to show when no blend is in progress.
    TStateImage ChooseStateImage() const;
    void StartRepeat();
    void StopRepeat();

    int FModalResult = 0;
    bool FDefault = false;
    bool FCancel = false;
    bool FCanFocused = true;
    bool FDown = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FRepeatMode = false;
    int FRepeatInterval = 100;
    QImage FGlyph;
    int FNumGlyphs = 1;
    int FMargin = -1;
    int FSpacing = 1;
    TButtonLayout FLayout = TButtonLayout::blGlyphLeft;

    bool FHot = false;
    bool FPressed = false;
    bool FWasDownAtPress = false;
    QTimer* FRepeatTimer = nullptr;
    int FMnemonicId = 0;
    TStateBlend FBlend;
    // The two state images of a blend, kept for the next tick.
    QImage FBlendNormal, FBlendActive;
};

}  // namespace dorvanel::skinctrls
