#include "skinctrls/accessible_items.h"

#include "skinctrls/skin_form.h"
#include "skinctrls/skin_frame.h"
#include "skinctrls/skin_popup_menu.h"

#include <QTimer>
#include <QWindow>

namespace dorvanel::skinctrls {

QString Spoken(QString caption) {
    caption.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    return caption.replace(QChar(1), QLatin1Char('&'));
}

namespace {

// What the drawn parts share: no object of their own, a parent that owns them, one "press" action.
class DrawnPart : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    explicit DrawnPart(QWidget* owner) : FOwner(owner) {}

    bool isValid() const override { return !FOwner.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return FOwner ? FOwner->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(FOwner.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const QRect local = LocalRect();
        return FOwner && local.isValid() ? QRect(FOwner->mapToGlobal(local.topLeft()), local.size()) : QRect();
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override {
        return isValid() && Usable() ? QStringList{pressAction()} : QStringList{};
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && Usable()) Press();
    }

protected:
    QWidget* Owner() const { return FOwner.data(); }
    virtual QRect LocalRect() const = 0;
    virtual bool Usable() const = 0;
    virtual void Press() = 0;

private:
    QPointer<QWidget> FOwner;
};

class MenuItemPart : public DrawnPart {
public:
    MenuItemPart(TSkinPopupMenu* menu, int index) : DrawnPart(menu), FIndex(index) {}

    bool isValid() const override { return DrawnPart::isValid() && FIndex < int(Menu()->Items().size()); }
    QAccessible::Role role() const override {
        return Item().Separator ? QAccessible::Separator : QAccessible::MenuItem;
    }
    QString text(QAccessible::Text t) const override {
        if (!isValid() || Item().Separator) return {};
        if (t == QAccessible::Name) return Spoken(Item().Caption);
        if (t == QAccessible::Accelerator) return QKeySequence::mnemonic(Item().Caption).toString();
        return {};
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) return s;
        s.invisible = !Menu()->isVisible();
        s.disabled = !Item().Enabled;
        s.focusable = !Item().Separator;
        s.focused = Menu()->HotItem() == FIndex;
        if (Menu()->CheckedItem() == FIndex) s.checkable = s.checked = true;
        return s;
    }

protected:
    QRect LocalRect() const override { return Menu()->ItemRect(FIndex); }
    bool Usable() const override { return Item().Enabled && !Item().Separator; }
    void Press() override { Menu()->Run(FIndex); }

private:
    TSkinPopupMenu* Menu() const { return static_cast<TSkinPopupMenu*>(Owner()); }
    const TSkinMenuItem& Item() const { return Menu()->Items()[std::size_t(FIndex)]; }
    int FIndex;
};

class CaptionButtonPart : public DrawnPart {
public:
    CaptionButtonPart(TSkinFrame* frame, skin::TStdCommand command)
        : DrawnPart(frame->Form()), FFrame(frame), FCommand(command) {}

    bool isValid() const override { return DrawnPart::isValid() && FFrame; }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name) return Spoken(FFrame->CommandCaption(FCommand));
        return {};
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        const TSkinStdButtonObject* button = isValid() ? FFrame->Button(FCommand) : nullptr;
        s.invisible = !button || !Owner()->isVisible();
        if (!button) return s;
        s.disabled = !button->Enabled;
        s.pressed = button->Pressed;
        s.hotTracked = button->Hot;
        return s;
    }

protected:
    QRect LocalRect() const override {
        const TSkinStdButtonObject* button = FFrame->Button(FCommand);
        return button ? button->ObjectRect : QRect();
    }
    bool Usable() const override {
        const TSkinStdButtonObject* button = FFrame->Button(FCommand);
        return button && button->Enabled;
    }
    // Queued: a command may close the window, and the caller (often the accessibility bridge) is still
    // inside its request.
    void Press() override {
        QTimer::singleShot(0, FFrame.data(), [frame = FFrame, command = FCommand] {
            if (frame) frame->RunCommand(command);
        });
    }

private:
    QPointer<TSkinFrame> FFrame;
    skin::TStdCommand FCommand;
};

