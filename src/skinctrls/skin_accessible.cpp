#include "skinctrls/skin_accessible.h"

#include "skinctrls/accessible_items.h"
#include "skinctrls/skin_button.h"
#include "skinctrls/skin_checkbox.h"
#include "skinctrls/skin_combobox.h"
#include "skinctrls/skin_edit.h"
#include "skinctrls/skin_form.h"
#include "skinctrls/skin_frame.h"
#include "skinctrls/skin_labels.h"
#include "skinctrls/skin_panel.h"
#include "skinctrls/skin_popup_menu.h"
#include "skinctrls/skin_scrollbar.h"
#include "skinctrls/skin_status.h"

#include <QAccessibleWidget>
#include <QDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include <climits>

namespace dorvanel::skinctrls {

QString LabelOf(const QWidget* control) {
    const QWidget* parent = control->parentWidget();
    if (!parent) return {};
    const QRect at = control->geometry();
    // A label counts when it ends at most this far above the control, or before it on its line.
    constexpr int kReach = 40;
    const TSkinStdLabel* nearest = nullptr;
    int distance = INT_MAX;
    for (const TSkinStdLabel* label : parent->findChildren<TSkinStdLabel*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<const TSkinLinkLabel*>(label) || label->Caption().isEmpty()) continue;
        const QRect l = label->geometry();
        const bool sideBySide = l.left() <= at.right() && l.right() >= at.left();
        const bool sameLine = l.top() <= at.bottom() && l.bottom() >= at.top();
        int d = INT_MAX;
        if (sideBySide && l.bottom() <= at.top() + 2) d = at.top() - l.bottom();
        else if (sameLine && l.right() <= at.left() + 2) d = at.left() - l.right();
        if (d <= kReach && d < distance) {
            distance = d;
            nearest = label;
        }
    }
    return nearest ? Spoken(nearest->Caption()) : QString();
}

namespace {

QString CaptionOf(QWidget* w) {
    if (auto* control = qobject_cast<TSkinControl*>(w)) return control->Caption();
    if (auto* label = qobject_cast<TSkinStdLabel*>(w)) return label->Caption();
    return {};
}

// The name a control without a caption of its own is read by: the one set for it, else its label's.
QString LabelledName(QWidget* w) { return w->accessibleName().isEmpty() ? LabelOf(w) : w->accessibleName(); }

class AccessibleSkinControl : public QAccessibleWidget {
public:
    AccessibleSkinControl(QWidget* widget, QAccessible::Role role, QString action = QString())
        : QAccessibleWidget(widget, role), FAction(std::move(action)) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            if (!widget()->accessibleName().isEmpty()) return widget()->accessibleName();
            return Spoken(CaptionOf(widget()));
        }
        if (t == QAccessible::Value) {
            // A status panel is read by its text, which changes as the program works.
            if (role() == QAccessible::StatusBar)
                if (auto* control = qobject_cast<TSkinControl*>(widget())) return control->Caption();
        }
        if (t == QAccessible::Accelerator)
            return QKeySequence::mnemonic(CaptionOf(widget())).toString(QKeySequence::NativeText);
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (auto* button = qobject_cast<TSkinButton*>(widget())) {
            s.pressed = button->Down();
            s.defaultButton = button->Default();
        }
        if (auto* box = qobject_cast<TSkinCheckRadioBox*>(widget())) {
            s.checkable = true;
            s.checked = box->Checked();
        }
        if (role() == QAccessible::Link) s.linked = true;
        return s;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (!FAction.isEmpty() && widget()->isEnabled()) names.prepend(FAction);
        return names;
    }

    void doAction(const QString& name) override {
        if (name != FAction || !widget()->isEnabled()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        // Queued: a press may open a modal dialog, and the caller (often the accessibility bridge answering a
        // request) must not wait inside it until the dialog closes.
        QTimer::singleShot(0, widget(), [w = QPointer<QWidget>(widget())] {
            if (!w || !w->isEnabled()) return;
            if (auto* button = qobject_cast<TSkinButton*>(w)) button->PerformClick();
            else if (auto* box = qobject_cast<TSkinCheckRadioBox*>(w)) box->Toggle();
            else if (auto* label = qobject_cast<TSkinStdLabel*>(w)) label->Click();
            else if (auto* combo = qobject_cast<TSkinComboBox*>(w)) combo->DropDown();
        });
    }

private:
    QString FAction;
};

