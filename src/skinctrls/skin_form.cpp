#include "skinctrls/skin_form.h"

#include "platform/align.h"
#include "platform/window_manager.h"
#include "skin/skin_events.h"
#include "skinctrls/skin_accessible.h"
#include "skinctrls/skin_button.h"

#include <QApplication>
#include <QCloseEvent>
#include <QWindow>
#include <QKeyEvent>
#include <QShowEvent>
#include <QScreen>

namespace dorvanel::skinctrls {

TSkinForm::TSkinForm(QWidget* parent, TFormBorderStyle borderStyle) : QDialog(parent) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    SkinFrame1 = new TSkinFrame(this, borderStyle);
}

void TSkinForm::SetClientSize(int width, int height) {
    SkinFrame1->SetClientSize(width, height);
    platform::AlignControls(ClientArea());
}

void TSkinForm::SetModalResult(int result) {
    FModalResult = result;
    if (result == mrNone || FClosePending) return;
    FClosePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            FClosePending = false;
            if (FModalResult != mrNone) done(FModalResult);
        },
        Qt::QueuedConnection);
}

int TSkinForm::ShowModal() {
    FModalResult = mrNone;
    if (platform::CompositorPlacesWindows()) {
        // The compositor places a dialog by the window it belongs to, which it must be told.
        QWidget* owner = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
        if (owner && owner != this && owner->windowHandle()) {
            winId();
            if (QWindow* window = windowHandle()) window->setTransientParent(owner->windowHandle());
        }
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + area.width() / 2 - width() / 2, area.top() + area.height() / 2 - height() / 2);
    }
    exec();
    return FModalResult;
}

void TSkinForm::done(int result) {
    FModalResult = result;
    QDialog::done(result);
}

void TSkinForm::reject() { done(mrCancel); }

void TSkinForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    AnnounceDialog(this, !FAlertText.isEmpty());
}

void TSkinForm::closeEvent(QCloseEvent* event) {
    // Closing through the frame answers Cancel.
    if (isVisible() && FModalResult == mrNone) FModalResult = mrCancel;
    QDialog::closeEvent(event);
}

void TSkinForm::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Reached only when the focus is not on a button: every default button is the active one.
        bool handled = false;
        for (TSkinButton* button : findChildren<TSkinButton*>()) {
            if (button->window() != this || !button->Default() || !button->isEnabled() || !button->isVisible())
                continue;
            button->PerformClick();
            handled = true;
        }
        if (handled) return;
    } else if (key == Qt::Key_Escape) {
        // Escape presses a cancel button that could take the focus; with none, it does nothing.
        if (plain)
            for (TSkinButton* button : findChildren<TSkinButton*>()) {
                if (button->window() != this || !button->Cancel() || !button->CanFocused() || !button->isEnabled() ||
                    !button->isVisible())
                    continue;
                button->PerformClick();
                break;
            }
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace dorvanel::skinctrls
