#pragma once
// What the skinned controls tell assistive technology (Qt's accessibility layer, which reaches AT-SPI): each
// kind's role, its name (the caption it draws, without the accelerator's "&"), its state and its actions.
// Covered so far: buttons (press), check and radio boxes (toggle), labels, link labels (jump), status
// panels and the status bar (the text as value) and the gauge (its value).

#include <functional>

class QAccessibleEvent;
class QWidget;

namespace dorvanel::skinctrls {

// Installs the factory once per process; every skinned control calls it when it is made.
void EnsureSkinAccessibility();

// Announce a change to assistive technology: a new caption (a status panel's text is its value too), a new
// value of the gauge, a check box checked or cleared.
void AnnounceCaption(QWidget* control);
void AnnounceValue(QWidget* control, int value);
void AnnounceChecked(QWidget* control);
// Where the announcements go: Qt's accessibility layer (which passes them on only while assistive technology
// listens); a test listens here instead.
extern std::function<void(QAccessibleEvent* event)> AnnounceTo;

}  // namespace dorvanel::skinctrls
