#include "skinctrls/skin_frame.h"

#include "platform/align.h"
#include "platform/window_manager.h"
#include "skin/skin_events.h"
#include "skinctrls/skin_control.h"
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
    : QObject(form), FForm(form), FBorderStyle(borderStyle) {
    setObjectName(QStringLiteral("SkinFrame1"));
    DefCaptionFont = DefInActiveCaptionFont = skin::SkinFont("Arial", -15, {.Bold = true});
    DefCaptionFontColor = clBtnText();
    DefInActiveCaptionFontColor = clBtnShadow();
    if (FBorderStyle == TFormBorderStyle::bsDialog) FBorderIcons = biSystemMenu;

    form->setWindowFlag(Qt::FramelessWindowHint, true);
    form->setMouseTracking(true);
    form->setAttribute(Qt::WA_OpaquePaintEvent);
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
    const bool minimised = FWindowState == TFrameWindowState::wsMinimized;
    if (FSkinInUse)
        return SkinMinimalSize(FSkinData->FormInfo(), FSkinData->MainPicture().size(), MinWidth, MinHeight, minimised,
                               FRolledUp);
    return PlainMinimalSize(MinWidth, MinHeight);
}

QSize TSkinFrame::ClientSize() const { return FClient ? FClient->size() : QSize(); }

void TSkinFrame::SetClientSize(int width, int height) {
    const QMargins m = FrameMargins();
    SetWindowBounds(QRect(FForm->pos(), QSize(width + m.left() + m.right(), height + m.top() + m.bottom())));
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
    FHot = FCaptured = nullptr;
    FObjects.clear();
}

