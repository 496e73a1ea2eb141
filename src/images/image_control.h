#pragma once
// A picture control without a frame of its own: it takes its parent's colour, paints its whole area into an
// off-screen bitmap and copies that to the screen in one operation, and reports clicks.
#include <QWidget>

#include <functional>

class QMouseEvent;
class QPainter;

namespace dorvanel::images {

class TImageControl : public QWidget {
    Q_OBJECT
public:
    explicit TImageControl(QWidget* parent = nullptr);

    // The control's colour: its parent's, through the inherited palette.
    QColor Color() const;

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void(QMouseEvent*)> OnMouseDown;
    std::function<void(QMouseEvent*)> OnMouseMove;
    std::function<void(QMouseEvent*)> OnMouseUp;

protected:
    // Paints the control into `canvas`, a bitmap of the client size that starts out fully transparent, so
    // that what is left unpainted shows the parent behind.
    virtual void Paint(QPainter& canvas) = 0;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool FPressed = false;
};

}  // namespace dorvanel::images
