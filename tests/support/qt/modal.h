#pragma once
// Answers modal windows in tests: the action runs once the next modal window is up (polled from the event
// loop, as the program's own modal loop keeps it running).
#include <QWidget>

#include <functional>

namespace dorvanel::test {

// Runs action on the first modal widget that appears and is not `except`. Times out after timeoutMs,
// closing nothing, so a test that expected a dialog fails instead of hanging on one it did not expect.
void WhenModal(std::function<void(QWidget*)> action, QWidget* except = nullptr, int timeoutMs = 5000);

// Runs the actions one after another on the modal windows that appear in turn (a dialog, then the message
// box it shows, ...). Each action should close its window or bring up the next one.
void WhenModals(std::vector<std::function<void(QWidget*)>> actions);

// Drops every watch that has not met its window yet, so that it cannot act on a later test's windows.
void CancelModalWatches();

// Presses a key in the widget that has the focus inside the window (or the window itself).
void PressKey(QWidget* window, int key);

}  // namespace dorvanel::test
