#include "skinctrls/skin_control.h"

#include "skinctrls/skin_accessible.h"

#include <QEnterEvent>
#include <QKeySequence>
#include <QShortcutEvent>
#include <QPainter>

namespace dorvanel::skinctrls {

QFont StandardDefaultFont() { return skin::SkinFont("Arial", skin::kDefaultFontHeight, {}); }

int GrabMnemonic(QWidget* control, int id, const QString& caption) {
    if (id != 0) control->releaseShortcut(id);
    const QKeySequence key = QKeySequence::mnemonic(caption);
    return key.isEmpty() ? 0 : control->grabShortcut(key);
}

void NotifySkinChange(QWidget* root, int message, skin::TSkinData* sender) {
    if (message != skin::SKIN_MSG_PREPARE && message != skin::SKIN_MSG_APPLY) return;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        auto* client = dynamic_cast<TSkinClient*>(w);
        if (!client || (sender && client->SkinData() != sender)) continue;
        if (message == skin::SKIN_MSG_PREPARE) client->SkinChanging();
        else client->SkinChanged();
    }
}

bool IsShortcut(const QEvent* event, int id) {
    return id != 0 && event->type() == QEvent::Shortcut &&
           static_cast<const QShortcutEvent*>(event)->shortcutId() == id;
}

TSkinLook LookOf(const skin::TSkinData* data, const skin::TDataSkinControl* description) {
    TSkinLook look;
    if (!data || !description) return look;
    look.Geometry.SkinRect = description->skinrect;
    auto* custom = dynamic_cast<const skin::TDataSkinCustomControl*>(description);
    if (!custom) {
        look.SliceMode = 0;
        return look;
    }
    look.Geometry.LTPoint = custom->lefttoppoint;
    look.Geometry.RTPoint = custom->righttoppoint;
    look.Geometry.LBPoint = custom->leftbottompoint;
    look.Geometry.RBPoint = custom->rightbottompoint;
    look.Geometry.ClientRect = custom->clientrect;
    look.Picture = data->Picture(custom->pictureindex);
    look.Mask = data->Picture(custom->maskpictureindex);
    // Every rectangle and point is held to the picture it points into.
    look.Geometry = skin::HeldGeometry(look.Geometry, look.Picture);
    look.SliceMode = SliceModeOf(look.Geometry);
    return look;
}

// ---- TSkinClient ----

void TSkinClient::LookUpDescription() {
    if (!FSkinData || FSkinData->SkinEmpty()) FIndex = -1;
    else FIndex = FSkinData->IndexOfControl(FSkinDataName);
}

skin::TDataSkinControl* TSkinClient::Description() const {
    if (FIndex < 0 || !FSkinData || FSkinData->SkinEmpty()) return nullptr;
    return FSkinData->Control(FIndex);
}

// ---- TSkinControl ----

TSkinControl::TSkinControl(QWidget* parent) : QWidget(parent) {
    EnsureSkinAccessibility();
    // The whole control is drawn from one bitmap: nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TSkinControl::RefreshSkinDescription() { LookUpDescription(); }

void TSkinControl::SetSkinDataName(const QString& name) { FSkinDataName = name; }

void TSkinControl::SetSkinData(skin::TSkinData* skinData) {
    FSkinData = skinData;
    if (FSkinData && !FSkinData->SkinEmpty()) ApplySkin();
}

void TSkinControl::PaintPlain(QImage& bitmap) {
    QPainter p(&bitmap);
    p.fillRect(skin::LogicalRect(bitmap), clBtnFace());
}

// A control without a skin image of its own kind shows its plain look.
void TSkinControl::PaintFromSkin(QImage& bitmap) { PaintPlain(bitmap); }

void TSkinControl::ApplySkin() {
    RefreshSkinDescription();
    update();
}

void TSkinControl::ForgetSkinDescription() { FIndex = -1; }

void TSkinControl::SetBounds(int left, int top, int width, int height) {
    RefreshSkinDescription();
    QSize size = skin::CapPaintSize(QSize(width, height));
    if (size != this->size()) size = AdjustBoundsSize(size);
    const QRect wanted(QPoint(left, top), size);
    const bool changed = wanted != geometry();
    setGeometry(wanted);
    platform::BoundsSet(this);
    if (changed) BoundsChanged();
}

void TSkinControl::SetCaption(const QString& caption) {
    if (caption == FCaption) return;
    FCaption = caption;
    CaptionChanged();
    AnnounceCaption(this);
}

void TSkinControl::SetTransparentPaint(bool on) {
    FTransparentPaint = on;
    setAttribute(Qt::WA_OpaquePaintEvent, !on);
}

void TSkinControl::PaintTo(QImage& bitmap) {
    RefreshSkinDescription();
    if (!skin::PaintSizeAllowed(size())) {
        bitmap = QImage();
        return;
    }
    // The off-screen image has the screen's pixels, so that pictures and text are drawn at its resolution.
    const qreal ratio = devicePixelRatioF();
    if (skin::LogicalSize(bitmap) != size() || bitmap.devicePixelRatio() != ratio ||
        bitmap.format() != QImage::Format_ARGB32_Premultiplied)
        bitmap = skin::DeviceImage(size(), ratio, QImage::Format_ARGB32_Premultiplied);
    if (bitmap.isNull()) return;
    bitmap.fill(FTransparentPaint ? QColor(Qt::transparent) : clBtnFace());
    if (FIndex == -1) PaintPlain(bitmap);
    else PaintFromSkin(bitmap);
}

QImage TSkinControl::RenderImage() {
    QImage bitmap;
    if (width() > 0 && height() > 0) PaintTo(bitmap);
    return bitmap;
}

void TSkinControl::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0) return;
    PaintTo(FPaintBuffer);
    if (FPaintBuffer.isNull()) return;
    QPainter p(this);
    p.drawImage(0, 0, FPaintBuffer);
}

