#include "support/qt/modal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <memory>

namespace dorvanel::test {

void WhenModal(std::function<void(QWidget*)> action, QWidget* except, int timeoutMs) {
    auto timer = new QTimer(qApp);
    timer->setObjectName(QStringLiteral("dorvanel-modal-watch"));
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QPointer<QWidget> skip(except);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, skip, action, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != skip && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

namespace {

void RunFrom(std::shared_ptr<std::vector<std::function<void(QWidget*)>>> actions, size_t index, QWidget* previous) {
    if (index >= actions->size()) return;
    WhenModal(
        [actions, index](QWidget* modal) {
            // The next watcher starts first: the action may open a nested modal window and only return
            // once that one is closed.
            RunFrom(actions, index + 1, modal);
            (*actions)[index](modal);
        },
        previous);
}

}  // namespace

void WhenModals(std::vector<std::function<void(QWidget*)>> actions) {
    RunFrom(std::make_shared<std::vector<std::function<void(QWidget*)>>>(std::move(actions)), 0, nullptr);
}

void CancelModalWatches() {
    for (QTimer* watch :
         qApp->findChildren<QTimer*>(QStringLiteral("dorvanel-modal-watch"), Qt::FindDirectChildrenOnly))
        delete watch;
}

void PressKey(QWidget* window, int key) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, static_cast<Qt::Key>(key));
}

}  // namespace dorvanel::test