// The child kept under key, made at the first request; the registry owns it until the parent lets it go.
template <typename Key, typename Make>
QAccessibleInterface* Kept(std::map<Key, QAccessible::Id>& kept, const Key& key, Make make) {
    auto at = kept.find(key);
    if (at != kept.end())
        if (QAccessibleInterface* known = QAccessible::accessibleInterface(at->second)) return known;
    QAccessibleInterface* made = make();
    kept[key] = QAccessible::registerAccessibleInterface(made);
    return made;
}

// Whether child is one of the kept children, and under which key.
template <typename Key>
bool KeyOf(const std::map<Key, QAccessible::Id>& kept, const QAccessibleInterface* child, Key& key) {
    for (const auto& [k, id] : kept)
        if (QAccessible::accessibleInterface(id) == child) {
            key = k;
            return true;
        }
    return false;
}

template <typename Key>
void LetGo(std::map<Key, QAccessible::Id>& kept) {
    for (const auto& entry : kept) QAccessible::deleteAccessibleInterface(entry.second);
    kept.clear();
}

}  // namespace

// ---- the popup menu ----

TAccessiblePopupMenu::TAccessiblePopupMenu(TSkinPopupMenu* menu) : QAccessibleWidget(menu, QAccessible::PopupMenu) {}

TAccessiblePopupMenu::~TAccessiblePopupMenu() { LetGo(FItems); }

TSkinPopupMenu* TAccessiblePopupMenu::Menu() const { return static_cast<TSkinPopupMenu*>(widget()); }

int TAccessiblePopupMenu::childCount() const { return int(Menu()->Items().size()); }

QAccessibleInterface* TAccessiblePopupMenu::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    return Kept(FItems, index, [&] { return new MenuItemPart(Menu(), index); });
}

int TAccessiblePopupMenu::indexOfChild(const QAccessibleInterface* child) const {
    int index = -1;
    return KeyOf(FItems, child, index) && index < childCount() ? index : -1;
}

QAccessibleInterface* TAccessiblePopupMenu::focusChild() const { return child(Menu()->HotItem()); }

// ---- the framed window ----

TAccessibleFramedWindow::TAccessibleFramedWindow(QWidget* form, TSkinFrame* frame, QAccessible::Role role)
    : QAccessibleWidget(form, role), FFrame(frame) {}

TAccessibleFramedWindow::~TAccessibleFramedWindow() { LetGo(FButtons); }

QString TAccessibleFramedWindow::text(QAccessible::Text t) const {
    if (t == QAccessible::Description)
        if (auto* form = qobject_cast<TSkinForm*>(widget()); form && !form->AlertText().isEmpty())
            return form->AlertText();
    return QAccessibleWidget::text(t);
}

std::vector<skin::TStdCommand> TAccessibleFramedWindow::ShownButtons() const {
    std::vector<skin::TStdCommand> shown;
    if (!FFrame) return shown;
    for (const auto& object : FFrame->Objects())
        if (auto* button = dynamic_cast<const TSkinStdButtonObject*>(object.get()))
            if (button->Visible && button->Command != skin::TStdCommand::cmDefault &&
                FFrame->Button(button->Command) == button)
                shown.push_back(button->Command);
    return shown;
}

int TAccessibleFramedWindow::childCount() const {
    return QAccessibleWidget::childCount() + int(ShownButtons().size());
}

QAccessibleInterface* TAccessibleFramedWindow::child(int index) const {
    const int controls = QAccessibleWidget::childCount();
    if (index < controls) return QAccessibleWidget::child(index);
    const std::vector<skin::TStdCommand> shown = ShownButtons();
    if (index - controls >= int(shown.size())) return nullptr;
    const skin::TStdCommand command = shown[std::size_t(index - controls)];
    return Kept(FButtons, command, [&] { return new CaptionButtonPart(FFrame.data(), command); });
}

int TAccessibleFramedWindow::indexOfChild(const QAccessibleInterface* child) const {
    skin::TStdCommand command{};
    if (!KeyOf(FButtons, child, command)) return QAccessibleWidget::indexOfChild(child);
    const std::vector<skin::TStdCommand> shown = ShownButtons();
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (shown[i] == command) return QAccessibleWidget::childCount() + int(i);
    return -1;
}

}  // namespace dorvanel::skinctrls