void TSkinControl::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter();
}

void TSkinControl::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave();
}

void TSkinControl::enterEvent(QEnterEvent*) {
    FMouseInside = true;
    MouseEnter();
}

void TSkinControl::leaveEvent(QEvent*) {
    FMouseInside = false;
    MouseLeave();
}

void TSkinControl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange) update();
    QWidget::changeEvent(event);
}

// ---- TSkinCustomControl ----

TSkinCustomControl::TSkinCustomControl(QWidget* parent)
    : TSkinControl(parent), FDefaultFont(StandardDefaultFont()), FDefaultFontColor(clWindowText()) {}

void TSkinCustomControl::RefreshSkinDescription() {
    TSkinControl::RefreshSkinDescription();
    const TSkinLook look = LookOf(FSkinData, Description());
    FGeometry = look.Geometry;
    FSliceMode = look.SliceMode;
    FPicture = look.Picture;
    FMaskPicture = look.Mask;
    // The fitted geometry follows the size the control has now.
    TFittedGeometry fitted;
    FitGeometry(FGeometry, FSliceMode, size(), fitted);
    FFitted = fitted;
}

QSize TSkinCustomControl::FitToSkin(QSize proposed) { return FitGeometry(FGeometry, FSliceMode, proposed, FFitted); }

QSize TSkinCustomControl::AdjustBoundsSize(QSize proposed) {
    if (FIndex == -1) return proposed;
    return FitToSkin(proposed);
}

void TSkinCustomControl::ForgetSkinDescription() {
    TSkinControl::ForgetSkinDescription();
    // Nothing may point into the skin that is about to be freed.
    FPicture = nullptr;
    FMaskPicture = nullptr;
    FGeometry = {};
    FFitted = {};
    FSliceMode = -1;
}

void TSkinCustomControl::PaintFromSkin(QImage& bitmap) {
    QPainter p(&bitmap);
    DrawSkinImage(p, FGeometry.SkinRect);
}

void TSkinCustomControl::DrawSkinImage(QPainter& p, const skin::TRect& source, QPoint at) const {
    skin::DrawSkinImage(p, at, FPicture, source, FGeometry, FSliceMode, size());
}

void TSkinCustomControl::BoundsChanged() {
    ApplyWindowShape();
    update();
}

void TSkinCustomControl::ApplySkin() {
    RefreshSkinDescription();
    QSize wanted = size();
    if (FIndex == -1) {
        if (FDefaultWidth > 0) wanted.setWidth(FDefaultWidth);
        if (FDefaultHeight > 0) wanted.setHeight(FDefaultHeight);
    } else {
        wanted = AdjustBoundsSize(size());
    }
    if (wanted != size()) {
        SetBounds(x(), y(), wanted.width(), wanted.height());
        // A described control took its shape and repainted with the bounds change.
        if (FIndex != -1) return;
    }
    ApplyWindowShape();
    update();
}

void TSkinCustomControl::ApplyWindowShape() {
    // Looked up again first: the mask of a forgotten skin is never used.
    RefreshSkinDescription();
    const QRegion shape = FIndex == -1 ? QRegion() : skin::SkinShapeRegion(FMaskPicture, FGeometry, FSliceMode, size());
    if (shape.isEmpty()) {
        if (!mask().isEmpty()) clearMask();
        return;
    }
    if (shape != mask()) setMask(shape);
}

void TSkinCustomControl::SetDefaultFont(const QFont& font) {
    FDefaultFont = font;
    DefaultFontChanged();
    if (FIndex == -1) update();
}

void TSkinCustomControl::SetDefaultFontColor(const QColor& color) {
    FDefaultFontColor = color;
    if (FIndex == -1) update();
}

void TSkinCustomControl::SetUseSkinFont(bool on) {
    FUseSkinFont = on;
    update();
}

QFont TSkinCustomControl::CaptionFont(const skin::TSkinFontKeys* keys) const {
    if (keys && FUseSkinFont && FIndex != -1) return keys->Font();
    return FDefaultFont;
}

}  // namespace dorvanel::skinctrls
