#include "skinctrls/skin_checkbox.h"

#include "skinctrls/skin_accessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace dorvanel::skinctrls {

TSkinCheckRadioBox::TSkinCheckRadioBox(QWidget* parent) : TSkinCustomControl(parent) {
    FSkinDataName = QStringLiteral("checkbox");
    // Flat: the box shows what lies behind it.
    SetTransparentPaint(true);
    // Tab reaches a box; the arrows then move between the boxes that stand together.
    setFocusPolicy(Qt::StrongFocus);
    resize(150, 25);
}

QRect TSkinCheckRadioBox::BoxRect() const { return QRect(3, Div(height(), 2) - 7, 14, 14); }

void TSkinCheckRadioBox::PaintPlain(QImage& bitmap) {
    QPainter p(&bitmap);
    const QRect box = BoxRect();
    DrawFramedFill(p, box, FHot ? clPlainNavy : clBtnShadow(), clWindow());
    const QColor mark = isEnabled() ? QColor(Qt::black) : clBtnShadow();
    if (FChecked) {
        if (FRadio) {
            p.fillRect(QRect(box.left() + 4, box.top() + 4, 6, 6), mark);
        } else {
            // Three strokes, each one pixel lower: a thick tick.
            p.setPen(mark);
            for (int i = 0; i < 3; ++i) {
                p.drawLine(box.left() + 3, box.top() + 5 + i, box.left() + 5, box.top() + 7 + i);
                p.drawLine(box.left() + 5, box.top() + 7 + i, box.left() + 10, box.top() + 2 + i);
            }
        }
    }
    PaintCaption(p, CaptionLeft, FDefaultFont, isEnabled() ? FDefaultFontColor : clGrayText(), box);
}

skin::TRect CheckImageRect(const skin::TDataSkinCheckRadioControl& box, bool checked, bool enabled, bool hot) {
    const skin::TRect& normal = checked ? box.checkimagerect : box.uncheckimagerect;
    if (!enabled) {
        const skin::TRect& r = checked ? box.unenabledcheckimagerect : box.unenableduncheckimagerect;
        return r.IsEmpty() ? normal : r;
    }
    if (hot) {
        const skin::TRect& r = checked ? box.activecheckimagerect : box.activeuncheckimagerect;
        return r.IsEmpty() ? normal : r;
    }
    return normal;
}

void TSkinCheckRadioBox::PaintFromSkin(QImage& bitmap) {
    auto* box = dynamic_cast<const skin::TDataSkinCheckRadioControl*>(Description());
    if (!box || !Picture()) {
        PaintPlain(bitmap);
        return;
    }
    QPainter p(&bitmap);
    const skin::TRect image = skin::HeldToPicture(CheckImageRect(*box, FChecked, isEnabled(), FHot), Picture());
    const QRect imageAt(3, Div(height(), 2) - Div(image.Height(), 2), image.Width(), image.Height());
    DrawTransparentPiece(p, imageAt.topLeft(), *Picture(), image.ToQRect());
    PaintCaption(p, image.Width() + 7, CaptionFont(box),
                 skin::SkinColor(isEnabled() ? box->framefontcolor : box->unenabledfontcolor), imageAt);
}

void TSkinCheckRadioBox::PaintCaption(QPainter& p, int left, const QFont& font, const QColor& color, const QRect& box) {
    const QString caption = Caption();
    if (caption.isEmpty()) {
        if (hasFocus()) {
            p.setPen(QPen(clWindowText(), 1, Qt::DotLine));
            p.drawRect(box.adjusted(-2, -1, 1, 0));
        }
        return;
    }
    p.setFont(font);
    const QFontMetrics fm(font);
    const QSize text = fm.size(Qt::TextShowMnemonic | Qt::TextSingleLine, caption);
    const QRect textRect(left, Div(height(), 2) - Div(text.height(), 2), text.width(), text.height());
    p.save();
    p.setClipRect(QRect(0, 0, width() - 2, height()));
    p.setPen(color);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, caption);
    p.restore();
    if (hasFocus()) {
        p.setPen(QPen(clWindowText(), 1, Qt::DotLine));
        p.drawRect(textRect.adjusted(-2, -1, 2 + 1, 1).adjusted(0, 0, -1, -1));
    }
}

