#include "skinctrls/skin_button.h"

#include "skin/effect_bmp.h"
#include "skinctrls/skin_form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace dorvanel::skinctrls {

TGlyphCaptionPlace LayoutGlyphAndCaption(const QRect& area, QSize glyph, QSize caption, int spacing, int margin,
                                         TButtonLayout layout) {
    const int gw = glyph.width(), gh = glyph.height(), tw = caption.width(), th = caption.height();
    const int sp = spacing, m = margin;
    const int cx = area.left() + Div(area.width(), 2), cy = area.top() + Div(area.height(), 2);
    TGlyphCaptionPlace out;
    if (m == -1) {
        switch (layout) {
            case TButtonLayout::blGlyphLeft:
                out.Glyph = {cx - Div(gw + tw + sp, 2), cy - Div(gh, 2)};
                out.Caption = {cx + Div(gw + tw + sp, 2) - tw, cy - Div(th, 2)};
                break;
            case TButtonLayout::blGlyphRight:
                out.Glyph = {cx + Div(gw + tw + sp, 2) - gw, cy - Div(gh, 2)};
                out.Caption = {cx - Div(gw + tw + sp, 2), cy - Div(th, 2)};
                break;
            case TButtonLayout::blGlyphTop:
                out.Glyph = {cx - Div(gw, 2), cy - Div(th + gh + sp, 2)};
                out.Caption = {cx - Div(tw, 2), cy + Div(th + gh + sp, 2) - th};
                break;
            case TButtonLayout::blGlyphBottom:
                out.Glyph = {cx - Div(gw, 2), cy + Div(th + gh + sp, 2) - gh};
                out.Caption = {cx - Div(tw, 2), cy - Div(th + gh + sp, 2)};
                break;
        }
        return out;
    }
    const int right = area.left() + area.width(), bottom = area.top() + area.height();
    switch (layout) {
        case TButtonLayout::blGlyphLeft:
            out.Glyph = {area.left() + m, cy - Div(gh, 2)};
            out.Caption = {area.left() + m + gw + sp, cy - Div(th, 2)};
            break;
        case TButtonLayout::blGlyphRight:
            out.Glyph = {right - gw - m, cy - Div(gh, 2)};
            out.Caption = {out.Glyph.x() - sp - tw, cy - Div(th, 2)};
            break;
        case TButtonLayout::blGlyphTop:
            out.Glyph = {cx - Div(gw, 2), area.top() + m};
            out.Caption = {cx - Div(tw, 2), out.Glyph.y() + gh + sp};
            break;
        case TButtonLayout::blGlyphBottom:
            out.Glyph = {cx - Div(gw, 2), bottom - gh - m};
            out.Caption = {cx - Div(tw, 2), out.Glyph.y() - sp - th};
            break;
    }
    return out;
}

TSkinButton::TSkinButton(QWidget* parent) : TSkinCustomControl(parent), FBlend([this] { update(); }) {
    FSkinDataName = QStringLiteral("button");
    setFocusPolicy(Qt::StrongFocus);
    resize(75, 25);
}

TSkinButton::~TSkinButton() = default;

bool TSkinButton::IsActiveDefault() const {
    if (hasFocus()) return true;
    if (!FDefault) return false;
    QWidget* focused = QApplication::focusWidget();
    return !(focused && focused->window() == window() && qobject_cast<TSkinButton*>(focused));
}

bool TSkinButton::DrawnDown() const {
    if (!FDown) return false;
    return FGroupIndex != 0 || FHot || (hasFocus() && !FPressed);
}

void TSkinButton::PaintPlain(QImage& bitmap) {
    const bool down = DrawnDown();
    const bool active = FHot || (FCanFocused && hasFocus());
    {
        QPainter p(&bitmap);
        DrawStateFill(p, LogicalRect(bitmap), active, down);
    }
    PaintButtonImage(bitmap, LogicalRect(bitmap), active, down);
}

const skin::TDataSkinButtonControl* TSkinButton::ButtonDescription() const {
    return dynamic_cast<const skin::TDataSkinButtonControl*>(Description());
}

TSkinButton::TStateImage TSkinButton::ChooseStateImage() const {
    const skin::TDataSkinButtonControl* b = ButtonDescription();
    const skin::TRect active = b->activeskinrect.IsEmpty() ? b->skinrect : b->activeskinrect;
    const skin::TRect down = b->downskinrect.IsEmpty() ? active : b->downskinrect;
    if (!isEnabled() && !b->disabledskinrect.IsEmpty()) return {b->disabledskinrect, false, false};
    if (FDown && (FGroupIndex != 0 || FHot || (hasFocus() && !FPressed))) return {down, true, true};
    if (FCanFocused && hasFocus()) return {active, true, false};
    if (FHot) return {active, true, false};
    if (b->morphing && FBlend.Position() >= 1.0) return {active, true, false};
    return {b->skinrect, false, false};
}

