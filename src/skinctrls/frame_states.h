#pragma once
// The window states a frame keeps for its window: normal, maximised, minimised and rolled up, the bounds a
// restore puts back, and the size limits of each state. The window system sees a normal window throughout:
// the states set the window's bounds themselves (only the program's main window, under a window manager,
// minimises through the window system). Under Wayland, where a client cannot place itself, maximise, restore
// and minimise ask the compositor instead.
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <functional>

namespace dorvanel::skinctrls {

enum class TFormBorderStyle { bsSizeable, bsDialog };
enum class TFrameWindowState { wsNormal, wsMinimized, wsMaximized };

class TFrameStates {
public:
    // What the states ask of the frame that owns them.
    struct THost {
        // The smallest window the frame allows in the present state.
        std::function<QSize()> MinimalSize;
        // The largest (0 on a side: no limit).
        std::function<QSize()> MaximalSize;
        // Called after the states gave the window new bounds.
        std::function<void()> BoundsChanged;
    };

    TFrameStates(QWidget* form, TFormBorderStyle borderStyle, THost host);

    TFrameWindowState WindowState() const { return FWindowState; }
    bool Minimised() const { return FWindowState == TFrameWindowState::wsMinimized; }
    bool Maximised() const { return FWindowState == TFrameWindowState::wsMaximized; }
    bool RolledUp() const { return FRolledUp; }
    // The bounds a restore puts back (null when none are kept).
    QRect RestoreBounds() const { return FRestoreBounds; }

    // Gives the window the screen's work area (the whole screen with fullScreen).
    void Maximize(bool fullScreen);
    void Restore();
    // The program's main window under a window manager leaves the screen for the desktop's task list; any
    // other window shrinks to its smallest size at the bottom left of the work area.
    void Minimize(bool applicationWindow);
    // Toggles between the caption alone and the height the window had.
    void RollUp();

    // Sets the window's bounds (a dialog's size is fixed whenever it is set).
    void SetWindowBounds(const QRect& bounds);
    // Holds the window's size within the limits of the present state.
    void UpdateSizeLimits();
    // Enlarges the window to the smallest size of the present state where it is smaller.
    void EnlargeToMinimalSize();
    // Under Wayland: takes over a maximised or restored state the compositor gave the window.
    void FollowWindowState();

private:
    // Keeps the bounds a restore puts back, unless some are kept already.
    void KeepRestoreBounds();

    QPointer<QWidget> FForm;
    TFormBorderStyle FBorderStyle;
    THost FHost;
    TFrameWindowState FWindowState = TFrameWindowState::wsNormal;
    bool FRolledUp = false;
    QRect FRestoreBounds;
    int FRollUpHeight = 0;
};

// The bounds of a maximised window on a screen (whole screen rectangle) whose work area is area, both in
// logical pixels at the given device pixel ratio: the work area, held one pixel away from being the screen.
QRect MaximizedBounds(const QRect& area, const QRect& screen, qreal ratio);

}  // namespace dorvanel::skinctrls
