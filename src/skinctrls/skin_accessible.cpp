#include "skinctrls/skin_accessible.h"

#include "skinctrls/skin_button.h"
#include "skinctrls/skin_checkbox.h"
#include "skinctrls/skin_labels.h"
#include "skinctrls/skin_panel.h"
#include "skinctrls/skin_status.h"

#include <QAccessibleWidget>
#include <QKeySequence>

namespace dorvanel::skinctrls {

namespace {

// A caption as it is read out: the accelerator's "&" dropped, a doubled "&&" kept as one.
QString Spoken(QString caption) {
    caption.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    return caption.replace(QChar(1), QLatin1Char('&'));
}

class AccessibleSkinControl : public QAccessibleWidget {
public:
    AccessibleSkinControl(QWidget* widget, QAccessible::Role role, QString action = QString())
        : QAccessibleWidget(widget, role), FAction(std::move(action)) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return Spoken(CaptionOf(widget()));
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
        if (auto* button = qobject_cast<TSkinButton*>(widget())) s.pressed = button->Down();
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
        if (auto* button = qobject_cast<TSkinButton*>(widget())) button->PerformClick();
        else if (auto* box = qobject_cast<TSkinCheckRadioBox*>(widget())) box->Toggle();
        else if (auto* label = qobject_cast<TSkinStdLabel*>(widget())) label->Click();
    }

private:
    static QString CaptionOf(QWidget* w) {
        if (auto* control = qobject_cast<TSkinControl*>(w)) return control->Caption();
        if (auto* label = qobject_cast<TSkinStdLabel*>(w)) return label->Caption();
        return {};
    }

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

QAccessibleInterface* SkinAccessibleFactory(const QString&, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w) return nullptr;
    if (auto* gauge = qobject_cast<TSkinGauge*>(w)) return new AccessibleGauge(gauge);
    if (qobject_cast<TSkinButton*>(w)) return new AccessibleSkinControl(w, QAccessible::Button, QAccessibleActionInterface::pressAction());
    if (auto* box = qobject_cast<TSkinCheckRadioBox*>(w))
        return new AccessibleSkinControl(w, box->Radio() ? QAccessible::RadioButton : QAccessible::CheckBox,
                                          QAccessibleActionInterface::toggleAction());
    if (qobject_cast<TSkinLinkLabel*>(w)) return new AccessibleSkinControl(w, QAccessible::Link, QStringLiteral("jump"));
    if (qobject_cast<TSkinStdLabel*>(w)) return new AccessibleSkinControl(w, QAccessible::StaticText);
    if (qobject_cast<TSkinStatusPanel*>(w) || qobject_cast<TSkinStatusBar*>(w))
        return new AccessibleSkinControl(w, QAccessible::StatusBar);
    return nullptr;
}

}  // namespace

std::function<void(QAccessibleEvent* event)> AnnounceTo = [](QAccessibleEvent* event) {
    QAccessible::updateAccessibility(event);
};

namespace {

// Only a control on the screen is announced: one still being made would have its interface made (and kept)
// before it knows what kind of control it is.
bool Announced(const QWidget* control) { return control->isVisible(); }

}  // namespace

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

void EnsureSkinAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(SkinAccessibleFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace dorvanel::skinctrls
