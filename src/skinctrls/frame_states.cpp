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
    QScreen* screen = FForm->screen();
    if (!screen) return;
    KeepRestoreBounds();
    QRect area = fullScreen ? screen->geometry() : screen->availableGeometry();
    // A window as large as the whole screen would be taken for a full-screen one.
    if (area == screen->geometry()) area.adjust(1, 1, -1, -1);
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
    FWindowState = TFrameWindowState::wsNormal;
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
    if (applicationWindow && platform::WindowManagerRunning()) {
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
