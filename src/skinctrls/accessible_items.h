#pragma once
// Parts of the skinned interface that are drawn, not made of widgets, as assistive technology sees them: a
// popup menu's items and a framed window's caption buttons. Each is an accessible object of its own, owned
// by the accessible object of the menu or window it belongs to.
#include "skin/skin_types.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <map>

namespace dorvanel::skinctrls {

class TSkinFrame;
class TSkinPopupMenu;

// A caption as it is read out: the accelerator's "&" dropped, a doubled "&&" kept as one.
QString Spoken(QString caption);

// The popup menu, with one child per item (separators included, as they are drawn).
class TAccessiblePopupMenu : public QAccessibleWidget {
public:
    explicit TAccessiblePopupMenu(TSkinPopupMenu* menu);
    ~TAccessiblePopupMenu() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;

private:
    TSkinPopupMenu* Menu() const;
    mutable std::map<int, QAccessible::Id> FItems;
};

// A window in the skinned frame: its controls, then the caption buttons the frame shows now.
class TAccessibleFramedWindow : public QAccessibleWidget {
public:
    TAccessibleFramedWindow(QWidget* form, TSkinFrame* frame, QAccessible::Role role);
    ~TAccessibleFramedWindow() override;

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    std::vector<skin::TStdCommand> ShownButtons() const;
    QPointer<TSkinFrame> FFrame;
    mutable std::map<skin::TStdCommand, QAccessible::Id> FButtons;
};

}  // namespace dorvanel::skinctrls
