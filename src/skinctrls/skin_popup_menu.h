#pragma once
// A popup menu drawn from the skin: the popup window's picture sliced nine-part around its items, each item
// from the skin object "menuitem" (normal and hot images, divider, fonts and colours), or a plain menu in
// the application's palette when the skin has none. The window frame opens its system menu through it.
#include "skinctrls/skin_control.h"

#include <QImage>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

namespace dorvanel::skinctrls {

struct TSkinMenuItem {
    QString Caption;  // may hold an accelerator "&": "Mi&nimize" shows "Minimize" with the n underlined
    bool Enabled = true;
    bool Separator = false;  // a divider line; Caption ignored
    std::function<void()> OnClick;
};

class TSkinPopupMenu : public QWidget, public TSkinClient {  // a Qt::Popup top-level window
    Q_OBJECT
public:
    // owner: the window the menu belongs to (parent for lifetime).
    explicit TSkinPopupMenu(QWidget* owner);

    // Null or empty skin: the plain look.
    void SetSkinData(skin::TSkinData* data) override;
    void SkinChanging() override;
    void SkinChanged() override;

    void Clear();
    void Add(TSkinMenuItem item);
    const std::vector<TSkinMenuItem>& Items() const { return FItems; }
    // Marks the item at index with a radio mark (out of range: none is marked), as radio items show the one
    // choice in force.
    void CheckOnly(int index);
    int CheckedItem() const { return FChecked; }

    // Shows the menu with its top-left at globalPos (kept on the screen's available geometry), returns at
    // once. The chosen item's OnClick runs after the menu has closed (queued, so the handler may close the
    // owner window).
    void Popup(QPoint globalPos);

    // The item under a point in menu coordinates (-1 none), and each item's rectangle (empty for an index
    // out of range).
    int ItemAt(QPoint pos) const;
    QRect ItemRect(int index) const;
    int HotItem() const { return FHot; }
    // Closes the menu and runs the item's handler once the close has been handled (the mouse, the keyboard
    // and assistive technology all choose through it); an item that cannot be chosen does nothing.
    void Run(int index);
    // The menu as it paints now.
    QImage RenderImage();

signals:
    // The menu has closed, by a choice or without one (before the chosen item's handler runs).
    void Closed();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // What the skin gives the menu now: the popup window's picture with its slicing (none: the plain
    // border) and the menu item object (none: plain items).
    struct TLook {
        const QImage* Window = nullptr;
        const QImage* Mask = nullptr;
        TSkinGeometry WindowGeometry;
        int WindowSliceMode = -1;
        skin::TStretchFlags Stretch;
        // The menu item's rectangles held to its picture, its text rectangle held to its image.
        const skin::TDataSkinMenuItem* Item = nullptr;
        const QImage* ItemPicture = nullptr;
        skin::TRect Normal, Active, Divider, Text;
    };
    TLook CurrentLook() const;
    // The border around the items: left, top, right and bottom widths.
    static QMargins BorderOf(const TLook& look);
    int ItemHeight(const TLook& look, const TSkinMenuItem& item) const;
    QFont ItemFont(const TLook& look) const;

    // Sizes the window to its items and sets its shape.
    void UpdateLayout();
    void SetHot(int index);
    // The next enabled item from the hot one in direction step (+1 or -1), wrapping; -1 when none is.
    int NextEnabled(int step) const;
    bool Selectable(int index) const;

    void PaintTo(QImage& bitmap);
    void PaintItem(QPainter& p, const TLook& look, int index);

    std::vector<TSkinMenuItem> FItems;
    int FChecked = -1;
    std::vector<QRect> FItemRects;
    int FHot = -1;
    QImage FPaintBuffer;
};

}  // namespace dorvanel::skinctrls
