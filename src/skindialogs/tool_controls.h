#pragma once
// The file dialog's tool bar and its flat buttons: a speed button (no focus, flat until the mouse is over
// it) and a speed button that drops a skinned popup menu.
#include "skinctrls/skin_button.h"
#include "skinctrls/skin_panel.h"
#include "skinctrls/skin_popup_menu.h"

#include <QPointer>

namespace dorvanel::skindialogs {

class TSkinToolBar : public skinctrls::TSkinPanel {
    Q_OBJECT
public:
    explicit TSkinToolBar(QWidget* parent = nullptr);
};

class TSkinSpeedButton : public skinctrls::TSkinButton {
    Q_OBJECT
public:
    explicit TSkinSpeedButton(QWidget* parent = nullptr);
    void PaintPlain(QImage& bitmap) override;
};

class TSkinMenuSpeedButton : public TSkinSpeedButton {
    Q_OBJECT
public:
    explicit TSkinMenuSpeedButton(QWidget* parent = nullptr);
    void PaintPlain(QImage& bitmap) override;
    void PaintFromSkin(QImage& bitmap) override;
    // Raises OnClick, then drops the menu below the button.
    void PerformClick() override;

    skinctrls::TSkinPopupMenu* SkinPopupMenu() const { return FMenu; }
    void SetSkinPopupMenu(skinctrls::TSkinPopupMenu* menu) { FMenu = menu; }
    // Width of the part at the right that shows the drop-down arrow.
    static constexpr int ArrowWidth = 11;

private:
    // The drop-down arrow in the part at the right.
    void PaintArrow(QImage& bitmap);

    QPointer<skinctrls::TSkinPopupMenu> FMenu;
};

}  // namespace dorvanel::skindialogs
