#include "skinctrls/skin_edit.h"

#include "skinctrls/skin_accessible.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>

namespace dorvanel::skinctrls {

TSkinEdit::TSkinEdit(QWidget* parent)
    : QWidget(parent), FEdit(new QLineEdit(this)), FDefaultFont(StandardDefaultFont()), FDefaultFontColor(Qt::black) {
    FSkinDataName = QStringLiteral("edit");
    EnsureSkinAccessibility();
    setAttribute(Qt::WA_OpaquePaintEvent);
    FEdit->setFrame(false);
    FEdit->setAutoFillBackground(false);
    FEdit->setTextMargins(0, 0, 0, 0);
    FEdit->setContentsMargins(0, 0, 0, 0);
    FEdit->installEventFilter(this);
    setFocusProxy(FEdit);
    setFocusPolicy(Qt::StrongFocus);
    connect(FEdit, &QLineEdit::textChanged, this, [this] {
        if (OnChange) OnChange();
    });
    resize(121, 20);
    UpdateTextLook();
}

QString TSkinEdit::Text() const { return FEdit->text(); }

void TSkinEdit::SetText(const QString& text) { FEdit->setText(text); }

void TSkinEdit::SetSkinData(skin::TSkinData* skinData) {
    FSkinData = skinData;
    ApplySkin();
}

void TSkinEdit::RefreshSkinDescription() { LookUpDescription(); }

QSize TSkinEdit::FittedSize(QSize proposed) const {
    auto* edit = dynamic_cast<const skin::TDataSkinEditControl*>(Description());
    if (!edit) return proposed;
    // With a description the height is the skin's (21 with the program's skin), whatever the form says.
    if (FUseSkinFont) return {proposed.width(), edit->skinrect.Height()};
    const int margins = edit->clientrect.Top + (edit->skinrect.Height() - edit->clientrect.Bottom);
    return {proposed.width(), QFontMetrics(FDefaultFont).height() + margins};
}

void TSkinEdit::ApplySkin() {
    RefreshSkinDescription();
    QSize wanted = FittedSize(size());
    if (!Description()) {
        if (FDefaultWidth > 0) wanted.setWidth(FDefaultWidth);
        if (FDefaultHeight > 0) wanted.setHeight(FDefaultHeight);
    }
    UpdateTextLook();
    if (wanted != size()) SetBounds(x(), y(), wanted.width(), wanted.height());
    update();
}

void TSkinEdit::SetBounds(int left, int top, int width, int height) {
    RefreshSkinDescription();
    setGeometry(QRect(QPoint(left, top), skin::CapPaintSize(FittedSize(QSize(width, height)))));
    // A hidden widget hears of its new size only when shown: place the line edit now.
    FEdit->setGeometry(EditArea());
    platform::BoundsSet(this);
}

QRect TSkinEdit::EditArea() const {
    if (auto* edit = dynamic_cast<const skin::TDataSkinEditControl*>(Description())) {
        const skin::TRect& c = edit->clientrect;
        return QRect(QPoint(c.Left, c.Top), QPoint(width() - (edit->skinrect.Width() - c.Right) - 1,
                                                   height() - (edit->skinrect.Height() - c.Bottom) - 1));
    }
    const int right = FButtonMode ? height() + 2 : 2;
    return QRect(QPoint(2, 2), QPoint(width() - right - 1, height() - 3));
}

QRect TSkinEdit::ButtonRect() const {
    if (!FButtonMode) return {};
    if (auto* edit = dynamic_cast<const skin::TDataSkinEditControl*>(Description()))
        return QRect(width() - edit->buttonrect.Width(), 0, edit->buttonrect.Width(), height());
    return QRect(width() - height(), 0, height(), height());
}

void TSkinEdit::SetButtonMode(bool on) {
    FButtonMode = on;
    FEdit->setGeometry(EditArea());
    update();
}

void TSkinEdit::SetAlignment(skin::TAlignment alignment) {
    FAlignment = alignment;
    UpdateTextLook();
}

void TSkinEdit::SetDefaultFont(const QFont& font) {
    FDefaultFont = font;
    UpdateTextLook();
}

void TSkinEdit::SetDefaultFontColor(const QColor& color) {
    FDefaultFontColor = color;
    UpdateTextLook();
}

void TSkinEdit::UpdateTextLook() {
    auto* edit = dynamic_cast<const skin::TDataSkinEditControl*>(Description());
    FEdit->setFont(edit && FUseSkinFont ? edit->Font() : FDefaultFont);
    QColor text = FDefaultFontColor, background = clWindow();
    if (edit) {
        // The frame image shows through behind the text.
        background = Qt::transparent;
        const bool active = FHot || FEdit->hasFocus();
        text = skin::SkinColor(!isEnabled() ? edit->disabledfontcolor
                                            : (active ? edit->activefontcolor : edit->fontcolor));
    } else if (!isEnabled()) {
        text = clGrayText();
    }
    QPalette palette = FEdit->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::Base, background);
    }
    FEdit->setPalette(palette);
    Qt::Alignment align = Qt::AlignLeft;
    if (FAlignment == skin::TAlignment::taRightJustify) align = Qt::AlignRight;
    if (FAlignment == skin::TAlignment::taCenter) align = Qt::AlignHCenter;
    FEdit->setAlignment(align | Qt::AlignVCenter);
}

