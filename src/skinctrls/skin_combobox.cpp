#include "skinctrls/skin_combobox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace dorvanel::skinctrls {

namespace {

constexpr int kIconSize = TSkinDropDownList::IconSize;

}  // namespace

TSkinComboBox::TSkinComboBox(QWidget* parent) : TSkinCustomControl(parent) {
    FSkinDataName = QStringLiteral("combobox");
    SetDefaultHeight(21);
    setFocusPolicy(Qt::StrongFocus);
    resize(145, 21);
}

TSkinComboBox::~TSkinComboBox() { CloseUp(); }

const skin::TDataSkinComboBox* TSkinComboBox::ComboDescription() const {
    return DescriptionIndex() != -1 ? dynamic_cast<const skin::TDataSkinComboBox*>(Description()) : nullptr;
}

QRect TSkinComboBox::ButtonRect() const {
    if (const skin::TDataSkinComboBox* combo = ComboDescription())
        return TranslateSkinRect(Geometry(), SliceMode(), size(), combo->buttonrect).ToQRect();
    const int side = std::max(0, height() - 4);
    return QRect(width() - 2 - std::min(17, side), 2, std::min(17, side), side);
}

void TSkinComboBox::PaintPlain(QImage& bitmap) {
    QPainter p(&bitmap);
    const QRect r = LogicalRect(bitmap);
    // A sunken box: shadow on the top and left, highlight on the bottom and right.
    p.fillRect(r, clWindow());
    p.setPen(clBtnShadow());
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(clBtnHighlight());
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    const QRect button = ButtonRect();
    DrawStateFill(p, button, MouseInside(), DroppedDown());
    DrawArrow(p, button, TArrowDirection::Down, isEnabled() ? clBtnText() : clBtnShadow());

    PaintItem(p, QRect(4, 2, button.left() - 6, r.height() - 4), FDefaultFont,
              isEnabled() ? FDefaultFontColor : clGrayText());
}

void TSkinComboBox::PaintFromSkin(QImage& bitmap) {
    const skin::TDataSkinComboBox* combo = ComboDescription();
    if (!combo || !Picture()) {
        PaintPlain(bitmap);
        return;
    }
    QPainter p(&bitmap);
    DrawSkinImage(p, Geometry().SkinRect);
    const skin::TRect active = combo->activebuttonrect.IsEmpty() ? combo->buttonrect : combo->activebuttonrect;
    const skin::TRect down = combo->downbuttonrect.IsEmpty() ? active : combo->downbuttonrect;
    skin::TRect button = combo->buttonrect;
    if (!isEnabled() && !combo->unenabledbuttonrect.IsEmpty()) button = combo->unenabledbuttonrect;
    else if (DroppedDown()) button = down;
    else if (MouseInside()) button = active;
    button = skin::HeldToPicture(button, Picture());
    const QRect at = ButtonRect();
    if (!button.IsEmpty()) DrawPicture(p, at.topLeft(), *Picture(), button.ToQRect());
    QRect text = FittedClientRect();
    text.setRight(std::min(text.right(), at.left() - 2));
    PaintItem(p, text, CaptionFont(combo), skin::SkinColor(combo->fontcolor));
}

void TSkinComboBox::PaintItem(QPainter& p, QRect text, const QFont& font, const QColor& color) {
    if (FItemIndex < 0) return;
    const TComboItem& item = FItems.at(FItemIndex);
    // The box shows the chosen item without its indentation; only the dropped list shows the tree.
    if (!item.Icon.isNull()) {
        item.Icon.paint(&p,
                        QRect(text.left(), text.top() + Div(text.height(), 2) - kIconSize / 2, kIconSize, kIconSize));
        text.setLeft(text.left() + kIconSize + 4);
    }
    const bool focused = hasFocus() && !DroppedDown();
    const QFontMetrics fm(font);
    const QString shown = FitTextWithEllipsis(fm, item.Text, text.width() - 4);
    const QRect mark(text.left() - 2, text.top() + 1, std::min(fm.horizontalAdvance(shown) + 4, text.width()),
                     text.height() - 2);
    if (focused) p.fillRect(mark, palette().highlight());
    p.setFont(font);
    p.setPen(focused ? palette().highlightedText().color() : color);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

void TSkinComboBox::Clear() {
    CloseUp();
    FItems.clear();
    FItemIndex = -1;
    update();
}

void TSkinComboBox::AddItem(const TComboItem& item) { InsertItem(Count(), item); }

void TSkinComboBox::InsertItem(int index, const TComboItem& item) {
    index = std::clamp(index, 0, Count());
    FItems.insert(index, item);
    if (FItemIndex >= index) ++FItemIndex;
    update();
}

void TSkinComboBox::SetItemIndex(int index) {
    FItemIndex = (index >= 0 && index < Count()) ? index : -1;
    update();
}

void TSkinComboBox::ChooseItem(int index) {
    const int before = FItemIndex;
    SetItemIndex(index);
    if (FItemIndex != before && OnChange) OnChange();
}

bool TSkinComboBox::DroppedDown() const { return FList && FList->isVisible(); }

void TSkinComboBox::DropDown() {
    if (DroppedDown() || Count() == 0) return;
    auto* list = new TSkinDropDownList(this);
    const skin::TDataSkinComboBox* combo = ComboDescription();
    if (combo && !combo->listboxname.empty()) list->SetSkinDataName(QString::fromStdString(combo->listboxname));
    list->SetDefaultFont(FDefaultFont);
    list->SetSkinData(SkinData());
    list->SetItems(FItems);
    list->SetCurrentRow(std::max(0, FItemIndex));
    list->OnChoose = [this](int row) {
        CloseUp();
        ChooseItem(row);
    };
    list->installEventFilter(this);
    FList = list;
    list->Open(mapToGlobal(QPoint(0, height())), width(), FDropDownCount);
    update();
}

void TSkinComboBox::CloseUp() {
    if (!FList) return;
    FList->close();
    FList = nullptr;
    update();
}

bool TSkinComboBox::eventFilter(QObject* watched, QEvent* event) {
    // The box shows its button pressed only while the list is open.
    if (watched == FList && event->type() == QEvent::Hide) update();
    return TSkinCustomControl::eventFilter(watched, event);
}

void TSkinComboBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    if (DroppedDown()) CloseUp();
    else DropDown();
}

void TSkinComboBox::keyPressEvent(QKeyEvent* event) {
    const bool alt = event->modifiers() & Qt::AltModifier;
    switch (event->key()) {
        case Qt::Key_F4:
            DropDown();
            return;
        case Qt::Key_Down:
            if (alt) DropDown();
            else ChooseItem(std::min(FItemIndex + 1, Count() - 1));
            return;
        case Qt::Key_Up:
            if (!alt) ChooseItem(std::max(FItemIndex - 1, Count() > 0 ? 0 : -1));
            return;
        case Qt::Key_Home:
            if (Count() > 0) ChooseItem(0);
            return;
        case Qt::Key_End:
            ChooseItem(Count() - 1);
            return;
        default:
            TSkinCustomControl::keyPressEvent(event);
    }
}

void TSkinComboBox::focusInEvent(QFocusEvent* event) {
    TSkinCustomControl::focusInEvent(event);
    update();
}

void TSkinComboBox::focusOutEvent(QFocusEvent* event) {
    TSkinCustomControl::focusOutEvent(event);
    update();
}

void TSkinComboBox::MouseEnter() {
    TSkinCustomControl::MouseEnter();
    update();
}

void TSkinComboBox::MouseLeave() {
    TSkinCustomControl::MouseLeave();
    update();
}

}  // namespace dorvanel::skinctrls
