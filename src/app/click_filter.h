#pragma once
// Clicks on a control that has no click event of its own (the still banner is a plain picture label).
#include <functional>

class QWidget;

namespace dorvanel::app {

// Calls `handler` whenever the left button is pressed and released over `control`. The filter lives as long
// as the control.
void WhenClicked(QWidget* control, std::function<void()> handler);

}  // namespace dorvanel::app
