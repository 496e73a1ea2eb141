#pragma once
// What the skinned controls tell assistive technology (Qt's accessibility layer, which reaches AT-SPI): each
// kind's role, its name (the caption it draws, without the accelerator's "&"; for an edit or a combo box the
// label that stands above it or before it), its state, its value and its actions. The list view is Qt's own
// tree table; the drawn parts (menu items, caption buttons) are in accessible_items.h.

#include <functional>

class QAccessibleEvent;
class QString;
class QWidget;

namespace dorvanel::skinctrls {

class TSkinPopupMenu;

// Installs the factory once per process; every skinned control calls it when it is made.
void EnsureSkinAccessibility();

// The caption of the label a sighted user reads as the control's name: the nearest plain label just above
// the control or just before it on the same line, among its siblings (empty when there is none).
QString LabelOf(const QWidget* control);

// Announce a change to assistive technology: a new caption (a status panel's text is its value too), a new
// value of the gauge, a check box checked or cleared, a dialog (or message box) opened, a popup menu opened
// or closed, and the item the keyboard or the mouse is on.
void AnnounceCaption(QWidget* control);
void AnnounceValue(QWidget* control, int value);
void AnnounceChecked(QWidget* control);
void AnnounceDialog(QWidget* dialog, bool alert);
void AnnounceMenu(TSkinPopupMenu* menu, bool opened);
void AnnounceFocusedItem(TSkinPopupMenu* menu, int index);
// Where the announcements go: Qt's accessibility layer (which passes them on only while assistive technology
// listens); a test listens here instead.
extern std::function<void(QAccessibleEvent* event)> AnnounceTo;

}  // namespace dorvanel::skinctrls
