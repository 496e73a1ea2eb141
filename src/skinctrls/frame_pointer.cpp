#include "skinctrls/frame_pointer.h"

#include "platform/window_manager.h"
#include "skinctrls/skin_frame.h"

#include <QMouseEvent>
#include <QWindow>

#include <algorithm>

namespace dorvanel::skinctrls {

using skin::TStdCommand;

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

THitCode TFramePointer::HitTest(QPoint at) const {
    const QSize size = FFrame.Form()->size();
    if (!QRect(QPoint(0, 0), size).contains(at)) return THitCode::Nowhere;
    const TFrameFit& fit = FFrame.Fit();
    const TSkinCaptionObject* caption = FFrame.CaptionObject();
    // A skin without a caption object still moves by its caption strip.
    const QRect captionRect = caption ? caption->ObjectRect : fit.CaptionRect.ToQRect();
    const bool inCaption = captionRect.contains(at) && !EnabledButtonAt(at);
    if (FFrame.RolledUp() || FFrame.WindowState() == TFrameWindowState::wsMinimized)
        return inCaption ? THitCode::Caption : THitCode::Object;
    const QRect client = fit.ClientRect.ToQRect();
    if (FHot && !inCaption && !client.contains(at) && FDrag == TDragKind::None) return THitCode::Object;
    if (FFrame.BorderStyle() == TFormBorderStyle::bsSizeable &&
        FFrame.WindowState() != TFrameWindowState::wsMaximized) {
        const QRegion& shape = FFrame.WindowShape();
        const THitCode border =
            FFrame.SkinInUse()
                ? SkinBorderHit(fit, FFrame.SkinData()->FormInfo().borderwidth, shape.isEmpty() ? nullptr : &shape, at)
                : PlainBorderHit(size, at);
        if (border != THitCode::Nowhere) return border;
    }
    if (client.contains(at)) return THitCode::Client;
    if (inCaption) return THitCode::Caption;
    return THitCode::Object;
}

TSkinStdButtonObject* TFramePointer::EnabledButtonAt(QPoint at) const {
    for (const auto& object : FFrame.Objects())
        if (auto* button = dynamic_cast<TSkinStdButtonObject*>(object.get());
            button && button->Enabled && button->Visible && button->ObjectRect.contains(at))
            return button;
    return nullptr;
}

void TFramePointer::SetHot(TSkinStdButtonObject* button) {
    if (button == FHot) return;
    // Only a skin's button blends its images (the plain frame's have no description).
    const auto blends = [](const TSkinStdButtonObject* b) { return b->Data() && b->Data()->morphing; };
    if (FHot) {
        FHot->Hot = false;
        FHot->Blend.MoveTo(false, blends(FHot));
        FFrame.FrameChanged(FHot->ObjectRect);
    }
    FHot = button;
    if (FHot) {
        FHot->Hot = true;
        FHot->Blend.MoveTo(true, blends(FHot));
        FFrame.FrameChanged(FHot->ObjectRect);
    }
}

void TFramePointer::Leave() {
    if (!FCaptured) SetHot(nullptr);
}

void TFramePointer::UpdateCursor(THitCode code) {
    QWidget* form = FFrame.Form();
    const Qt::CursorShape shape = CursorOf(code);
    if (form->cursor().shape() != shape) form->setCursor(shape);
}

void TFramePointer::Press(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const THitCode code = HitTest(at);
    if (event->button() == Qt::RightButton) {
        if (code == THitCode::Caption) FFrame.ShowSystemMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (code == THitCode::Object) {
        TSkinStdButtonObject* button = EnabledButtonAt(at);
        if (!button) return;
        if (button->Command == TStdCommand::cmSysMenu) {
            // The system-menu button opens its menu on the press, below itself.
            SetHot(nullptr);
            FFrame.ShowSystemMenuBelow(button->ObjectRect);
            return;
        }
        FCaptured = button;
        button->Pressed = true;
        SetHot(button);
        FFrame.FrameChanged(button->ObjectRect);
        return;
    }
    // A maximised window stays where it is.
    if (code == THitCode::Caption && FFrame.WindowState() != TFrameWindowState::wsMaximized) FDrag = TDragKind::Move;
    else if (IsBorderCode(code)) FDrag = TDragKind::Size;
    else return;
    FDragEdges = code;
    FDragStart = event->globalPosition().toPoint();
    FDragBounds = FFrame.Form()->geometry();
    FSystemTried = false;
}

void TFramePointer::Move(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (FCaptured) {
        const bool over = FCaptured->ObjectRect.contains(at);
        if (FCaptured->Hot != over) {
            FCaptured->Hot = over;
            FFrame.FrameChanged(FCaptured->ObjectRect);
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

void TFramePointer::DragTo(QPoint globalPos) {
    const QPoint delta = globalPos - FDragStart;
    if (delta.isNull()) return;
    if (!FSystemTried) {
        FSystemTried = true;
        // At the first step the window system takes the move or the sizing where it can (its snapping and
        // limits apply), told that it began at the press: it places the window from the pointer's travel since
        // the press, so no step is lost however late it starts. A click or a double click starts nothing.
        const Qt::Edges edges = FDrag == TDragKind::Move ? Qt::Edges() : EdgesOf(FDragEdges);
        if (platform::StartSystemMoveResize(FFrame.Form()->windowHandle(), FDragStart, edges)) {
            FDrag = TDragKind::None;
            return;
        }
    }
    if (FDrag == TDragKind::Move) FFrame.Form()->move(FDragBounds.topLeft() + delta);
    else SizeBy(delta);
}

void TFramePointer::SizeBy(QPoint delta) {
    const QSize least = FFrame.MinimalSize();
    const QSize most = FFrame.Form()->maximumSize().expandedTo(least);
    const Qt::Edges edges = EdgesOf(FDragEdges);
    int left = FDragBounds.left(), right = FDragBounds.right() + 1;
    int top = FDragBounds.top(), bottom = FDragBounds.bottom() + 1;
    // The dragged edge moves with the pointer; the opposite one stays, the size held within its limits.
    if (edges & Qt::LeftEdge) left = std::clamp(left + delta.x(), right - most.width(), right - least.width());
    if (edges & Qt::RightEdge) right = std::clamp(right + delta.x(), left + least.width(), left + most.width());
    if (edges & Qt::TopEdge) top = std::clamp(top + delta.y(), bottom - most.height(), bottom - least.height());
    if (edges & Qt::BottomEdge) bottom = std::clamp(bottom + delta.y(), top + least.height(), top + most.height());
    FFrame.States().SetWindowBounds(QRect(left, top, right - left, bottom - top));
}

void TFramePointer::Release(QMouseEvent* event) {
    FDrag = TDragKind::None;
    if (event->button() != Qt::LeftButton || !FCaptured) return;
    TSkinStdButtonObject* button = FCaptured;
    FCaptured = nullptr;
    const bool run = button->Hot && button->ObjectRect.contains(event->position().toPoint());
    button->Pressed = false;
    FFrame.FrameChanged(button->ObjectRect);
    if (!run) SetHot(EnabledButtonAt(event->position().toPoint()));
    // Last: closing may end the window's life.
    if (run) FFrame.RunCommand(button->Command);
}

void TFramePointer::DoubleClick(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || HitTest(event->position().toPoint()) != THitCode::Caption) {
        Press(event);
        return;
    }
    FDrag = TDragKind::None;
    const bool sizeable = FFrame.BorderStyle() == TFormBorderStyle::bsSizeable;
    const TFrameWindowState state = FFrame.WindowState();
    if (sizeable && state == TFrameWindowState::wsMinimized) FFrame.Restore();
    else if (sizeable && state == TFrameWindowState::wsNormal && !FFrame.RolledUp() &&
             (FFrame.BorderIcons() & biMaximize))
        FFrame.Maximize();
    else if (sizeable && state == TFrameWindowState::wsMaximized) FFrame.Restore();
    else if (FFrame.BorderIcons() & biRollUp) FFrame.RollUp();
}

}  // namespace dorvanel::skinctrls
