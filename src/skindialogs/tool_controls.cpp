#include "skindialogs/tool_controls.h"

#include "skinctrls/skin_draw.h"

#include <QPainter>

namespace dorvanel::skindialogs {

using namespace skinctrls;

TSkinToolBar::TSkinToolBar(QWidget* parent) : TSkinPanel(parent) {
    FSkinDataName = QStringLiteral("toolpanel");
    SetBorderStyle(TSkinBorderStyle::bvNone);
    SetDefaultHeight(25);
    resize(width(), 25);
}

TSkinSpeedButton::TSkinSpeedButton(QWidget* parent) : TSkinButton(parent) {
    FSkinDataName = QStringLiteral("toolbutton");
    SetCanFocused(false);
    SetDefaultWidth(27);
    SetDefaultHeight(25);
    resize(27, 25);
}

void TSkinSpeedButton::PaintPlain(QImage& bitmap) {
    const bool down = DrawnDown();
    {
        QPainter p(&bitmap);
        // Flat on the bar until the mouse is over it or it is held down.
        if (Hot() || down) DrawStateFill(p, LogicalRect(bitmap), Hot(), down);
        else p.fillRect(LogicalRect(bitmap), clBtnFace());
    }
    PaintButtonImage(bitmap, LogicalRect(bitmap), Hot(), down);
}

TSkinMenuSpeedButton::TSkinMenuSpeedButton(QWidget* parent) : TSkinSpeedButton(parent) {
    FSkinDataName = QStringLiteral("toolmenubutton");
    SetDefaultWidth(37);
    resize(37, 25);
}

void TSkinMenuSpeedButton::PaintPlain(QImage& bitmap) {
    const bool down = DrawnDown();
    const QRect glyphPart(0, 0, LogicalSize(bitmap).width() - ArrowWidth, LogicalSize(bitmap).height());
    {
        QPainter p(&bitmap);
        if (Hot() || down) DrawStateFill(p, LogicalRect(bitmap), Hot(), down);
        else p.fillRect(LogicalRect(bitmap), clBtnFace());
    }
    PaintButtonImage(bitmap, glyphPart, Hot(), down);
    PaintArrow(bitmap);
}

void TSkinMenuSpeedButton::PaintFromSkin(QImage& bitmap) {
    TSkinSpeedButton::PaintFromSkin(bitmap);
    PaintArrow(bitmap);
}

void TSkinMenuSpeedButton::PaintArrow(QImage& bitmap) {
    QPainter p(&bitmap);
    const QRect arrow(LogicalSize(bitmap).width() - ArrowWidth, 0, ArrowWidth - 2, LogicalSize(bitmap).height());
    // The menu drops downward: the arrow's point is at the bottom.
    const int cx = arrow.left() + arrow.width() / 2, cy = arrow.top() + arrow.height() / 2;
    p.setPen(isEnabled() ? clBtnText() : clBtnShadow());
    for (int i = 0; i < 3; ++i) p.drawLine(cx - 2 + i, cy - 1 + i, cx + 2 - i, cy - 1 + i);
}

void TSkinMenuSpeedButton::PerformClick() {
    TSkinSpeedButton::PerformClick();
    if (FMenu) FMenu->Popup(mapToGlobal(QPoint(0, height())));
}

}  // namespace dorvanel::skindialogs
