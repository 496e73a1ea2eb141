#include "skinctrls/skin_panel.h"

#include <QMouseEvent>
#include <QPainter>

namespace dorvanel::skinctrls {

void DrawPlainBorder(QPainter& p, const QRect& r, TSkinBorderStyle style) {
    if (r.isEmpty() || style == TSkinBorderStyle::bvNone) return;
    const int x1 = r.left(), y1 = r.top(), x2 = r.right(), y2 = r.bottom();
    auto edges = [&](const QColor& topLeft, const QColor& bottomRight) {
        p.fillRect(QRect(x1, y1, r.width(), 1), topLeft);
        p.fillRect(QRect(x1, y1, 1, r.height()), topLeft);
        p.fillRect(QRect(x1, y2, r.width(), 1), bottomRight);
        p.fillRect(QRect(x2, y1, 1, r.height()), bottomRight);
    };
    switch (style) {
        case TSkinBorderStyle::bvFrame:
            edges(clBtnShadow(), clBtnShadow());
            break;
        case TSkinBorderStyle::bvRaised:
            edges(clBtnHighlight(), clBtnShadow());
            break;
        case TSkinBorderStyle::bvLowered:
            edges(clBtnShadow(), clBtnHighlight());
            break;
        case TSkinBorderStyle::bvNone:
            break;
    }
}

TSkinPanel::TSkinPanel(QWidget* parent) : TSkinCustomControl(parent) {
    FSkinDataName = QStringLiteral("panel");
    resize(150, 150);
    UpdateClientArea();
}

void TSkinPanel::RefreshSkinDescription() {
    TSkinCustomControl::RefreshSkinDescription();
    UpdateClientArea();
}

QRect TSkinPanel::ClientArea() const {
    if (DescriptionIndex() != -1) {
        auto* panel = dynamic_cast<const skin::TDataSkinPanelControl*>(Description());
        if ((panel && panel->bgpictureindex != -1) ||
            (FBorderStyle == TSkinBorderStyle::bvNone && SliceMode() == 1 && !FCaptionMode))
            return rect();
        return FittedClientRect();
    }
    QRect r = rect();
    if (FBorderStyle != TSkinBorderStyle::bvNone) r.adjust(1, 1, -1, -1);
    if (FCaptionMode) r.setTop(FDefaultCaptionHeight + 1);
    return r;
}

void TSkinPanel::UpdateClientArea() {
    const QRect client = ClientArea();
    const QMargins margins(client.left(), client.top(), width() - client.right() - 1, height() - client.bottom() - 1);
    if (margins != contentsMargins()) {
        setContentsMargins(margins);
        platform::AlignControls(this);
    }
}

void TSkinPanel::BoundsChanged() {
    UpdateClientArea();
    TSkinCustomControl::BoundsChanged();
}

void TSkinPanel::ApplySkin() {
    TSkinCustomControl::ApplySkin();
    UpdateClientArea();
}

void TSkinPanel::PaintPlain(QImage& bitmap) {
    QPainter p(&bitmap);
    p.fillRect(LogicalRect(bitmap), clBtnFace());
    DrawPlainBorder(p, LogicalRect(bitmap), FBorderStyle);
    if (!FCaptionMode) return;
    // The caption bar, framed twice, with its check box and caption.
    const QRect bar(1, 1, width() - 2, FDefaultCaptionHeight);
    DrawFramedFill(p, bar, clBtnShadow(), clBtnFace());
    DrawPlainBorder(p, bar.adjusted(1, 1, -1, -1), TSkinBorderStyle::bvRaised);
    QRect text = bar.adjusted(2, 0, -2, 0);
    if (FCheckedMode) {
        const QRect box(5, bar.top() + bar.height() / 2 - 7, 14, 14);
        DrawFramedFill(p, box, clBtnShadow(), clWindow());
        if (FChecked) {
            p.setPen(QPen(clWindowText(), 2));
            p.drawLine(box.left() + 3, box.top() + 7, box.left() + 6, box.top() + 10);
            p.drawLine(box.left() + 6, box.top() + 10, box.left() + 11, box.top() + 3);
        }
        text.setLeft(box.right() + 4);
    }
    p.setFont(FDefaultFont);
    p.setPen(isEnabled() ? FDefaultFontColor : clBtnShadow());
    Qt::Alignment align = Qt::AlignLeft;
    if (FDefaultAlignment == skin::TAlignment::taRightJustify) align = Qt::AlignRight;
    if (FDefaultAlignment == skin::TAlignment::taCenter) align = Qt::AlignHCenter;
    p.drawText(text, align | Qt::AlignVCenter | Qt::TextSingleLine, Caption());
}

const skin::TDataSkinPanelControl* TSkinPanel::PanelDescription() const {
    return DescriptionIndex() != -1 ? dynamic_cast<const skin::TDataSkinPanelControl*>(Description()) : nullptr;
}

void TSkinPanel::PaintFromSkin(QImage& bitmap) {
    const skin::TDataSkinPanelControl* panel = PanelDescription();
    QPainter p(&bitmap);
    if (panel && panel->bgpictureindex != -1) {
        // A background picture is tiled over the whole panel from its top-left corner.
        if (const QImage* background = SkinData()->Picture(panel->bgpictureindex))
            skin::TileImage(p, *background, background->rect(), LogicalRect(bitmap));
        return;
    }
    if (FBorderStyle == TSkinBorderStyle::bvNone && SliceMode() == 1 && !FCaptionMode) {
        // A borderless panel is a flat texture: the inner area of its image, tiled.
        if (Picture()) {
            const skin::TRect& c = Geometry().ClientRect;
            const skin::TRect& r = Geometry().SkinRect;
            skin::TileImage(p, *Picture(), QRect(r.Left + c.Left, r.Top + c.Top, c.Width(), c.Height()),
                            LogicalRect(bitmap));
        }
        return;
    }
    DrawSkinImage(p, Geometry().SkinRect);
    if (!panel || Caption().isEmpty() || panel->captionrect.IsEmpty()) return;
    const QRect r = TranslateSkinRect(Geometry(), SliceMode(), size(), panel->captionrect).ToQRect();
    const QFont font = CaptionFont(panel);
    const TShapedTextCache::TShapedText& shaped = FShapedText.Get(font, Caption());
    QRect text = r;
    if (FCheckedMode) {
        const skin::TRect image = FChecked ? panel->checkimagerect : panel->uncheckimagerect;
        if (!image.IsEmpty() && Picture()) {
            DrawPicture(p, QPoint(r.left(), r.top() + Div(r.height(), 2) - Div(image.Height(), 2)), *Picture(),
                        image.ToQRect());
            text.setLeft(text.left() + image.Width() + 2);
        }
    }
    int x = text.left();
    if (panel->alignment == skin::TAlignment::taRightJustify) x = text.left() + text.width() - shaped.Width;
    if (panel->alignment == skin::TAlignment::taCenter) x = text.left() + Div(text.width(), 2) - Div(shaped.Width, 2);
    p.setClipRect(text);
    p.setPen(skin::SkinColor(panel->fontcolor));
    FShapedText.Draw(p, x, text.top() + Div(text.height(), 2) - Div(shaped.Height, 2), font, Caption());
}

void TSkinPanel::SetBorderStyle(TSkinBorderStyle style) {
    FBorderStyle = style;
    UpdateClientArea();
    update();
}

void TSkinPanel::SetCaptionMode(bool on) {
    FCaptionMode = on;
    UpdateClientArea();
    update();
}

void TSkinPanel::SetDefaultCaptionHeight(int height) {
    FDefaultCaptionHeight = height;
    UpdateClientArea();
    update();
}

void TSkinPanel::SetDefaultAlignment(skin::TAlignment alignment) {
    FDefaultAlignment = alignment;
    update();
}

void TSkinPanel::SetCheckedMode(bool on) {
    FCheckedMode = on;
    update();
}

void TSkinPanel::SetChecked(bool on) {
    FChecked = on;
    update();
    if (FAutoEnabledControls && FCheckedMode)
        for (QObject* child : children())
            if (auto* w = qobject_cast<QWidget*>(child)) w->setEnabled(on);
    if (OnChecked) OnChecked();
}

void TSkinPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && FCheckedMode && FCaptionMode && DescriptionIndex() == -1 &&
        QRect(QPoint(1, 1), QPoint(width() - 1, FDefaultCaptionHeight)).contains(event->position().toPoint()))
        SetChecked(!FChecked);
    TSkinCustomControl::mouseReleaseEvent(event);
}

TSkinStatusBar::TSkinStatusBar(QWidget* parent) : TSkinPanel(parent) {
    FSkinDataName = QStringLiteral("statusbar");
    SetBorderStyle(TSkinBorderStyle::bvNone);
    resize(width(), 21);
    SetAlign(platform::TAlign::alBottom);
}

void TSkinStatusBar::SetSkinData(skin::TSkinData* skinData) {
    TSkinPanel::SetSkinData(skinData);
    SetSkinDataOfChildren(this, skinData);
}

void SetSkinDataOfChildren(QWidget* parent, skin::TSkinData* data) {
    // Depth first, so that a container has its skin (and its client area) before its children fit to it.
    for (QWidget* child : parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (auto* client = dynamic_cast<TSkinClient*>(child)) client->SetSkinData(data);
        SetSkinDataOfChildren(child, data);
    }
}

}  // namespace dorvanel::skinctrls
