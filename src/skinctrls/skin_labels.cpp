#include "skinctrls/skin_labels.h"

#include "skinctrls/skin_accessible.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

namespace dorvanel::skinctrls {

std::function<void(const QString& url)> TSkinLinkLabel::OpenURL;

TSkinStdLabel::TSkinStdLabel(QWidget* parent)
    : QWidget(parent), FDefaultFont(StandardDefaultFont()), FDefaultFontColor(clWindowText()),
      FLabelFont(StandardDefaultFont()) {
    EnsureSkinAccessibility();
    FSkinDataName = QStringLiteral("stdlabel");
    // Windowless in spirit: nothing is filled, the parent shows through.
    setAttribute(Qt::WA_TranslucentBackground);
    resize(65, 17);
}

void TSkinStdLabel::SetSkinData(skin::TSkinData* skinData) {
    FSkinData = skinData;
    RefreshSkinDescription();
    AdjustBounds();
    update();
}

void TSkinStdLabel::SetSkinDataName(const QString& name) { FSkinDataName = name; }

void TSkinStdLabel::RefreshSkinDescription() { LookUpDescription(); }

void TSkinStdLabel::SetBounds(int left, int top, int width, int height) {
    setGeometry(left, top, std::max(0, width), std::max(0, height));
    platform::BoundsSet(this);
    AdjustBounds();
}

QFont TSkinStdLabel::TextFont() const {
    auto* keys = dynamic_cast<const skin::TSkinFontKeys*>(Description());
    if (keys) return FUseSkinFont ? keys->Font() : FLabelFont;
    return FUseSkinFont ? FDefaultFont : FLabelFont;
}

QColor TSkinStdLabel::TextColor() const {
    if (auto* keys = dynamic_cast<const skin::TSkinFontKeys*>(Description())) return skin::SkinColor(keys->fontcolor);
    return FDefaultFontColor;
}

int TSkinStdLabel::TextFlags() const {
    int flags = Qt::AlignTop | Qt::TextExpandTabs;
    switch (FAlignment) {
        case skin::TAlignment::taLeftJustify:
            flags |= Qt::AlignLeft;
            break;
        case skin::TAlignment::taRightJustify:
            flags |= Qt::AlignRight;
            break;
        case skin::TAlignment::taCenter:
            flags |= Qt::AlignHCenter;
            break;
    }
    if (FWordWrap) flags |= Qt::TextWordWrap;
    flags |= FShowAccelChar ? Qt::TextShowMnemonic : 0;
    return flags;
}

void TSkinStdLabel::AdjustBounds() {
    if (!FAutoSize) return;
    const QFontMetrics fm(TextFont());
    // An empty caption still measures one line.
    const QString text = FCaption.isEmpty() ? QStringLiteral(" ") : FCaption;
    const int wrapWidth = FWordWrap ? std::max(1, width()) : 32767;
    const QRect need = fm.boundingRect(QRect(0, 0, wrapWidth, 32767), TextFlags() & ~Qt::AlignHorizontal_Mask, text);
    const int w = FWordWrap ? width() : need.width();
    // A right-justified label keeps its right edge.
    const int left = FAlignment == skin::TAlignment::taRightJustify ? x() + width() - w : x();
    if (QRect(left, y(), w, need.height()) == geometry()) return;
    setGeometry(left, y(), w, need.height());
    platform::BoundsSet(this);
}

void TSkinStdLabel::paintEvent(QPaintEvent*) {
    RefreshSkinDescription();
    QPainter p(this);
    QFont font = TextFont();
    p.setFont(font);
    const int flags = TextFlags();
    if (!isEnabled()) {
        p.setPen(clBtnHighlight());
        p.drawText(rect().translated(1, 1), flags, FCaption);
        p.setPen(clBtnShadow());
    } else {
        p.setPen(TextColor());
    }
    p.drawText(rect(), flags, FCaption);
}

void TSkinStdLabel::SetCaption(const QString& caption) {
    if (caption == FCaption) return;
    FCaption = caption;
    AdjustBounds();
    update();
    AnnounceCaption(this);
}

void TSkinStdLabel::SetAlignment(skin::TAlignment alignment) {
    FAlignment = alignment;
    update();
}

void TSkinStdLabel::SetAutoSize(bool on) {
    FAutoSize = on;
    AdjustBounds();
}

void TSkinStdLabel::SetWordWrap(bool on) {
    FWordWrap = on;
    AdjustBounds();
    update();
}

void TSkinStdLabel::SetShowAccelChar(bool on) {
    FShowAccelChar = on;
    AdjustBounds();
    update();
}

void TSkinStdLabel::SetDefaultFont(const QFont& font) {
    FDefaultFont = font;
    AdjustBounds();
    update();
}

void TSkinStdLabel::SetDefaultFontColor(const QColor& color) {
    FDefaultFontColor = color;
    update();
}

void TSkinStdLabel::SetUseSkinFont(bool on) {
    FUseSkinFont = on;
    AdjustBounds();
    update();
}

void TSkinStdLabel::SetLabelFont(const QFont& font) {
    FLabelFont = font;
    AdjustBounds();
    update();
}

void TSkinStdLabel::Click() {
    if (OnClick) OnClick();
}

void TSkinStdLabel::enterEvent(QEnterEvent*) {
    FMouseInside = true;
    update();
    if (OnMouseEnter) OnMouseEnter();
}

void TSkinStdLabel::leaveEvent(QEvent*) {
    FMouseInside = false;
    update();
    if (OnMouseLeave) OnMouseLeave();
}

void TSkinStdLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) FPressed = true;
}

void TSkinStdLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !FPressed) return;
    FPressed = false;
    if (rect().contains(event->position().toPoint())) Click();
}

void TSkinStdLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) update();
    QWidget::changeEvent(event);
}

TSkinLinkLabel::TSkinLinkLabel(QWidget* parent) : TSkinStdLabel(parent) {
    FDefaultFont.setUnderline(true);
    setCursor(Qt::PointingHandCursor);
}

QFont TSkinLinkLabel::TextFont() const {
    QFont font = TSkinStdLabel::TextFont();
    font.setUnderline(true);
    return font;
}

QColor TSkinLinkLabel::TextColor() const {
    if (!MouseInside()) return TSkinStdLabel::TextColor();
    if (auto* label = dynamic_cast<const skin::TDataSkinStdLabelControl*>(Description()))
        return skin::SkinColor(label->activefontcolor);
    return FDefaultActiveFontColor;
}

void TSkinLinkLabel::SetDefaultActiveFontColor(const QColor& color) {
    FDefaultActiveFontColor = color;
    update();
}

void TSkinLinkLabel::Click() {
    TSkinStdLabel::Click();
    // The URL goes to the browser as it stands, an empty one included.
    if (OpenURL) OpenURL(FURL);
}

}  // namespace dorvanel::skinctrls
