#include "skinctrls/skin_frame.h"

#include "platform/align.h"
#include "platform/window_manager.h"
#include "skin/skin_events.h"
#include "skinctrls/skin_accessible.h"
#include "skinctrls/skin_control.h"
#include "skinctrls/frame_check.h"
#include "skinctrls/skin_draw.h"
#include "skinctrls/skin_popup_menu.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

namespace dorvanel::skinctrls {

using skin::TStdCommand;

// The client area: it holds the form's controls and paints the client background under them.
class TSkinFrame::TClientArea : public QWidget {
public:
    explicit TClientArea(TSkinFrame* frame) : QWidget(frame->Form()), FFrame(frame) {
        setObjectName(QStringLiteral("ClientArea"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        // Children take the arrow, not the sizing cursor the border gives the form.
        setCursor(Qt::ArrowCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        PaintClientBackground(p, FFrame && FFrame->SkinInUse() ? FFrame->SkinData() : nullptr, size());
    }

private:
    QPointer<TSkinFrame> FFrame;
};

TSkinFrame::TSkinFrame(QWidget* form, TFormBorderStyle borderStyle)
    : QObject(form), FForm(form), FBorderStyle(borderStyle),
      FStates(form, borderStyle,
              {[this] { return MinimalSize(); }, [this] { return QSize(MaxWidth, MaxHeight); },
               [this] { RefreshGeometry(); }}) {
    setObjectName(QStringLiteral("SkinFrame1"));
    DefCaptionFont = DefInActiveCaptionFont = skin::SkinFont("Arial", -15, {.Bold = true});
    DefCaptionFontColor = clBtnText();
    DefInActiveCaptionFontColor = clBtnShadow();
    if (FBorderStyle == TFormBorderStyle::bsDialog) FBorderIcons = biSystemMenu;

    EnsureSkinAccessibility();
    form->setWindowFlag(Qt::FramelessWindowHint, true);
    form->setMouseTracking(true);
    form->setAttribute(Qt::WA_OpaquePaintEvent);
    // A compositor shapes no window: the outline is drawn over a transparent background, and the mask only
    // says where the window takes the pointer.
    if (platform::CompositorPlacesWindows()) form->setAttribute(Qt::WA_TranslucentBackground);
    FClient = new TClientArea(this);
    FSystemMenu = new TSkinPopupMenu(form);
    FSystemMenu->setObjectName(QStringLiteral("SystemMenu"));
    form->installEventFilter(this);

    auto* close = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), form);
    connect(close, &QShortcut::activated, this, &TSkinFrame::Close);
    auto* menu = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), form);
    connect(menu, &QShortcut::activated, this, [this] {
        const TSkinCaptionObject* caption = CaptionObject();
        ShowSystemMenuBelow(caption ? caption->ObjectRect : FFit.CaptionRect.ToQRect());
    });
    ApplySkin();
}

TSkinFrame::~TSkinFrame() {
    if (FForm) FForm->removeEventFilter(this);
}

// ---- properties ----

void TSkinFrame::SetSkinData(skin::TSkinData* data) {
    FSkinData = data;
    ApplySkin();
}

void TSkinFrame::SetBorderIcons(TBorderIcons icons) {
    FBorderIcons = icons;
    RefreshGeometry();
}

void TSkinFrame::SetHideCaptionButtons(bool hide) {
    FHideCaptionButtons = hide;
    RefreshGeometry();
}

QMargins TSkinFrame::FrameMargins() const {
    return FSkinInUse ? SkinFrameMargins(FSkinData->FormInfo(), FSkinData->MainPicture().size()) : PlainFrameMargins();
}

QSize TSkinFrame::MinimalSize() const {
    if (FSkinInUse)
        return SkinMinimalSize(FSkinData->FormInfo(), FSkinData->MainPicture().size(), MinWidth, MinHeight,
                               FStates.Minimised(), FStates.RolledUp());
    return PlainMinimalSize(MinWidth, MinHeight);
}

QSize TSkinFrame::ClientSize() const { return FClient ? FClient->size() : QSize(); }

void TSkinFrame::SetClientSize(int width, int height) {
    const QMargins m = FrameMargins();
    FStates.SetWindowBounds(QRect(FForm->pos(), QSize(width + m.left() + m.right(), height + m.top() + m.bottom())));
    RefreshGeometry();
}

TSkinStdButtonObject* TSkinFrame::Button(TStdCommand command) const {
    for (const auto& object : FObjects)
        if (auto* button = dynamic_cast<TSkinStdButtonObject*>(object.get());
            button && button->Command == command && button->Visible)
            return button;
    return nullptr;
}