void TSkinCheckRadioBox::Toggle() {
    if (!FRadio) SetChecked(!FChecked);
    else if (!FChecked) SetChecked(true);
}

void TSkinCheckRadioBox::SetChecked(bool on) {
    if (FChecked == on) return;
    FChecked = on;
    update();
    AnnounceChecked(this);
    if (on && FGroupIndex != 0 && parentWidget())
        for (QObject* child : parentWidget()->children()) {
            auto* sibling = qobject_cast<TSkinCheckRadioBox*>(child);
            if (sibling && sibling != this && sibling->FGroupIndex == FGroupIndex) sibling->SetChecked(false);
        }
    if ((!FRadio || on) && OnClick) OnClick();
}

void TSkinCheckRadioBox::SetRadio(bool on) {
    FRadio = on;
    update();
}

void TSkinCheckRadioBox::SetFlat(bool on) {
    FFlat = on;
    SetTransparentPaint(on);
    ApplyWindowShape();
    update();
}

void TSkinCheckRadioBox::ApplyWindowShape() {
    if (!FFlat) {
        TSkinCustomControl::ApplyWindowShape();
        return;
    }
    if (!mask().isEmpty()) clearMask();
}

void TSkinCheckRadioBox::SetCanFocused(bool on) {
    FCanFocused = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

void TSkinCheckRadioBox::CaptionChanged() {
    FMnemonicId = GrabMnemonic(this, FMnemonicId, Caption());
    update();
}

bool TSkinCheckRadioBox::event(QEvent* e) {
    if (IsShortcut(e, FMnemonicId)) {
        if (FCanFocused) setFocus(Qt::ShortcutFocusReason);
        Toggle();
        return true;
    }
    return TSkinCustomControl::event(e);
}

void TSkinCheckRadioBox::MouseEnter() {
    FHot = true;
    update();
    TSkinCustomControl::MouseEnter();
}

void TSkinCheckRadioBox::MouseLeave() {
    FHot = false;
    update();
    TSkinCustomControl::MouseLeave();
}

void TSkinCheckRadioBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (FCanFocused && !hasFocus()) setFocus(Qt::MouseFocusReason);
    FPressed = true;
    FHot = true;
    update();
}

void TSkinCheckRadioBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !FPressed) return;
    FPressed = false;
    // The mouse may have left while the button was held: only a release over the box toggles it.
    FHot = rect().contains(event->position().toPoint());
    if (FHot) Toggle();
    update();
}

void TSkinCheckRadioBox::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1 : key == Qt::Key_Up || key == Qt::Key_Left ? -1 : 0;
    if (!step || !parentWidget()) {
        TSkinCustomControl::keyPressEvent(event);
        return;
    }
    // The boxes of one group in the order they stand, top to bottom, left to right; the arrows wrap.
    std::vector<TSkinCheckRadioBox*> group;
    for (auto* box : parentWidget()->findChildren<TSkinCheckRadioBox*>(Qt::FindDirectChildrenOnly))
        if (box == this || (box->isVisible() && box->isEnabled() && box->focusPolicy() != Qt::NoFocus))
            group.push_back(box);
    std::sort(group.begin(), group.end(), [](const QWidget* a, const QWidget* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    const auto at = std::find(group.begin(), group.end(), this) - group.begin();
    const auto count = static_cast<std::ptrdiff_t>(group.size());
    group[std::size_t((at + step + count) % count)]->setFocus(Qt::TabFocusReason);
}

void TSkinCheckRadioBox::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && hasFocus() && !event->isAutoRepeat()) {
        Toggle();
        return;
    }
    TSkinCustomControl::keyReleaseEvent(event);
}

void TSkinCheckRadioBox::focusInEvent(QFocusEvent* event) {
    update();
    TSkinCustomControl::focusInEvent(event);
}

void TSkinCheckRadioBox::focusOutEvent(QFocusEvent* event) {
    update();
    TSkinCustomControl::focusOutEvent(event);
}

}  // namespace dorvanel::skinctrls
