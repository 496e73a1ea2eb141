#pragma once
// Containers: the panel (the bands of a window) and the status bar that holds the status panels and the
// gauge. Aligned children are laid out inside the panel's client area.
#include "skinctrls/skin_control.h"

namespace dorvanel::skinctrls {

enum class TSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };

// A frame of the plain look around r by border style (none draws nothing).
void DrawPlainBorder(QPainter& p, const QRect& r, TSkinBorderStyle style);

class TSkinPanel : public TSkinCustomControl {
    Q_OBJECT
public:
    explicit TSkinPanel(QWidget* parent = nullptr);

    void RefreshSkinDescription() override;
    void PaintPlain(QImage& bitmap) override;
    void PaintFromSkin(QImage& bitmap) override;
    void ApplySkin() override;

    TSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TSkinBorderStyle style);
    bool CaptionMode() const { return FCaptionMode; }
    void SetCaptionMode(bool on);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    void SetDefaultCaptionHeight(int height);
    skin::TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(skin::TAlignment alignment);
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool on);
    bool Checked() const { return FChecked; }
    void SetChecked(bool on);
    bool AutoEnabledControls() const { return FAutoEnabledControls; }
    void SetAutoEnabledControls(bool on) { FAutoEnabledControls = on; }

    // The area the children are laid out in.
    virtual QRect ClientArea() const;

    std::function<void()> OnChecked;

protected:
    const skin::TDataSkinPanelControl* PanelDescription() const;
    void BoundsChanged() override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Keeps the contents margins (which the alignment uses) on the client area.
    void UpdateClientArea();

private:
    TSkinBorderStyle FBorderStyle = TSkinBorderStyle::bvFrame;
    bool FCaptionMode = false;
    int FDefaultCaptionHeight = 22;
    skin::TAlignment FDefaultAlignment = skin::TAlignment::taLeftJustify;
    bool FCheckedMode = false;
    bool FChecked = false;
    bool FAutoEnabledControls = true;
};

class TSkinStatusBar : public TSkinPanel {
    Q_OBJECT
public:
    explicit TSkinStatusBar(QWidget* parent = nullptr);
    // Also gives every skinned child the same skin data.
    void SetSkinData(skin::TSkinData* data) override;
};

// Gives every skinned widget below parent (children, their children, ...) the skin data.
void SetSkinDataOfChildren(QWidget* parent, skin::TSkinData* data);

}  // namespace dorvanel::skinctrls