TSkinCaptionObject* TSkinFrame::CaptionObject() const {
    for (const auto& object : FObjects)
        if (auto* caption = dynamic_cast<TSkinCaptionObject*>(object.get()); caption && caption->Visible)
            return caption;
    return nullptr;
}

// ---- skin and geometry ----

void TSkinFrame::DropObjects() {
    FPointer.Forget();
    FObjects.clear();
}

void TSkinFrame::ApplySkin() {
    FSkinInUse = FSkinData && !FSkinData->Empty() && !FSkinData->MainPicture().isNull();
    DropObjects();
    FObjects = FSkinInUse ? BuildSkinObjects(*FSkinData, ObjectRepaint()) : BuildPlainObjects(ObjectRepaint());
    FShapeSize = {};
    FStates.UpdateSizeLimits();
    FStates.EnlargeToMinimalSize();
    FActive = FForm->isActiveWindow();
    RefreshGeometry();
    if (FSkinInUse) {
        const skin::TSkinGeometry frame = skin::HeldGeometry(
            FrameGeometry(FSkinData->FormInfo(), FSkinData->MainPicture().size()), &FSkinData->MainPicture());
        if (!FrameUsable(frame, FFit, FObjects, FShape)) {
            // A frame that could not be moved or closed by the mouse: the plain one serves instead.
            FSkinInUse = false;
            DropObjects();
            FObjects = BuildPlainObjects(ObjectRepaint());
            FShapeSize = {};
            FStates.UpdateSizeLimits();
            FStates.EnlargeToMinimalSize();
            RefreshGeometry();
            if (OnSkinRefused) OnSkinRefused();
        }
    }
    if (TSkinCaptionObject* caption = CaptionObject()) caption->Blend.Snap(FActive);
    if (FClient) FClient->update();
    if (OnChangeSkinData) OnChangeSkinData();
    if (ClientWidth > 0 || ClientHeight > 0) {
        const QSize client = ClientSize();
        SetClientSize(ClientWidth > 0 ? ClientWidth : client.width(),
                      ClientHeight > 0 ? ClientHeight : client.height());
    }
}

void TSkinFrame::RefreshGeometry() {
    const QSize size = FForm->size();
    if (FSkinInUse) {
        FFit = FitFrame(FSkinData->FormInfo(), FSkinData->MainPicture().size(), size);
    } else {
        FFit = {};
        FFit.WindowSize = size;
        FFit.ClientRect = skin::TRect::FromQRect(QRect(QPoint(0, 0), size).marginsRemoved(PlainFrameMargins()));
        FFit.CaptionRect = skin::TRect::FromQRect(PlainCaptionRect(size));
    }
    TFrameLayoutInput input;
    input.BorderIcons = FBorderIcons;
    input.HideCaptionButtons = FHideCaptionButtons;
    input.ShowIcon = ShowIcon;
    if (FSkinInUse) {
        input.Info = &FSkinData->FormInfo();
        input.PictureSize = FSkinData->MainPicture().size();
    }
    input.Fit = FFit;
    LayoutFrameObjects(FObjects, input);
    if (FClient) {
        const QRect client = FFit.ClientRect.ToQRect();
        const QSize before = FClient->size();
        FClient->setGeometry(client.left(), client.top(), std::max(0, client.width()), std::max(0, client.height()));
        // A hidden window hears of its new size only when shown: the controls are placed now.
        if (FClient->size() != before && !FClient->isVisible()) platform::AlignControls(FClient);
    }
    UpdateShape();
    FrameChanged();
}

void TSkinFrame::UpdateShape() {
    const bool masked = FSkinInUse && !FSkinData->Mask().isNull();
    if (!masked) {
        if (!FShape.isEmpty()) FForm->clearMask();
        FShape = {};
        FShapeSize = {};
        return;
    }
    if (FShapeSize == FForm->size()) return;
    FShapeSize = FForm->size();
    FShape = FrameShapeRegion(FSkinData->Mask(), FSkinData->FormInfo(), FSkinData->MainPicture().size(), FShapeSize);
    if (FShape.isEmpty()) FForm->clearMask();
    else FForm->setMask(FShape);
}

// ---- painting ----

std::function<void()> TSkinFrame::ObjectRepaint() {
    return [self = QPointer<TSkinFrame>(this)] {
        if (self) self->FrameChanged();
    };
}

void TSkinFrame::FrameChanged(const QRect& area) {
    FStrips.Invalidate();
    if (area.isNull()) FForm->update();
    else FForm->update(area);
}

