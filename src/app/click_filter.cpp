#include "app/click_filter.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace dorvanel::app {

namespace {

class ClickFilter : public QObject {
public:
    ClickFilter(QWidget* control, std::function<void()> handler) : QObject(control), FHandler(std::move(handler)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* control = static_cast<QWidget*>(parent());
        if (watched != control) return false;
        if (event->type() == QEvent::MouseButtonPress) {
            FPressed = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        } else if (event->type() == QEvent::MouseButtonRelease && FPressed) {
            FPressed = false;
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && control->rect().contains(mouse->position().toPoint()) && FHandler)
                FHandler();
        }
        return false;
    }

private:
    std::function<void()> FHandler;
    bool FPressed = false;
};

}  // namespace

void WhenClicked(QWidget* control, std::function<void()> handler) {
    control->installEventFilter(new ClickFilter(control, std::move(handler)));
}

}  // namespace dorvanel::app