void TSkinFrame::ApplySkin() {
    FSkinInUse = FSkinData && !FSkinData->Empty() && !FSkinData->MainPicture().isNull();
    DropObjects();
    FObjects = FSkinInUse ? BuildSkinObjects(*FSkinData, ObjectRepaint()) : BuildPlainObjects(ObjectRepaint());
    FShapeSize = {};
    UpdateSizeLimits();
    EnlargeToMinimalSize();
    FActive = FForm->isActiveWindow();
    RefreshGeometry();
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

void TSkinFrame::UpdateSizeLimits() {
    if (FBorderStyle == TFormBorderStyle::bsDialog) return;  // its size is fixed whenever it is set
    FForm->setMinimumSize(MinimalSize());
    FForm->setMaximumSize(MaxWidth > 0 ? std::max(MaxWidth, MinimalSize().width()) : QWIDGETSIZE_MAX,
                          MaxHeight > 0 ? std::max(MaxHeight, MinimalSize().height()) : QWIDGETSIZE_MAX);
}

void TSkinFrame::SetWindowBounds(const QRect& bounds) {
    if (FBorderStyle == TFormBorderStyle::bsDialog) {
        FForm->setFixedSize(bounds.size());
        FForm->move(bounds.topLeft());
    } else {
        FForm->setGeometry(bounds);
    }
}

void TSkinFrame::EnlargeToMinimalSize() {
    const QSize minimal = MinimalSize();
    QSize size = FForm->size();
    const bool minimised = FWindowState == TFrameWindowState::wsMinimized;
    size.setHeight(FRolledUp || minimised ? minimal.height() : std::max(size.height(), minimal.height()));
    size.setWidth(minimised ? minimal.width() : std::max(size.width(), minimal.width()));
    if (size != FForm->size()) SetWindowBounds(QRect(FForm->pos(), size));
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
    s.Maximized = FWindowState == TFrameWindowState::wsMaximized;
    s.Minimized = FWindowState == TFrameWindowState::wsMinimized;
    s.RolledUp = FRolledUp;
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
    FStrips.Paint(p, size, PaintState());
}

QImage TSkinFrame::RenderImage() {
    QImage image(FForm->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    Paint(p);
    return image;
}

// ---- hit testing and the pointer ----

THitCode TSkinFrame::HitTest(QPoint at) const {
    const QSize size = FForm->size();
    if (!QRect(QPoint(0, 0), size).contains(at)) return THitCode::Nowhere;
    const TSkinCaptionObject* caption = CaptionObject();
    // A skin without a caption object still moves by its caption strip.
    const QRect captionRect = caption ? caption->ObjectRect : FFit.CaptionRect.ToQRect();
    const bool inCaption = captionRect.contains(at) && !EnabledButtonAt(at);
    if (FRolledUp || FWindowState == TFrameWindowState::wsMinimized)
        return inCaption ? THitCode::Caption : THitCode::Object;
    const QRect client = FFit.ClientRect.ToQRect();
    if (FHot && !inCaption && !client.contains(at) && FDrag == TDragKind::None) return THitCode::Object;
    if (FBorderStyle == TFormBorderStyle::bsSizeable && FWindowState != TFrameWindowState::wsMaximized) {
        const THitCode border = FSkinInUse ? SkinBorderHit(FFit, FSkinData->FormInfo().borderwidth,
                                                           FShape.isEmpty() ? nullptr : &FShape, at)
                                           : PlainBorderHit(size, at);
        if (border != THitCode::Nowhere) return border;
    }
    if (client.contains(at)) return THitCode::Client;
    if (inCaption) return THitCode::Caption;
    return THitCode::Object;
}

TSkinStdButtonObject* TSkinFrame::EnabledButtonAt(QPoint at) const {
    for (const auto& object : FObjects)
        if (auto* button = dynamic_cast<TSkinStdButtonObject*>(object.get());
            button && button->Enabled && button->Visible && button->ObjectRect.contains(at))
            return button;
    return nullptr;
}

void TSkinFrame::SetHot(TSkinStdButtonObject* button) {
    if (button == FHot) return;
    // Only a skin's button blends its images (the plain frame's have no description).
    const auto blends = [](const TSkinStdButtonObject* b) { return b->Data() && b->Data()->morphing; };
    if (FHot) {
        FHot->Hot = false;
        FHot->Blend.MoveTo(false, blends(FHot));
        FrameChanged(FHot->ObjectRect);
    }
    FHot = button;
    if (FHot) {
        FHot->Hot = true;
        FHot->Blend.MoveTo(true, blends(FHot));
        FrameChanged(FHot->ObjectRect);
    }
}

namespace {

Qt::Edges EdgesOf(THitCode code) {
    switch (code) {
        case THitCode::Left:
            return Qt::LeftEdge;
        case THitCode::Right:
            return Qt::RightEdge;
        case THitCode::Top:
            return Qt::TopEdge;
        case THitCode::Bottom:
            return Qt::BottomEdge;
        case THitCode::TopLeft:
            return Qt::TopEdge | Qt::LeftEdge;
        case THitCode::TopRight:
            return Qt::TopEdge | Qt::RightEdge;
        case THitCode::BottomLeft:
            return Qt::BottomEdge | Qt::LeftEdge;
        case THitCode::BottomRight:
            return Qt::BottomEdge | Qt::RightEdge;
        default:
            return {};
    }
}

Qt::CursorShape CursorOf(THitCode code) {
    switch (code) {
        case THitCode::Left:
        case THitCode::Right:
            return Qt::SizeHorCursor;
        case THitCode::Top:
        case THitCode::Bottom:
            return Qt::SizeVerCursor;
        case THitCode::TopLeft:
        case THitCode::BottomRight:
            return Qt::SizeFDiagCursor;
        case THitCode::TopRight:
        case THitCode::BottomLeft:
            return Qt::SizeBDiagCursor;
        default:
            return Qt::ArrowCursor;
    }
}

}  // namespace

void TSkinFrame::UpdateCursor(THitCode code) {
    const Qt::CursorShape shape = CursorOf(code);
    if (FForm->cursor().shape() != shape) FForm->setCursor(shape);
}

void TSkinFrame::MousePress(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const THitCode code = HitTest(at);
    if (event->button() == Qt::RightButton) {
        if (code == THitCode::Caption) ShowSystemMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (code == THitCode::Object) {
        TSkinStdButtonObject* button = EnabledButtonAt(at);
        if (!button) return;
        if (button->Command == TStdCommand::cmSysMenu) {
            // The system-menu button opens its menu on the press, below itself.
            SetHot(nullptr);
            ShowSystemMenuBelow(button->ObjectRect);
            return;
        }
        FCaptured = button;
        button->Pressed = true;
        SetHot(button);
        FrameChanged(button->ObjectRect);
        return;
    }
    // A maximised window stays where it is.
    if (code == THitCode::Caption && FWindowState != TFrameWindowState::wsMaximized) FDrag = TDragKind::Move;
    else if (IsBorderCode(code)) FDrag = TDragKind::Size;
    else return;
    FDragEdges = code;
    FDragStart = event->globalPosition().toPoint();
    FDragBounds = FForm->geometry();
    FSystemTried = false;
}

void TSkinFrame::MouseMove(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (FCaptured) {
        const bool over = FCaptured->ObjectRect.contains(at);
        if (FCaptured->Hot != over) {
            FCaptured->Hot = over;
            FrameChanged(FCaptured->ObjectRect);
        }
        return;
    }
    if (FDrag != TDragKind::None && (event->buttons() & Qt::LeftButton)) {
        DragTo(event->globalPosition().toPoint());
        return;
    }
    FDrag = TDragKind::None;
    const THitCode code = HitTest(at);
    SetHot(code == THitCode::Object ? EnabledButtonAt(at) : nullptr);
    UpdateCursor(code);
}

void TSkinFrame::DragTo(QPoint globalPos) {
    const QPoint delta = globalPos - FDragStart;
    if (delta.isNull()) return;
    if (FDrag == TDragKind::Move) FForm->move(FDragBounds.topLeft() + delta);
    else SizeBy(delta);
    if (!FSystemTried) {
        FSystemTried = true;
        // From the first step on the window system moves or sizes the window where it can (its snapping and
        // limits apply). The step already made is applied above, so the window follows the pointer exactly;
        // a click or a double click starts nothing.
        QWindow* window = FForm->windowHandle();
        const bool system = window && (FDrag == TDragKind::Move ? window->startSystemMove()
                                                                : window->startSystemResize(EdgesOf(FDragEdges)));
        if (system) FDrag = TDragKind::None;
    }
}

void TSkinFrame::SizeBy(QPoint delta) {
    const QSize least = MinimalSize();
    const QSize most = FForm->maximumSize().expandedTo(least);
    const Qt::Edges edges = EdgesOf(FDragEdges);
    int left = FDragBounds.left(), right = FDragBounds.right() + 1;
    int top = FDragBounds.top(), bottom = FDragBounds.bottom() + 1;
    // The dragged edge moves with the pointer; the opposite one stays, the size held within its limits.
    if (edges & Qt::LeftEdge) left = std::clamp(left + delta.x(), right - most.width(), right - least.width());
    if (edges & Qt::RightEdge) right = std::clamp(right + delta.x(), left + least.width(), left + most.width());
    if (edges & Qt::TopEdge) top = std::clamp(top + delta.y(), bottom - most.height(), bottom - least.height());
    if (edges & Qt::BottomEdge) bottom = std::clamp(bottom + delta.y(), top + least.height(), top + most.height());
    SetWindowBounds(QRect(left, top, right - left, bottom - top));
}

void TSkinFrame::MouseRelease(QMouseEvent* event) {
    FDrag = TDragKind::None;
    if (event->button() != Qt::LeftButton || !FCaptured) return;
    TSkinStdButtonObject* button = FCaptured;
    FCaptured = nullptr;
    const bool run = button->Hot && button->ObjectRect.contains(event->position().toPoint());
    button->Pressed = false;
    FrameChanged(button->ObjectRect);
    if (!run) SetHot(EnabledButtonAt(event->position().toPoint()));
    // Last: closing may end the window's life.
    if (run) RunCommand(button->Command);
}

void TSkinFrame::MouseDoubleClick(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || HitTest(event->position().toPoint()) != THitCode::Caption) {
        MousePress(event);
        return;
    }
    FDrag = TDragKind::None;
    const bool sizeable = FBorderStyle == TFormBorderStyle::bsSizeable;
    if (sizeable && FWindowState == TFrameWindowState::wsMinimized) Restore();
    else if (sizeable && FWindowState == TFrameWindowState::wsNormal && !FRolledUp && (FBorderIcons & biMaximize))
        Maximize();
    else if (sizeable && FWindowState == TFrameWindowState::wsMaximized) Restore();
    else if (FBorderIcons & biRollUp) RollUp();
}

// ---- commands and window states ----

void TSkinFrame::RunCommand(TStdCommand command) {
    if (!CommandAvailable(command, FBorderIcons)) return;
    switch (command) {
        case TStdCommand::cmClose:
            Close();
            break;
        case TStdCommand::cmMaximize:
            if (FWindowState == TFrameWindowState::wsMaximized) Restore();
            else Maximize();
            break;
        case TStdCommand::cmMinimize:
            if (FWindowState == TFrameWindowState::wsMinimized) Restore();
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

void TSkinFrame::KeepRestoreBounds() {
    // Only the first state change keeps them: maximising a minimised window still restores the normal one.
    if (FRestoreBounds.isNull()) FRestoreBounds = FForm->geometry();
    if (FRolledUp) FRestoreBounds.setHeight(FRollUpHeight);
}

void TSkinFrame::Maximize() {
    QScreen* screen = FForm->screen();
    if (!screen) return;
    KeepRestoreBounds();
    QRect area = MaximizeOnFullScreen ? screen->geometry() : screen->availableGeometry();
    // A window as large as the whole screen would be taken for a full-screen one.
    if (area == screen->geometry()) area.adjust(1, 1, -1, -1);
    FWindowState = TFrameWindowState::wsMaximized;
    FRolledUp = false;
    UpdateSizeLimits();
    SetWindowBounds(area);
    RefreshGeometry();
}

void TSkinFrame::Restore() {
    const QRect bounds = FRestoreBounds;
    const bool wasRolledUp = FRolledUp && FWindowState == TFrameWindowState::wsNormal;
    FRestoreBounds = {};
    FWindowState = TFrameWindowState::wsNormal;
    if (wasRolledUp) {
        RollUp();
        return;
    }
    FRolledUp = false;
    UpdateSizeLimits();
    if (!bounds.isNull()) SetWindowBounds(bounds);
    RefreshGeometry();
}

void TSkinFrame::Minimize() {
    if (ApplicationWindow && platform::WindowManagerRunning()) {
        // The program's main window leaves the screen for the desktop's task list; the desktop restores it.
        FForm->showMinimized();
        return;
    }
    QScreen* screen = FForm->screen();
    if (!screen) return;
    KeepRestoreBounds();
    FWindowState = TFrameWindowState::wsMinimized;
    FRolledUp = false;
    UpdateSizeLimits();
    const QSize size = MinimalSize();
    const QRect area = screen->availableGeometry();
    SetWindowBounds(QRect(QPoint(area.left(), area.bottom() + 1 - size.height()), size));
    RefreshGeometry();
}

void TSkinFrame::RollUp() {
    QRect bounds = FForm->geometry();
    if (!FRolledUp) {
        FRollUpHeight = bounds.height();
        FRolledUp = true;
        UpdateSizeLimits();
        bounds.setHeight(MinimalSize().height());
    } else {
        FRolledUp = false;
        UpdateSizeLimits();
        bounds.setHeight(std::max(FRollUpHeight, MinimalSize().height()));
    }
    SetWindowBounds(bounds);
    RefreshGeometry();
}

void TSkinFrame::Close() {
    if (FForm) FForm->close();
}

void TSkinFrame::ShowSystemMenuBelow(const QRect& area) {
    ShowSystemMenu(FForm->mapToGlobal(QPoint(area.left(), area.bottom() + 1)));
}

void TSkinFrame::ShowSystemMenu(QPoint globalPos) {
    if (!UseDefaultSysMenu) return;
    skin::TSkinData* menuSkin = FMenusSkinData ? FMenusSkinData.data() : FSkinData.data();
    FSystemMenu->SetSkinData(menuSkin);
    FSystemMenu->Clear();
    const skin::TResourceStrData* strings = menuSkin ? menuSkin->ResourceStrData() : nullptr;
    const QPointer<TSkinFrame> self(this);
    const auto add = [&](const char* key, const char* caption, void (TSkinFrame::*command)()) {
        QString text = strings ? strings->GetResStr(QString::fromLatin1(key)) : QString();
        if (text.isEmpty()) text = QString::fromLatin1(caption);
        FSystemMenu->Add({text, true, false, [self, command] {
                              if (self) (self->*command)();
                          }});
    };
    const bool minimised = FWindowState == TFrameWindowState::wsMinimized;
    const bool maximised = FWindowState == TFrameWindowState::wsMaximized;
    if ((FBorderIcons & biMinimize) && !minimised) add("MI_MINCAPTION", "Mi&nimize", &TSkinFrame::Minimize);
    if ((FBorderIcons & biMaximize) && !maximised) add("MI_MAXCAPTION", "Ma&ximize", &TSkinFrame::Maximize);
    if (minimised || maximised || FRolledUp) add("MI_RESTORECAPTION", "&Restore", &TSkinFrame::Restore);
    if ((FBorderIcons & biRollUp) && !FRolledUp && !minimised) add("MI_ROLLUPCAPTION", "Ro&llUp", &TSkinFrame::RollUp);
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
            if (!FActive) SetHot(nullptr);
            FrameChanged();
            break;
        case QEvent::WindowTitleChange:
        case QEvent::WindowIconChange:
            FrameChanged();
            break;
        case QEvent::MouseButtonPress:
            MousePress(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonDblClick:
            MouseDoubleClick(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            MouseMove(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonRelease:
            MouseRelease(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::Leave:
            if (!FCaptured) SetHot(nullptr);
            break;
        default:
            break;
    }
    return false;
}

}  // namespace dorvanel::skinctrls