TFramePaintState TSkinFrame::PaintState() const {
    TFramePaintState s;
    s.Skin = FSkinInUse ? FSkinData.data() : nullptr;
    s.Fit = FFit;
    s.Objects = &FObjects;
    s.Caption = FForm->windowTitle();
    s.Active = FActive;
    s.Maximized = FStates.Maximised();
    s.Minimized = FStates.Minimised();
    s.RolledUp = FStates.RolledUp();
    s.ShowIcon = ShowIcon;
    if (ShowIcon) s.Icon = FForm->windowIcon();
    s.CaptionFont = DefCaptionFont;
    s.InactiveCaptionFont = DefInActiveCaptionFont;
    s.CaptionColor = DefCaptionFontColor;
    s.InactiveCaptionColor = DefInActiveCaptionFontColor;
    return s;
}

void TSkinFrame::Paint(QPainter& p) {
    const QSize size = FForm->size();
    const QSize minimal = MinimalSize();
    if (FFit.WindowSize != size) RefreshGeometry();
    // A window smaller than the frame allows shows no frame until it is enlarged.
    if (size.width() < minimal.width() || size.height() < minimal.height()) {
        p.fillRect(QRect(QPoint(0, 0), size), clBtnFace());
        return;
    }
    if (FForm->testAttribute(Qt::WA_TranslucentBackground) && !FShape.isEmpty()) {
        // Outside the outline the window shows what lies behind it.
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.setClipRegion(QRegion(QRect(QPoint(0, 0), size)) - FShape);
        p.fillRect(QRect(QPoint(0, 0), size), Qt::transparent);
        p.restore();
        p.save();
        p.setClipRegion(FShape);
        FStrips.Paint(p, size, PaintState());
        p.restore();
        return;
    }
    FStrips.Paint(p, size, PaintState());
}

QImage TSkinFrame::RenderImage(qreal ratio) {
    QImage image = DeviceImage(FForm->size(), ratio > 0 ? ratio : FForm->devicePixelRatioF(), QImage::Format_ARGB32);
    if (image.isNull()) return image;
    image.fill(Qt::transparent);
    QPainter p(&image);
    Paint(p);
    return image;
}

// ---- commands and window states ----

void TSkinFrame::RunCommand(TStdCommand command) {
    if (!CommandAvailable(command, FBorderIcons)) return;
    switch (command) {
        case TStdCommand::cmClose:
            Close();
            break;
        case TStdCommand::cmMaximize:
            if (FStates.Maximised()) Restore();
            else Maximize();
            break;
        case TStdCommand::cmMinimize:
            if (FStates.Minimised()) Restore();
            else Minimize();
            break;
        case TStdCommand::cmRollUp:
            RollUp();
            break;
        case TStdCommand::cmMinimizeToTray:
            // There is no tray to go to: the window minimises.
            Minimize();
            break;
        case TStdCommand::cmSysMenu:
            if (const TSkinStdButtonObject* button = Button(TStdCommand::cmSysMenu))
                ShowSystemMenuBelow(button->ObjectRect);
            break;
        case TStdCommand::cmDefault:
            break;
    }
}

void TSkinFrame::Maximize() { FStates.Maximize(MaximizeOnFullScreen); }

void TSkinFrame::Restore() { FStates.Restore(); }

void TSkinFrame::Minimize() { FStates.Minimize(ApplicationWindow); }

void TSkinFrame::RollUp() { FStates.RollUp(); }

void TSkinFrame::Close() {
    if (FForm) FForm->close();
}

QString TSkinFrame::ResourceCaption(const char* key, const char* caption) const {
    const skin::TSkinData* menuSkin = FMenusSkinData ? FMenusSkinData.data() : FSkinData.data();
    const skin::TResourceStrData* strings = menuSkin ? menuSkin->ResourceStrData() : nullptr;
    const QString text = strings ? strings->GetResStr(QString::fromLatin1(key)) : QString();
    return text.isEmpty() ? QString::fromLatin1(caption) : text;
}

QString TSkinFrame::CommandCaption(skin::TStdCommand command) const {
    using skin::TStdCommand;
    switch (command) {
        case TStdCommand::cmClose:
            return ResourceCaption("MI_CLOSECAPTION", "&Close");
        case TStdCommand::cmMaximize:
            return FStates.Maximised() ? ResourceCaption("MI_RESTORECAPTION", "&Restore")
                                       : ResourceCaption("MI_MAXCAPTION", "Ma&ximize");
        case TStdCommand::cmMinimize:
            return ResourceCaption("MI_MINCAPTION", "Mi&nimize");
        case TStdCommand::cmRollUp:
            return RolledUp() ? ResourceCaption("MI_RESTORECAPTION", "&Restore")
                              : ResourceCaption("MI_ROLLUPCAPTION", "Ro&llUp");
        case TStdCommand::cmMinimizeToTray:
            return ResourceCaption("MI_MINTOTRAYCAPTION", "Minimize to &Tray");
        case TStdCommand::cmSysMenu:
            return QStringLiteral("System menu");
        case TStdCommand::cmDefault:
            break;
    }
    return {};
}

