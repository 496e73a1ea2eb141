#include "skinctrls/skin_dropdown_list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace dorvanel::skinctrls {

namespace {

// The plain scroll bar's width.
constexpr int kBarWidth = 19;

}  // namespace

TSkinDropDownList::TSkinDropDownList(QWidget* owner) : TSkinCustomControl(owner), FBar(new TSkinScrollBar(this)) {
    FSkinDataName = QStringLiteral("listbox");
    setWindowFlags(Qt::Popup);
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    FBar->SetKind(TScrollBarKind::sbVertical);
    FBar->SetSkinDataName(QStringLiteral("vscrollbar"));
    FBar->hide();
    FBar->OnChange = [this] { SetTop(FBar->Position()); };
}

const skin::TDataSkinListBox* TSkinDropDownList::ListDescription() const {
    return DescriptionIndex() != -1 ? dynamic_cast<const skin::TDataSkinListBox*>(Description()) : nullptr;
}

int TSkinDropDownList::RowHeight() const {
    const skin::TDataSkinListBox* list = ListDescription();
    const int text = QFontMetrics(CaptionFont(list)).height() + 2;
    // The item picture's height when the skin has one, never less than a line of text or an icon.
    const int picture = list ? list->itemrect.Height() : 0;
    return std::max({text, picture, IconSize + 2});
}

QRect TSkinDropDownList::RowsRect() const {
    QRect r = ListDescription() ? FittedClientRect() : rect().adjusted(1, 1, -1, -1);
    if (!FBar->isHidden()) r.setRight(FBar->x() - 1);
    return r;
}

void TSkinDropDownList::SetItems(const QList<TComboItem>& items) {
    FItems = items;
    FCurrent = std::min(FCurrent, Count() - 1);
    FHot = -1;
    LayOutBar();
    update();
}

void TSkinDropDownList::SetTop(int top) {
    top = std::clamp(top, 0, std::max(0, Count() - FRows));
    if (top == FTop) return;
    FTop = top;
    if (FBar->Position() != top) FBar->SetPosition(top);
    update();
}

void TSkinDropDownList::SetCurrentRow(int row) {
    FCurrent = Count() == 0 ? -1 : std::clamp(row, 0, Count() - 1);
    if (FCurrent >= 0 && FCurrent < FTop) SetTop(FCurrent);
    else if (FCurrent >= FTop + FRows) SetTop(FCurrent - FRows + 1);
    update();
}

void TSkinDropDownList::LayOutBar() {
    const QRect inner = ListDescription() ? FittedClientRect() : rect().adjusted(1, 1, -1, -1);
    const bool needed = Count() > FRows;
    FBar->setVisible(needed);
    if (!needed) return;
    const skin::TDataSkinListBox* list = ListDescription();
    if (list && !list->vscrollbarname.empty()) FBar->SetSkinDataName(QString::fromStdString(list->vscrollbarname));
    FBar->SetSkinData(SkinData());
    // The bar takes its skin's width; it stands at the right end of the rows' area.
    FBar->SetBounds(inner.right() + 1 - kBarWidth, inner.top(), kBarWidth, inner.height());
    FBar->SetBounds(inner.right() + 1 - FBar->width(), inner.top(), FBar->width(), inner.height());
    FBar->SetRange(0, Count() - 1, FRows, FTop);
    FBar->SetSmallChange(1);
    FBar->SetLargeChange(FRows);
}

void TSkinDropDownList::Open(QPoint globalPos, int width, int rows) {
    RefreshSkinDescription();
    FRows = std::max(1, std::min(rows, Count()));
    // The frame around the rows: what the skin's image keeps outside its client area, or the plain border.
    const int frameHeight = ListDescription() ? Geometry().SkinRect.Height() - Geometry().ClientRect.Height() : 2;
    SetBounds(globalPos.x(), globalPos.y(), width, FRows * RowHeight() + std::max(0, frameHeight));
    // The first row shown is set again for the rows that now fit, the current row in view.
    FTop = std::clamp(FTop, 0, std::max(0, Count() - FRows));
    LayOutBar();
    SetCurrentRow(FCurrent);
    show();
    setFocus(Qt::PopupFocusReason);
}

int TSkinDropDownList::RowAt(QPoint at) const {
    const QRect rows = RowsRect();
    if (!rows.contains(at)) return -1;
    const int row = FTop + (at.y() - rows.top()) / RowHeight();
    return row < Count() && row < FTop + FRows ? row : -1;
}