void TSkinButton::PaintFromSkin(QImage& bitmap) {
    const skin::TDataSkinButtonControl* b = ButtonDescription();
    if (!b) {
        PaintPlain(bitmap);
        return;
    }
    if (isEnabled() && b->morphing && FBlend.InProgress()) {
        // Both state images, each with its caption, blended into the canvas.
        const skin::TRect active = b->activeskinrect.IsEmpty() ? b->skinrect : b->activeskinrect;
        for (QImage* image : {&FBlendNormal, &FBlendActive})
            if (image->size() != bitmap.size() || image->devicePixelRatio() != bitmap.devicePixelRatio())
                *image = DeviceImage(LogicalSize(bitmap), bitmap.devicePixelRatio(), QImage::Format_RGB32);
        FBlendNormal.fill(clBtnFace());
        FBlendActive.fill(clBtnFace());
        PaintButtonImage(FBlendNormal, b->skinrect.ToQRect(), false, false);
        PaintButtonImage(FBlendActive, active.ToQRect(), true, false);
        QImage blended = skin::BlendStates(FBlendNormal, FBlendActive, b->morphkind, FBlend.Position());
        blended.setDevicePixelRatio(bitmap.devicePixelRatio());
        QPainter p(&bitmap);
        p.drawImage(0, 0, blended);
        return;
    }
    const TStateImage state = ChooseStateImage();
    PaintButtonImage(bitmap, state.Rect.ToQRect(), state.Active, state.Down);
}

void TSkinButton::PaintButtonImage(QImage& bitmap, const QRect& stateRect, bool active, bool down) {
    // With a description, the state image comes from stateRect of the skin picture and the caption is laid
    // out in the fitted inner area; the plain look passes the whole control as its state rectangle.
    const skin::TDataSkinButtonControl* b = DescriptionIndex() != -1 ? ButtonDescription() : nullptr;
    QPainter p(&bitmap);
    QRect area = stateRect;
    QColor color = isEnabled() ? FDefaultFontColor : clBtnShadow();
    if (b) {
        DrawSkinImage(p, skin::TRect::FromQRect(stateRect));
        area = FittedClientRect();
        const int c = !isEnabled() ? b->disabledfontcolor
                                   : (active && down ? b->downfontcolor : (active ? b->activefontcolor : b->fontcolor));
        color = skin::SkinColor(c);
    }
    const QFont font = CaptionFont(b);
    p.setFont(font);
    const QString caption = Caption();
    // A caption without an accelerator is laid out once and kept (most captions, painted on every hover).
    const bool plainCaption = !caption.contains(QLatin1Char('&'));
    const TShapedTextCache::TShapedText* shaped =
        plainCaption && !caption.isEmpty() ? &FShapedText.Get(font, caption) : nullptr;
    const QSize text = caption.isEmpty() ? QSize(0, 0)
                       : shaped          ? QSize(shaped->Width, shaped->Height)
                                         : QFontMetrics(font).size(Qt::TextShowMnemonic, caption);
    const int frames = std::max(1, FNumGlyphs);
    const QSize glyph = FGlyph.isNull() ? QSize(0, 0) : QSize(FGlyph.width() / frames, FGlyph.height());
    if (down) area.translate(1, 1);
    const TGlyphCaptionPlace place = LayoutGlyphAndCaption(area, glyph, text, FSpacing, FMargin, FLayout);
    if (!FGlyph.isNull()) {
        int frame = 1;
        if (down && active && FNumGlyphs > 2) frame = 3;
        else if (active && FNumGlyphs > 3) frame = 4;
        else if (isEnabled() || FNumGlyphs < 2) frame = 1;
        else frame = 2;
        DrawGlyphFrame(p, place.Glyph.x(), place.Glyph.y(), frame, frames, FGlyph);
    }
    if (!caption.isEmpty()) {
        p.setPen(color);
        // Drawn centred in its block widened by 2 pixels: one pixel in from the block's left.
        if (shaped) FShapedText.Draw(p, place.Caption.x() + 1, place.Caption.y(), font, caption);
        else
            p.drawText(QRect(place.Caption, QSize(text.width() + 2, text.height())),
                       Qt::AlignCenter | Qt::TextShowMnemonic, caption);
    }
}

void TSkinButton::ForgetSkinDescription() {
    TSkinCustomControl::ForgetSkinDescription();
    FBlend.Snap(FHot || (FCanFocused && hasFocus()));
}

void TSkinButton::UpdateBlend() {
    const skin::TDataSkinButtonControl* b = DescriptionIndex() != -1 ? ButtonDescription() : nullptr;
    FBlend.MoveTo(FHot || (FCanFocused && hasFocus()), b && b->morphing && isEnabled());
}

void TSkinButton::PerformClick() {
    if (FCanFocused)
        if (auto* form = qobject_cast<TSkinForm*>(window())) form->SetModalResult(FModalResult);
    if (OnClick) OnClick();
}

void TSkinButton::SetDefault(bool on) {
    FDefault = on;
    update();
}