// The gauge: a progress bar whose value the value interface gives.
class AccessibleGauge : public AccessibleSkinControl, public QAccessibleValueInterface {
public:
    explicit AccessibleGauge(TSkinGauge* gauge) : AccessibleSkinControl(gauge, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return AccessibleSkinControl::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return QString::number(Gauge()->Value());
        return AccessibleSkinControl::text(t);
    }
    QVariant currentValue() const override { return Gauge()->Value(); }
    void setCurrentValue(const QVariant&) override {}  // the program sets it, not the user
    QVariant maximumValue() const override { return Gauge()->MaxValue(); }
    QVariant minimumValue() const override { return Gauge()->MinValue(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    TSkinGauge* Gauge() const { return static_cast<TSkinGauge*>(widget()); }
};

// A scroll bar: its position through the value interface; setting it scrolls as dragging the thumb does.
class AccessibleScrollBar : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleScrollBar(TSkinScrollBar* bar) : QAccessibleWidget(bar, QAccessible::ScrollBar) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return QString::number(Bar()->Position());
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return Bar()->Position(); }
    void setCurrentValue(const QVariant& value) override { Bar()->SetPosition(value.toInt()); }
    QVariant maximumValue() const override { return Bar()->Max(); }
    QVariant minimumValue() const override { return Bar()->Min(); }
    QVariant minimumStepSize() const override { return Bar()->SmallChange(); }

private:
    TSkinScrollBar* Bar() const { return static_cast<TSkinScrollBar*>(widget()); }
};

// The edit box: its own QLineEdit does the typing, so the text interfaces are that edit's; the box stands
// for it in the tree (one editable text, named by its label).
class AccessibleEdit : public QAccessibleWidget {
public:
    explicit AccessibleEdit(TSkinEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface || t == QAccessible::EditableTextInterface)
            if (QAccessibleInterface* inner = Inner()) return inner->interface_cast(t);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return LabelledName(widget());
        if (t == QAccessible::Value) return Edit()->Text();
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t == QAccessible::Value) Edit()->SetText(text);
        else QAccessibleWidget::setText(t, text);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = true;
        s.focusable = true;
        s.focused = Edit()->LineEdit()->hasFocus();
        s.passwordEdit = Edit()->LineEdit()->echoMode() != QLineEdit::Normal;
        return s;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

private:
    TSkinEdit* Edit() const { return static_cast<TSkinEdit*>(widget()); }
    QAccessibleInterface* Inner() const { return QAccessible::queryAccessibleInterface(Edit()->LineEdit()); }
};

// A combo box: read by its label, its value the chosen item; "showMenu" opens its list.
class AccessibleCombo : public AccessibleSkinControl {
public:
    explicit AccessibleCombo(TSkinComboBox* combo)
        : AccessibleSkinControl(combo, QAccessible::ComboBox, QAccessibleActionInterface::showMenuAction()) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return LabelledName(widget());
        if (t == QAccessible::Value) return Combo()->Text();
        return AccessibleSkinControl::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = AccessibleSkinControl::state();
        s.expandable = true;
        s.expanded = Combo()->DroppedDown();
        return s;
    }

private:
    TSkinComboBox* Combo() const { return static_cast<TSkinComboBox*>(widget()); }
};