void TSkinDropDownList::PaintRow(QPainter& p, int row, const QRect& r, const skin::TDataSkinListBox* list) {
    const bool current = row == FCurrent, hot = row == FHot;
    QColor color = current ? palette().highlightedText().color() : clWindowText();
    QFont font = FDefaultFont;
    int textLeft = r.left() + 2, textRight = r.right() - 2;
    if (list && Picture()) {
        // Current row: the focused item picture; the row under the pointer: the hot one.
        const skin::TRect& image = current && !list->focusitemrect.IsEmpty() ? list->focusitemrect
                                   : hot && !list->activeitemrect.IsEmpty()   ? list->activeitemrect
                                                                              : list->itemrect;
        const skin::TRect source = skin::HeldToPicture(image, Picture());
        if (!source.IsEmpty()) {
            skin::TSkinGeometry g;
            g.SkinRect = source;
            g.LTPoint = {std::clamp(list->itemleftoffset, 0, source.Width()), 0};
            g.RTPoint = {std::clamp(source.Width() - list->itemrightoffset, g.LTPoint.X, source.Width()), 0};
            QImage piece;
            skin::BuildSkinImage(piece, Picture(), source, g, 2, QSize(r.width(), source.Height()), true, {},
                                 skin::DeviceRatio(p));
            if (!piece.isNull()) p.drawImage(r, piece);
        }
        color = skin::SkinColor(current ? list->focusfontcolor : hot ? list->activefontcolor : list->fontcolor);
        font = CaptionFont(list);
        if (!list->itemtextrect.IsEmpty()) {
            textLeft = r.left() + list->itemtextrect.Left;
            textRight = r.right() - (list->itemrect.Width() - list->itemtextrect.Right);
        }
    } else if (current) {
        p.fillRect(r, palette().highlight());
    } else if (hot) {
        p.fillRect(r, clPlainHotFill);
    }
    const TComboItem& item = FItems.at(row);
    int x = textLeft + item.Indent * IndentStep;
    if (!item.Icon.isNull()) {
        item.Icon.paint(&p, QRect(x, r.top() + Div(r.height(), 2) - IconSize / 2, IconSize, IconSize));
        x += IconSize + 4;
    }
    const QRect text(x, r.top(), std::max(0, textRight - x + 1), r.height());
    p.setFont(font);
    p.setPen(color);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               FitTextWithEllipsis(QFontMetrics(font), item.Text, text.width()));
}

void TSkinDropDownList::PaintPlain(QImage& bitmap) {
    QPainter p(&bitmap);
    DrawFramedFill(p, LogicalRect(bitmap), clBtnShadow(), clWindow());
    const QRect rows = RowsRect();
    p.setClipRect(rows);
    for (int row = FTop; row < Count() && row < FTop + FRows; ++row)
        PaintRow(p, row, QRect(rows.left(), rows.top() + (row - FTop) * RowHeight(), rows.width(), RowHeight()),
                 nullptr);
}

void TSkinDropDownList::PaintFromSkin(QImage& bitmap) {
    const skin::TDataSkinListBox* list = ListDescription();
    if (!list || !Picture()) {
        PaintPlain(bitmap);
        return;
    }
    TSkinCustomControl::PaintFromSkin(bitmap);
    QPainter p(&bitmap);
    const QRect rows = RowsRect();
    p.setClipRect(rows);
    for (int row = FTop; row < Count() && row < FTop + FRows; ++row)
        PaintRow(p, row, QRect(rows.left(), rows.top() + (row - FTop) * RowHeight(), rows.width(), RowHeight()),
                 list);
}

void TSkinDropDownList::mouseMoveEvent(QMouseEvent* event) {
    const int row = RowAt(event->position().toPoint());
    if (row != FHot) {
        FHot = row;
        update();
    }
}

void TSkinDropDownList::MouseLeave() {
    TSkinCustomControl::MouseLeave();
    FHot = -1;
    update();
}

void TSkinDropDownList::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int row = RowAt(event->position().toPoint());
    if (row >= 0 && OnChoose) OnChoose(row);
}

void TSkinDropDownList::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
            SetCurrentRow(std::max(0, FCurrent - 1));
            return;
        case Qt::Key_Down:
            SetCurrentRow(FCurrent + 1);
            return;
        case Qt::Key_PageUp:
            SetCurrentRow(std::max(0, FCurrent - FRows));
            return;
        case Qt::Key_PageDown:
            SetCurrentRow(FCurrent + FRows);
            return;
        case Qt::Key_Home:
            SetCurrentRow(0);
            return;
        case Qt::Key_End:
            SetCurrentRow(Count() - 1);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (FCurrent >= 0 && OnChoose) OnChoose(FCurrent);
            return;
        case Qt::Key_Escape:
            close();
            return;
        default:
            TSkinCustomControl::keyPressEvent(event);
    }
}

void TSkinDropDownList::wheelEvent(QWheelEvent* event) {
    // Three rows a notch.
    SetTop(FTop - event->angleDelta().y() / 120 * 3);
}

}  // namespace dorvanel::skinctrls