void TSkinEdit::PaintPlain(QImage& bitmap) {
    QPainter p(&bitmap);
    p.fillRect(LogicalRect(bitmap), clWindow());
    const QRect r = LogicalRect(bitmap);
    DrawFramedFill(p, r, clBtnShadow(), clBtnFace());
    p.fillRect(r.adjusted(2, 2, -2, -2), clWindow());
    if (FButtonMode) {
        const QRect button = ButtonRect().adjusted(1, 1, -1, -1);
        DrawStateFill(p, button, FHot && button.contains(mapFromGlobal(QCursor::pos())), FButtonPressed);
        p.setPen(isEnabled() ? FDefaultFontColor : clGrayText());
        p.drawText(button, Qt::AlignCenter, QStringLiteral("..."));
    }
}

void TSkinEdit::PaintFromSkin(QImage& bitmap, const skin::TDataSkinEditControl& edit) {
    QPainter p(&bitmap);
    p.fillRect(LogicalRect(bitmap), clWindow());
    TSkinLook look = LookOf(FSkinData, &edit);
    if (!look.Picture) return;
    // The frame is a horizontal three-part image of the active or normal rectangle; its inner part is the
    // background the text is written on.
    const bool active = FHot || FEdit->hasFocus();
    const skin::TRect source = active && !edit.activeskinrect.IsEmpty() ? edit.activeskinrect : edit.skinrect;
    look.Geometry.LBPoint = look.Geometry.RBPoint = {};
    const int skinHeight = look.Geometry.SkinRect.Height();
    if (height() == skinHeight) {
        skin::DrawSkinImage(p, {0, 0}, look.Picture, source, look.Geometry, 2, size());
    } else {
        // Built at the skin height and stretched to the box's height.
        QImage frame;
        skin::BuildSkinImage(frame, look.Picture, source, look.Geometry, 2, QSize(width(), skinHeight), true, {},
                             bitmap.devicePixelRatio());
        if (!frame.isNull()) p.drawImage(LogicalRect(bitmap), frame);
    }
    if (!FButtonMode) return;
    const skin::TRect activeButton = edit.activebuttonrect.IsEmpty() ? edit.buttonrect : edit.activebuttonrect;
    const skin::TRect downButton = edit.downbuttonrect.IsEmpty() ? activeButton : edit.downbuttonrect;
    const bool buttonHot = FHot && ButtonRect().contains(mapFromGlobal(QCursor::pos()));
    skin::TRect button = edit.buttonrect;
    if (!isEnabled() && !edit.unenabledbuttonrect.IsEmpty()) button = edit.unenabledbuttonrect;
    else if (FButtonPressed && buttonHot) button = downButton;
    else if (buttonHot) button = activeButton;
    button = skin::HeldToPicture(button, look.Picture);
    if (!button.IsEmpty())
        DrawPicture(p, QRect(ButtonRect().topLeft(), QSize(button.Width(), height())), *look.Picture, button.ToQRect());
}

QImage TSkinEdit::RenderImage() {
    RefreshSkinDescription();
    QImage bitmap = DeviceImage(size(), devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    if (bitmap.isNull()) return {};
    if (auto* edit = dynamic_cast<const skin::TDataSkinEditControl*>(Description())) PaintFromSkin(bitmap, *edit);
    else PaintPlain(bitmap);
    return bitmap;
}

void TSkinEdit::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0) return;
    const QImage bitmap = RenderImage();
    if (bitmap.isNull()) return;
    QPainter p(this);
    p.drawImage(0, 0, bitmap);
}

void TSkinEdit::resizeEvent(QResizeEvent* event) {
    FEdit->setGeometry(EditArea());
    QWidget::resizeEvent(event);
}

bool TSkinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FEdit) {
        if (event->type() == QEvent::KeyPress && OnKeyDown) {
            auto* key = static_cast<QKeyEvent*>(event);
            int code = key->key();
            OnKeyDown(code, key->modifiers());
            if (code == 0) return true;
        } else if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            UpdateTextLook();
            update();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TSkinEdit::enterEvent(QEnterEvent*) {
    FHot = true;
    UpdateTextLook();
    update();
    if (OnMouseEnter) OnMouseEnter();
}

void TSkinEdit::leaveEvent(QEvent*) {
    FHot = false;
    UpdateTextLook();
    update();
    if (OnMouseLeave) OnMouseLeave();
}

void TSkinEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && ButtonRect().contains(event->position().toPoint())) {
        FButtonPressed = true;
        update();
    }
}

void TSkinEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (!FButtonPressed || event->button() != Qt::LeftButton) return;
    FButtonPressed = false;
    update();
    if (ButtonRect().contains(event->position().toPoint())) {
        FEdit->setFocus(Qt::MouseFocusReason);
        if (OnButtonClick) OnButtonClick();
    }
}

void TSkinEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        UpdateTextLook();
        update();
    }
    QWidget::changeEvent(event);
}

void TSkinEdit::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The typing happens in the inner edit, so that is what a screen reader lands on: it is read by the
    // box's label.
    const QString name = accessibleName().isEmpty() ? LabelOf(this) : accessibleName();
    if (FEdit->accessibleName() != name) FEdit->setAccessibleName(name);
}

}  // namespace dorvanel::skinctrls
