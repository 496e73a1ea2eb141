#pragma once
// The base of every skinned control. A control names its description in the shared skin (SkinDataName),
// finds it by exact name at every refresh, and draws either from it (PaintFromSkin) or, when there is none,
// its plain look (PaintPlain). Every paint goes through one off-screen bitmap of the control's size.
#include "platform/align.h"
#include "skin/skin_data.h"
#include "skinctrls/shaped_text.h"
#include "skinctrls/skin_draw.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace dorvanel::skinctrls {

// What a description gives every control to draw with: its geometry (held to its picture), slice mode,
// picture and mask picture.
struct TSkinLook {
    TSkinGeometry Geometry;
    int SliceMode = -1;
    const QImage* Picture = nullptr;
    const QImage* Mask = nullptr;
};
// The look of a description of data (a control description that is no TDataSkinCustomControl gives slice
// mode 0 and no pictures; none gives mode -1).
TSkinLook LookOf(const skin::TSkinData* data, const skin::TDataSkinControl* description);

// The skin reference and the description lookup shared by every skinned widget, also those that are not
// TSkinControls (labels, edit box, list view).
class TSkinClient {
public:
    virtual ~TSkinClient() = default;
    virtual void SetSkinData(skin::TSkinData* data) = 0;
    // A skin change: before it, nothing may be drawn from the skin being replaced; after it, the control
    // looks its description up again and takes its look and size from it.
    virtual void SkinChanging() { FIndex = -1; }
    virtual void SkinChanged() { SetSkinData(FSkinData); }
    skin::TSkinData* SkinData() const { return FSkinData; }
    const QString& SkinDataName() const { return FSkinDataName; }
    // -1 while no description is in use (the plain look).
    int DescriptionIndex() const { return FIndex; }

protected:
    // Looks the description up again: -1 without skin data or with an empty skin, else the first control
    // description named exactly SkinDataName (-1 when none is).
    void LookUpDescription();
    // The description found by the last lookup, or null.
    skin::TDataSkinControl* Description() const;

    QPointer<skin::TSkinData> FSkinData;
    QString FSkinDataName;
    int FIndex = -1;
};

class TSkinControl : public QWidget, public TSkinClient, public platform::TControlBounds {
    Q_OBJECT
public:
    explicit TSkinControl(QWidget* parent = nullptr);

    // ---- the skin operations, in the order every control extends them ----
    virtual void RefreshSkinDescription();
    virtual void SetSkinDataName(const QString& name);
    void SetSkinData(skin::TSkinData* data) override;
    virtual void PaintPlain(QImage& bitmap);
    virtual void PaintFromSkin(QImage& bitmap);
    virtual void ApplySkin();
    virtual void ForgetSkinDescription();
    virtual void SkinHook() {}
    void SkinChanging() override { ForgetSkinDescription(); }
    void SkinChanged() override { ApplySkin(); }

    // ---- bounds and alignment ----
    void SetBounds(int left, int top, int width, int height) override;
    void SetBounds(const QRect& r) { SetBounds(r.left(), r.top(), r.width(), r.height()); }
    void SetAlign(platform::TAlign align) { platform::SetAlign(this, align); }
    platform::TAlign Align() const { return platform::Align(this); }
    void SetAnchors(platform::TAnchors anchors) { platform::SetAnchors(this, anchors); }

    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& caption);

    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;

    // The control as it paints now, for checks and screenshots.
    QImage RenderImage();

protected:
    // The new size a bounds change may take; the base keeps the proposed one.
    virtual QSize AdjustBoundsSize(QSize proposed) { return proposed; }
    virtual void CaptionChanged() { update(); }
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Runs after a bounds change that really moved or sized the control.
    virtual void BoundsChanged() { update(); }

    // Controls that show what lies behind them start their bitmap transparent.
    void SetTransparentPaint(bool on);
    bool MouseInside() const { return FMouseInside; }

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Paints the control into bitmap, made anew only when its size or format differs from the control's.
    void PaintTo(QImage& bitmap);

    QString FCaption;
    // The off-screen bitmap of the last paint, kept for the next one of the same size.
    QImage FPaintBuffer;
    bool FTransparentPaint = false;
    bool FMouseInside = false;
};

class TSkinCustomControl : public TSkinControl {
    Q_OBJECT
public:
    explicit TSkinCustomControl(QWidget* parent = nullptr);

    void RefreshSkinDescription() override;
    void ApplySkin() override;
    void ForgetSkinDescription() override;
    // Draws the normal image (skinrect) from the skin.
    void PaintFromSkin(QImage& bitmap) override;

    // ---- added operations, after those of TSkinControl ----
    virtual void DefaultFontChanged() {}
    virtual QSize FitToSkin(QSize proposed);
    virtual void ApplyWindowShape();

    const QFont& DefaultFont() const { return FDefaultFont; }
    void SetDefaultFont(const QFont& font);
    // Qt fonts carry no colour: the plain look's text colour is kept beside the font.
    const QColor& DefaultFontColor() const { return FDefaultFontColor; }
    void SetDefaultFontColor(const QColor& color);
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int width) { FDefaultWidth = width; }
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int height) { FDefaultHeight = height; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool on);

    int SliceMode() const { return FSliceMode; }
    const TSkinGeometry& Geometry() const { return FGeometry; }
    const TFittedGeometry& Fitted() const { return FFitted; }
    // The inner area of the control as it stands now, in control coordinates.
    QRect FittedClientRect() const { return FFitted.ClientRect.ToQRect(); }
    const QImage* Picture() const { return FPicture; }
    const QImage* MaskPicture() const { return FMaskPicture; }

protected:
    QSize AdjustBoundsSize(QSize proposed) override;
    void BoundsChanged() override;

    // The font for captions: the description's (when UseSkinFont) or DefaultFont.
    QFont CaptionFont(const skin::TSkinFontKeys* keys) const;
    // Draws the skin image of source (skinrect or a state rectangle of its size) at the control's size.
    void DrawSkinImage(QPainter& p, const skin::TRect& source, QPoint at = {}) const;

    QFont FDefaultFont;
    QColor FDefaultFontColor;
    // Captions as last laid out, kept across paints (painting changes nothing the control shows).
    mutable TShapedTextCache FShapedText;

private:
    int FDefaultWidth = 0;
    int FDefaultHeight = 0;
    bool FUseSkinFont = true;
    TSkinGeometry FGeometry;
    TFittedGeometry FFitted;
    int FSliceMode = -1;
    const QImage* FPicture = nullptr;
    const QImage* FMaskPicture = nullptr;
};

// "Arial", cell height 14, no style: the default font of the controls.
QFont StandardDefaultFont();

// Makes the accelerator character of caption ("&Yes": Alt+Y) a shortcut of control, releasing the one it
// had (id); returns the new shortcut id, 0 when the caption has none.
int GrabMnemonic(QWidget* control, int id, const QString& caption);
// Passes a skin change notification (skin::SKIN_MSG_PREPARE before, skin::SKIN_MSG_APPLY after) to every
// skinned control below root, depth first, whose SkinData is sender (every one when sender is null).
void NotifySkinChange(QWidget* root, int message, skin::TSkinData* sender);

// Whether event is the shortcut id of a control.
bool IsShortcut(const QEvent* event, int id);

}  // namespace dorvanel::skinctrls
