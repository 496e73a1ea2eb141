#pragma once
// Whether a window manager looks after the program's windows. Without one (a bare X server) nothing moves,
// sizes or iconifies a window for the program: the window frame then does those itself.

#include <QPoint>
#include <Qt>

class QWindow;

namespace dorvanel::platform {

// True under X11 when a manager announces itself on the root window, and on platforms that always have one
// (Wayland and others); false on the offscreen and minimal platforms.
bool WindowManagerRunning();

// True on a Wayland session, where the compositor alone places windows: a client cannot set its own position,
// ask for the work area, or shape its window; it asks the compositor to move, size, maximise and minimise it.
bool CompositorPlacesWindows();

// Hands a move of window (edges empty) or a sizing from its edges to the window manager while the left button
// is held, as if it had begun where the button was pressed (pressedAt, global): the manager places the window
// from the pointer's travel since then, so the point pressed stays under the pointer. False where no manager
// takes it; the caller then moves or sizes the window itself.
bool StartSystemMoveResize(QWindow* window, QPoint pressedAt, Qt::Edges edges);

}  // namespace dorvanel::platform