void TSkinFrame::ShowSystemMenuBelow(const QRect& area) {
    ShowSystemMenu(FForm->mapToGlobal(QPoint(area.left(), area.bottom() + 1)));
}

void TSkinFrame::ShowSystemMenu(QPoint globalPos) {
    if (!UseDefaultSysMenu) return;
    FSystemMenu->SetSkinData(FMenusSkinData ? FMenusSkinData.data() : FSkinData.data());
    FSystemMenu->Clear();
    const QPointer<TSkinFrame> self(this);
    const auto add = [&](const char* key, const char* caption, void (TSkinFrame::*command)()) {
        FSystemMenu->Add({ResourceCaption(key, caption), true, false, [self, command] {
                              if (self) (self->*command)();
                          }});
    };
    const bool minimised = FStates.Minimised(), maximised = FStates.Maximised(), rolledUp = FStates.RolledUp();
    if ((FBorderIcons & biMinimize) && !minimised) add("MI_MINCAPTION", "Mi&nimize", &TSkinFrame::Minimize);
    if ((FBorderIcons & biMaximize) && !maximised) add("MI_MAXCAPTION", "Ma&ximize", &TSkinFrame::Maximize);
    if (minimised || maximised || rolledUp) add("MI_RESTORECAPTION", "&Restore", &TSkinFrame::Restore);
    if ((FBorderIcons & biRollUp) && !rolledUp && !minimised) add("MI_ROLLUPCAPTION", "Ro&llUp", &TSkinFrame::RollUp);
    if (FBorderIcons & biMinimizeToTray) add("MI_MINTOTRAYCAPTION", "Minimize to &Tray", &TSkinFrame::Minimize);
    if (!FSystemMenu->Items().empty()) FSystemMenu->Add({QString(), true, true, {}});
    add("MI_CLOSECAPTION", "&Close", &TSkinFrame::Close);
    FSystemMenu->Popup(globalPos);
}

// ---- the form's events ----

void TSkinFrame::HandleSkinMessage(int message, skin::TSkinData* sender) {
    const bool mine = !sender || sender == FSkinData;
    if (message == skin::SKIN_MSG_PREPARE) {
        NotifySkinChange(FForm, message, sender);
        if (mine) {
            // Until the new skin is complete the frame is plain: nothing is drawn from the one being replaced,
            // also when the new one never arrives.
            FSkinInUse = false;
            DropObjects();
            FObjects = BuildPlainObjects(ObjectRepaint());
            FrameChanged();
        }
    } else if (message == skin::SKIN_MSG_APPLY) {
        if (mine) ApplySkin();
        NotifySkinChange(FForm, message, sender);
    }
}

bool TSkinFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched != FForm) return false;
    if (skin::TSkinMessageEvent::IsSkinMessage(event)) {
        const auto* message = static_cast<skin::TSkinMessageEvent*>(event);
        HandleSkinMessage(message->Message(), message->SkinData());
        return true;
    }
    switch (event->type()) {
        case QEvent::Paint: {
            QPainter p(FForm);
            Paint(p);
            return true;
        }
        case QEvent::Resize:
            RefreshGeometry();
            break;
        case QEvent::Hide:
            // With no window manager the keyboard would go nowhere when a dialog closes: it returns to the
            // window the dialog belongs to.
            if (!platform::WindowManagerRunning() && FForm->parentWidget()) {
                QWidget* owner = FForm->parentWidget()->window();
                if (owner->isVisible()) owner->activateWindow();
            }
            break;
        case QEvent::Show:
            RefreshGeometry();
            // With no window manager nobody gives a new window the keyboard: it takes it itself.
            if (!platform::WindowManagerRunning() && FForm->isWindow()) FForm->activateWindow();
            break;
        case QEvent::ActivationChange:
            FActive = FForm->isActiveWindow();
            if (!FActive) FPointer.SetHot(nullptr);
            // The caption changes to its active look, blended where its description says so.
            if (TSkinCaptionObject* caption = CaptionObject())
                caption->Blend.MoveTo(FActive, caption->Data() && caption->Data()->morphing);
            FrameChanged();
            break;
        case QEvent::WindowStateChange:
            FStates.FollowWindowState();
            FrameChanged();
            break;
        case QEvent::WindowTitleChange:
        case QEvent::WindowIconChange:
            FrameChanged();
            break;
        case QEvent::MouseButtonPress:
            FPointer.Press(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonDblClick:
            FPointer.DoubleClick(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            FPointer.Move(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonRelease:
            FPointer.Release(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::Leave:
            FPointer.Leave();
            break;
        default:
            break;
    }
    return false;
}

}  // namespace dorvanel::skinctrls