void TSkinButton::SetCanFocused(bool on) {
    FCanFocused = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

void TSkinButton::SetDown(bool down) {
    if (FDown == down) return;
    FDown = down;
    // A press shows the down image at once; after it the active image fades back when the mouse has gone.
    FBlend.Snap(true);
    if (!down) UpdateBlend();
    if (FDown && FGroupIndex != 0 && !FAllowAllUp && parentWidget()) {
        for (QObject* child : parentWidget()->children()) {
            auto* sibling = qobject_cast<TSkinButton*>(child);
            if (sibling && sibling != this && sibling->FGroupIndex == FGroupIndex) sibling->SetDown(false);
        }
    }
    update();
}

void TSkinButton::SetGroupIndex(int index) {
    FGroupIndex = index;
    if (index != 0) SetCanFocused(false);
}

void TSkinButton::SetGlyph(const QImage& glyph) {
    FGlyph = glyph;
    update();
}

void TSkinButton::SetNumGlyphs(int n) {
    FNumGlyphs = std::max(1, n);
    update();
}

void TSkinButton::SetMargin(int m) {
    FMargin = m;
    update();
}

void TSkinButton::SetSpacing(int s) {
    FSpacing = s;
    update();
}

void TSkinButton::SetLayout(TButtonLayout layout) {
    FLayout = layout;
    update();
}

void TSkinButton::CaptionChanged() {
    FMnemonicId = GrabMnemonic(this, FMnemonicId, Caption());
    update();
}

bool TSkinButton::event(QEvent* e) {
    if (IsShortcut(e, FMnemonicId)) {
        // The caption's accelerator focuses and clicks the button.
        if (FCanFocused) setFocus(Qt::ShortcutFocusReason);
        PerformClick();
        return true;
    }
    return TSkinCustomControl::event(e);
}

void TSkinButton::StartRepeat() {
    if (!FRepeatTimer) {
        FRepeatTimer = new QTimer(this);
        connect(FRepeatTimer, &QTimer::timeout, this, [this] { PerformClick(); });
    }
    FRepeatTimer->start(FRepeatInterval);
}

void TSkinButton::StopRepeat() {
    if (FRepeatTimer) {
        delete FRepeatTimer;
        FRepeatTimer = nullptr;
    }
}

void TSkinButton::MouseEnter() {
    FHot = true;
    if (FDown && FRepeatMode && FGroupIndex == 0) StartRepeat();
    UpdateBlend();
    update();
    TSkinCustomControl::MouseEnter();
}

void TSkinButton::MouseLeave() {
    // A default button that Enter would press keeps its hot look while the focus is elsewhere.
    if (!(FCanFocused && FDefault && IsActiveDefault() && !hasFocus())) FHot = false;
    StopRepeat();
    UpdateBlend();
    update();
    TSkinCustomControl::MouseLeave();
}

void TSkinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (FCanFocused && !hasFocus()) setFocus(Qt::MouseFocusReason);
    FPressed = true;
    if (!FDown) {
        FHot = true;
        SetDown(true);
        if (FRepeatMode && FGroupIndex == 0) StartRepeat();
        if (FGroupIndex != 0) PerformClick();
    } else if (FGroupIndex != 0) {
        FWasDownAtPress = true;
    }
    update();
}

void TSkinButton::mouseMoveEvent(QMouseEvent* event) {
    if (!FPressed) return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside == FHot) return;
    FHot = inside;
    if (FRepeatMode && FDown && FGroupIndex == 0) {
        if (inside) StartRepeat();
        else StopRepeat();
    }
    update();
}

void TSkinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !FPressed) return;
    FPressed = false;
    FHot = rect().contains(event->position().toPoint());
    if (FGroupIndex == 0) {
        StopRepeat();
        const bool click = FHot && FDown;
        SetDown(false);
        if (click) PerformClick();
    } else if (FDown && FAllowAllUp && FWasDownAtPress && FHot) {
        SetDown(false);
        PerformClick();
    }
    FWasDownAtPress = false;
    UpdateBlend();
    update();
}

void TSkinButton::keyPressEvent(QKeyEvent* event) {
    if (!FCanFocused) {
        event->ignore();
        return;
    }
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) {
            SetDown(true);
            if (FRepeatMode) PerformClick();
        }
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        PerformClick();
        return;
    }
    TSkinCustomControl::keyPressEvent(event);
}

void TSkinButton::keyReleaseEvent(QKeyEvent* event) {
    if (FCanFocused && event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        if (FDown) {
            SetDown(false);
            PerformClick();
        }
        return;
    }
    TSkinCustomControl::keyReleaseEvent(event);
}

void TSkinButton::focusInEvent(QFocusEvent* event) {
    UpdateBlend();
    update();
    TSkinCustomControl::focusInEvent(event);
}

void TSkinButton::focusOutEvent(QFocusEvent* event) {
    StopRepeat();
    if (FGroupIndex == 0 && FDown) SetDown(false);
    UpdateBlend();
    update();
    TSkinCustomControl::focusOutEvent(event);
}

}  // namespace dorvanel::skinctrls
