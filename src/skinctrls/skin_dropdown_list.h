#pragma once
// The list a drop-down box opens below itself. With the skin's list box description ("listbox") it draws
// the frame image around its rows, the item picture behind each row (the hot and the focused item pictures
// for the row under the pointer and the current row, each with its text colour), and the skinned vertical
// scroll bar beside the rows when they do not all fit; without one, the plain look. A row is chosen by a
// click or Enter; Escape, or a press outside the list, closes it.
#include "skinctrls/skin_control.h"
#include "skinctrls/skin_scrollbar.h"

#include <QIcon>
#include <QList>
#include <QVariant>

#include <functional>

namespace dorvanel::skinctrls {

struct TComboItem {
    QString Text;
    QIcon Icon;
    // Steps of indentation in the dropped list.
    int Indent = 0;
    // Whatever the owner keeps with the item (a folder path, a mask).
    QVariant Data;
};

class TSkinDropDownList : public TSkinCustomControl {
    Q_OBJECT
public:
    // A popup window of owner.
    explicit TSkinDropDownList(QWidget* owner);

    void PaintPlain(QImage& bitmap) override;
    void PaintFromSkin(QImage& bitmap) override;

    void SetItems(const QList<TComboItem>& items);
    int Count() const { return static_cast<int>(FItems.size()); }
    // The current row (the focused item picture), -1 for none; kept in view.
    int CurrentRow() const { return FCurrent; }
    void SetCurrentRow(int row);
    // The row under the pointer, -1 for none.
    int HotRow() const { return FHot; }
    int TopRow() const { return FTop; }
    int RowHeight() const;
    // The rows' area inside the frame, beside the scroll bar when it shows.
    QRect RowsRect() const;
    TSkinScrollBar* ScrollBar() const { return FBar; }

    // Sizes the list for width and rows rows (at most the item count) and shows it at a global position.
    void Open(QPoint globalPos, int width, int rows);

    // Pixels of one indentation step and the items' icon size.
    static constexpr int IndentStep = 10;
    static constexpr int IconSize = 16;

    std::function<void(int row)> OnChoose;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void MouseLeave() override;

private:
    const skin::TDataSkinListBox* ListDescription() const;
    int RowAt(QPoint at) const;
    void SetTop(int top);
    void LayOutBar();
    // One row's picture (skin) or fill (plain), then its icon and text.
    void PaintRow(QPainter& p, int row, const QRect& r, const skin::TDataSkinListBox* list);

    QList<TComboItem> FItems;
    int FCurrent = -1, FHot = -1, FTop = 0, FRows = 1;
    TSkinScrollBar* FBar;
};

}  // namespace dorvanel::skinctrls
