#include "skinctrls/frame_states.h"

#include "platform/window_manager.h"

#include <QScreen>

#include <algorithm>

namespace dorvanel::skinctrls {

TFrameStates::TFrameStates(QWidget* form, TFormBorderStyle borderStyle, THost host)
    : FForm(form), FBorderStyle(borderStyle), FHost(std::move(host)) {}

void TFrameStates::SetWindowBounds(const QRect& bounds) {
    if (FBorderStyle == TFormBorderStyle::bsDialog) {
        FForm->setFixedSize(bounds.size());
        FForm->move(bounds.topLeft());
    } else {
        FForm->setGeometry(bounds);
    }
}

void TFrameStates::UpdateSizeLimits() {
    if (FBorderStyle == TFormBorderStyle::bsDialog) return;  // its size is fixed whenever it is set
    const QSize least = FHost.MinimalSize(), most = FHost.MaximalSize();
    FForm->setMinimumSize(least);
    FForm->setMaximumSize(most.width() > 0 ? std::max(most.width(), least.width()) : QWIDGETSIZE_MAX,
                          most.height() > 0 ? std::max(most.height(), least.height()) : QWIDGETSIZE_MAX);
}

void TFrameStates::EnlargeToMinimalSize() {
    const QSize minimal = FHost.MinimalSize();
    QSize size = FForm->size();
    size.setHeight(FRolledUp || Minimised() ? minimal.height() : std::max(size.height(), minimal.height()));
    size.setWidth(Minimised() ? minimal.width() : std::max(size.width(), minimal.width()));
    if (size != FForm->size()) SetWindowBounds(QRect(FForm->pos(), size));
}

void TFrameStates::KeepRestoreBounds() {
    // Only the first state change keeps them: maximising a minimised window still restores the normal one.
    if (FRestoreBounds.isNull()) FRestoreBounds = FForm->geometry();
    if (FRolledUp) FRestoreBounds.setHeight(FRollUpHeight);
}

void TFrameStates::Maximize(bool fullScreen) {
    if (platform::CompositorPlacesWindows()) {
        // Only the compositor knows the work area and may place the window there.
        FWindowState = TFrameWindowState::wsMaximized;
        FRolledUp = false;
        UpdateSizeLimits();
        if (fullScreen) FForm->showFullScreen();
        else FForm->showMaximized();
        FHost.BoundsChanged();
        return;
    }
    QScreen* screen = FForm->screen();
    if (!screen) return;
    KeepRestoreBounds();
    const QRect area = MaximizedBounds(fullScreen ? screen->geometry() : screen->availableGeometry(),
                                       screen->geometry(), FForm->devicePixelRatioF());
    FWindowState = TFrameWindowState::wsMaximized;
    FRolledUp = false;
    UpdateSizeLimits();
    SetWindowBounds(area);
    FHost.BoundsChanged();
}

void TFrameStates::Restore() {
    const QRect bounds = FRestoreBounds;
    const bool wasRolledUp = FRolledUp && FWindowState == TFrameWindowState::wsNormal;
    FRestoreBounds = {};
    const bool wasPlaced = FWindowState != TFrameWindowState::wsNormal && platform::CompositorPlacesWindows();
    FWindowState = TFrameWindowState::wsNormal;
    if (wasPlaced) {
        FRolledUp = false;
        UpdateSizeLimits();
        FForm->showNormal();
        FHost.BoundsChanged();
        return;
    }
    if (wasRolledUp) {
        RollUp();
        return;
    }
    FRolledUp = false;
    UpdateSizeLimits();
    if (!bounds.isNull()) SetWindowBounds(bounds);
    FHost.BoundsChanged();
}

void TFrameStates::Minimize(bool applicationWindow) {
    // The compositor never says when a minimised window comes back: its state stays the frame's normal one.
    if ((applicationWindow && platform::WindowManagerRunning()) || platform::CompositorPlacesWindows()) {
        FForm->showMinimized();
        return;
    }
    QScreen* screen = FForm->screen();
    if (!screen) return;
    KeepRestoreBounds();
    FWindowState = TFrameWindowState::wsMinimized;
    FRolledUp = false;
    UpdateSizeLimits();
    const QSize size = FHost.MinimalSize();
    const QRect area = screen->availableGeometry();
    SetWindowBounds(QRect(QPoint(area.left(), area.bottom() + 1 - size.height()), size));
    FHost.BoundsChanged();
}

void TFrameStates::FollowWindowState() {
    if (!platform::CompositorPlacesWindows()) return;
    const Qt::WindowStates state = FForm->windowState();
    if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) FWindowState = TFrameWindowState::wsMaximized;
    else if (FWindowState == TFrameWindowState::wsMaximized) FWindowState = TFrameWindowState::wsNormal;
}

QRect MaximizedBounds(const QRect& area, const QRect& screen, qreal ratio) {
    if (area != screen) return area;
    // A window as large as the whole screen would be taken for a full-screen one. One logical pixel is more
    // than one device pixel above a ratio of 1 (two at 1.5, where the position is rounded up): there the
    // window keeps the top-left corner and gives up its pixel at the right and bottom only.
    if (ratio > 1.0) return area.adjusted(0, 0, -1, -1);
    return area.adjusted(1, 1, -1, -1);
}

void TFrameStates::RollUp() {
    QRect bounds = FForm->geometry();
    if (!FRolledUp) {
        FRollUpHeight = bounds.height();
        FRolledUp = true;
        UpdateSizeLimits();
        bounds.setHeight(FHost.MinimalSize().height());
    } else {
        FRolledUp = false;
        UpdateSizeLimits();
        bounds.setHeight(std::max(FRollUpHeight, FHost.MinimalSize().height()));
    }
    SetWindowBounds(bounds);
    FHost.BoundsChanged();
}

}  // namespace dorvanel::skinctrls