QAccessibleInterface* SkinAccessibleFactory(const QString&, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w) return nullptr;
    if (w->isWindow())
        if (auto* frame = w->findChild<TSkinFrame*>(QString(), Qt::FindDirectChildrenOnly)) {
            auto* form = qobject_cast<TSkinForm*>(w);
            const QAccessible::Role role = form && !form->AlertText().isEmpty() ? QAccessible::AlertMessage
                                           : qobject_cast<QDialog*>(w)         ? QAccessible::Dialog
                                                                               : QAccessible::Window;
            return new TAccessibleFramedWindow(w, frame, role);
        }
    if (auto* menu = qobject_cast<TSkinPopupMenu*>(w)) return new TAccessiblePopupMenu(menu);
    if (auto* gauge = qobject_cast<TSkinGauge*>(w)) return new AccessibleGauge(gauge);
    if (auto* bar = qobject_cast<TSkinScrollBar*>(w)) return new AccessibleScrollBar(bar);
    if (auto* edit = qobject_cast<TSkinEdit*>(w)) return new AccessibleEdit(edit);
    if (auto* combo = qobject_cast<TSkinComboBox*>(w)) return new AccessibleCombo(combo);
    if (qobject_cast<TSkinButton*>(w))
        return new AccessibleSkinControl(w, QAccessible::Button, QAccessibleActionInterface::pressAction());
    if (auto* box = qobject_cast<TSkinCheckRadioBox*>(w))
        return new AccessibleSkinControl(w, box->Radio() ? QAccessible::RadioButton : QAccessible::CheckBox,
                                          QAccessibleActionInterface::toggleAction());
    if (qobject_cast<TSkinLinkLabel*>(w)) return new AccessibleSkinControl(w, QAccessible::Link, QStringLiteral("jump"));
    if (qobject_cast<TSkinStdLabel*>(w)) return new AccessibleSkinControl(w, QAccessible::StaticText);
    if (qobject_cast<TSkinStatusPanel*>(w) || qobject_cast<TSkinStatusBar*>(w))
        return new AccessibleSkinControl(w, QAccessible::StatusBar);
    return nullptr;
}

// Only a control on the screen is announced: one still being made would have its interface made (and kept)
// before it knows what kind of control it is.
bool Announced(const QWidget* control) { return control->isVisible(); }

}  // namespace

std::function<void(QAccessibleEvent* event)> AnnounceTo = [](QAccessibleEvent* event) {
    QAccessible::updateAccessibility(event);
};

void AnnounceCaption(QWidget* control) {
    if (!Announced(control)) return;
    QAccessibleEvent named(control, QAccessible::NameChanged);
    AnnounceTo(&named);
    if (qobject_cast<TSkinStatusPanel*>(control) || qobject_cast<TSkinStatusBar*>(control)) {
        QAccessibleValueChangeEvent value(control, static_cast<TSkinControl*>(control)->Caption());
        AnnounceTo(&value);
    }
}

void AnnounceValue(QWidget* control, int value) {
    if (!Announced(control)) return;
    QAccessibleValueChangeEvent changed(control, value);
    AnnounceTo(&changed);
}

void AnnounceChecked(QWidget* control) {
    if (!Announced(control)) return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(control, changed);
    AnnounceTo(&event);
}

void AnnounceDialog(QWidget* dialog, bool alert) {
    QAccessibleEvent opened(dialog, alert ? QAccessible::Alert : QAccessible::DialogStart);
    AnnounceTo(&opened);
}

void AnnounceMenu(TSkinPopupMenu* menu, bool opened) {
    QAccessibleEvent event(menu, opened ? QAccessible::PopupMenuStart : QAccessible::PopupMenuEnd);
    AnnounceTo(&event);
}

void AnnounceFocusedItem(TSkinPopupMenu* menu, int index) {
    if (!Announced(menu)) return;
    QAccessibleEvent focused(menu, QAccessible::Focus);
    focused.setChild(index);
    AnnounceTo(&focused);
}

void EnsureSkinAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(SkinAccessibleFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace dorvanel::skinctrls
