#include "images/image_control.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace dorvanel::images {

namespace {
constexpr int kDefaultSide = 105;
}  // namespace

TImageControl::TImageControl(QWidget* parent) : QWidget(parent) { resize(kDefaultSide, kDefaultSide); }

QColor TImageControl::Color() const { return palette().color(backgroundRole()); }

void TImageControl::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0) return;
    QImage canvas(size(), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter p(&canvas);
        Paint(p);
    }
    QPainter screen(this);
    screen.drawImage(0, 0, canvas);
}

void TImageControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) FPressed = true;
    if (OnMouseDown) OnMouseDown(event);
}

void TImageControl::mouseMoveEvent(QMouseEvent* event) {
    if (OnMouseMove) OnMouseMove(event);
}

void TImageControl::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) FPressed = false;
    if (OnMouseUp) OnMouseUp(event);
    if (click && OnClick) OnClick();
}

void TImageControl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick();
}

}  // namespace dorvanel::images
