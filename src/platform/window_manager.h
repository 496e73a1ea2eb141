#pragma once
// Whether a window manager looks after the program's windows. Without one (a bare X server) nothing moves,
// sizes or iconifies a window for the program: the window frame then does those itself.

namespace dorvanel::platform {

// True under X11 when a manager announces itself on the root window, and on platforms that always have one
// (Wayland and others); false on the offscreen and minimal platforms.
bool WindowManagerRunning();

}  // namespace dorvanel::platform
