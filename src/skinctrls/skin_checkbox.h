#pragma once
// The check box (or radio box). The flat form, which the program uses, shows what lies behind it with a
// small box and its caption; a click toggles it on release inside.
#include "skinctrls/skin_control.h"

namespace dorvanel::skinctrls {

// The check image of a box in a state: the active or disabled image, each falling back to the normal one.
skin::TRect CheckImageRect(const skin::TDataSkinCheckRadioControl& box, bool checked, bool enabled, bool hot);

class TSkinCheckRadioBox : public TSkinCustomControl {
    Q_OBJECT
public:
    explicit TSkinCheckRadioBox(QWidget* parent = nullptr);

    void PaintPlain(QImage& bitmap) override;
    // Flat: the state's check image, transparent, and the caption beside it.
    void PaintFromSkin(QImage& bitmap) override;
    // ---- added operation ----
    // Not radio: inverts Checked; radio: checks it.
    virtual void Toggle();

    bool Checked() const { return FChecked; }
    void SetChecked(bool on);
    bool Radio() const { return FRadio; }
    void SetRadio(bool on);
    bool Flat() const { return FFlat; }
    void SetFlat(bool on);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int index) { FGroupIndex = index; }
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool on);
    bool Hot() const { return FHot; }

    // The plain look's box, and where the caption starts.
    QRect BoxRect() const;
    static constexpr int CaptionLeft = 22;

    std::function<void()> OnClick;

protected:
    // A flat box has no shape of its own: the skin's mask is not used.
    void ApplyWindowShape() override;
    void CaptionChanged() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The caption from x left, vertically centred, and the focus rectangle (around box when no caption).
    void PaintCaption(QPainter& p, int left, const QFont& font, const QColor& color, const QRect& box);

    bool FChecked = false;
    bool FRadio = false;
    bool FFlat = true;
    int FGroupIndex = 0;
    bool FCanFocused = true;
    bool FHot = false;
    bool FPressed = false;
    int FMnemonicId = 0;
};

}  // namespace dorvanel::skinctrls
