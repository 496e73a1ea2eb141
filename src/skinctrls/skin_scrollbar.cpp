#include "skinctrls/skin_scrollbar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>

namespace dorvanel::skinctrls {

namespace {
constexpr int ButtonSize = 16;   // plain buttons, from 1 to 17 along the bar
constexpr int MinThumbSize = 16;  // plain thumb without (or below) a page
int Round(double v) { return static_cast<int>(std::lround(v)); }
}  // namespace

TSkinScrollBar::TSkinScrollBar(QWidget* parent) : TSkinCustomControl(parent) {
    FSkinDataName = QStringLiteral("hscrollbar");
    SetDefaultHeight(19);
    setFocusPolicy(Qt::NoFocus);
    // The part under the mouse is hot also while no button is held.
    setMouseTracking(true);
    resize(200, 19);
}

// ---- values ----

int TSkinScrollBar::Clamp(int value) const {
    const int top = FPageSize != 0 ? FMax - FPageSize + 1 : FMax;
    return std::max(FMin, std::min(value, top));
}

void TSkinScrollBar::SetPosition(int value) {
    const int clamped = Clamp(value);
    if (clamped == FPosition) return;
    FPosition = clamped;
    update();
    if (OnChange) OnChange();
}

void TSkinScrollBar::SetRange(int min, int max, int pageSize, int position) {
    FMin = min;
    FMax = max;
    FPageSize = pageSize;
    FPosition = Clamp(position);
    update();
}

void TSkinScrollBar::SetMax(int value) {
    FMax = value;
    if (FPageSize != 0) {
        if (FMax - FMin < FPageSize + FPosition) FPosition = std::max(FMin, FMax - FMin - FPageSize + 1);
    } else if (FPosition > FMax) {
        FPosition = FMax;
    }
    update();
}

void TSkinScrollBar::SetMin(int value) {
    FMin = value;
    if (FPosition < FMin) FPosition = FMin;
    update();
}

void TSkinScrollBar::SetPageSize(int value) {
    if (FMax - FMin + 1 < value + FPosition) return;
    FPageSize = value;
    update();
}

void TSkinScrollBar::SetSmallChange(int value) {
    FSmallChange = value;
    update();
}

void TSkinScrollBar::SetLargeChange(int value) {
    FLargeChange = value;
    update();
}

void TSkinScrollBar::SetKind(TScrollBarKind kind) {
    FKind = kind;
    update();
}

void TSkinScrollBar::SetCanFocused(bool on) {
    FCanFocused = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

void TSkinScrollBar::SetBoth(bool on) {
    if (FBoth == on) return;
    FBoth = on;
    if (on) {
        FSavedSkinDataName = FSkinDataName;
        FSkinDataName = FBothSkinDataName;
    } else {
        FSkinDataName = FSavedSkinDataName;
    }
    ApplySkin();
    update();
}

void TSkinScrollBar::SetBothMarkerWidth(int width) {
    FBothMarkerWidth = width;
    update();
}

// ---- geometry ----

double TSkinScrollBar::ThumbFraction() const {
    if (FPageSize != 0) {
        const int denominator = FMax - FPageSize - FMin + 1;
        if (denominator <= 0) return Horizontal() ? 1.0 : 0.0;
        return static_cast<double>(FPosition - FMin) / denominator;
    }
    if (FMax == FMin) return 0.0;
    return static_cast<double>(FPosition - FMin) / (FMax - FMin);
}

TSkinScrollBar::TLayout TSkinScrollBar::ComputeLayout() const {
    TLayout l;
    const int h = height(), w = width();
    if (Horizontal()) {
        const int used = FBoth ? w - FBothMarkerWidth : w;
        l.Down = QRect(QPoint(1, 1), QPoint(1 + ButtonSize - 1, h - 2));
        l.Up = QRect(QPoint(used - 17, 1), QPoint(used - 2, h - 2));
        l.Track = QRect(QPoint(17, 1), QPoint(used - 18, h - 2));
    } else {
        l.Down = QRect(QPoint(1, 1), QPoint(w - 2, 1 + ButtonSize - 1));
        l.Up = QRect(QPoint(1, h - 17), QPoint(w - 2, h - 2));
        l.Track = QRect(QPoint(1, 17), QPoint(w - 2, h - 18));
    }
    const int trackLength = Horizontal() ? l.Track.width() : l.Track.height();
    int thumb = MinThumbSize;
    if (FPageSize != 0)
        thumb = std::max(MinThumbSize, Round(static_cast<double>(trackLength) * FPageSize / (FMax - FMin + 1.0)));
    const int trackStart = Horizontal() ? l.Track.left() : l.Track.top();
    l.TravelStart = trackStart;
    l.TravelLength = trackLength - thumb;
    const int offset = Round(ThumbFraction() * l.TravelLength);
    if (Horizontal())
        l.Thumb = QRect(trackStart + offset, l.Track.top(), thumb, l.Track.height());
    else
        l.Thumb = QRect(l.Track.left(), trackStart + offset, l.Track.width(), thumb);
    return l;
}

QRect TSkinScrollBar::PartRect(Part part) const {
    const TLayout l = ComputeLayout();
    switch (part) {
    case ptThumb: return l.Thumb;
    case ptUpButton: return l.Up;
    case ptDownButton: return l.Down;
    default: return {};
    }
}

QRect TSkinScrollBar::TrackRect() const { return ComputeLayout().Track; }

TSkinScrollBar::Part TSkinScrollBar::PartAt(const QPoint& p) const {
    const TLayout l = ComputeLayout();
    if (isEnabled() && l.Thumb.contains(p)) return ptThumb;
    if (l.Up.contains(p)) return ptUpButton;
    if (l.Down.contains(p)) return ptDownButton;
    return ptNone;
}

// ---- painting ----

void TSkinScrollBar::PaintPlain(QImage& bitmap) {
    QPainter p(&bitmap);
    p.fillRect(bitmap.rect(), clBtnFace());
    const TLayout l = ComputeLayout();
    auto part = [&](Part which, const QRect& r, bool isThumb) {
        const bool hot = FHot[which];
        DrawStateFill(p, r, hot, (FPressed[which] && hot) || (isThumb && hasFocus()));
    };
    part(ptDownButton, l.Down, false);
    part(ptUpButton, l.Up, false);
    const QColor arrow = isEnabled() ? QColor(Qt::black) : clBtnShadow();
    DrawArrow(p, l.Down, Horizontal() ? TArrowDirection::Left : TArrowDirection::Up, arrow);
    DrawArrow(p, l.Up, Horizontal() ? TArrowDirection::Right : TArrowDirection::Down, arrow);
    if (isEnabled() && l.TravelLength >= 0) part(ptThumb, l.Thumb, true);
}

// ---- mouse ----

void TSkinScrollBar::SetHot(Part part) {
    bool changed = false;
    for (int i = 0; i < 3; ++i) {
        const bool hot = i == part;
        if (FHot[i] != hot) FHot[i] = hot, changed = true;
    }
    if (changed) update();
}

void TSkinScrollBar::Step(TRepeat what) {
    switch (what) {
    case TRepeat::UpButton:
        if (OnUpButtonClick)
            OnUpButtonClick();
        else
            SetPosition(FPosition + FSmallChange);
        break;
    case TRepeat::DownButton:
        if (OnDownButtonClick)
            OnDownButtonClick();
        else
            SetPosition(FPosition - FSmallChange);
        break;
    case TRepeat::PageBack:
        SetPosition(FPosition - FLargeChange);
        if (OnPageUp) OnPageUp();
        break;
    case TRepeat::PageForward:
        SetPosition(FPosition + FLargeChange);
        if (OnPageDown) OnPageDown();
        break;
    case TRepeat::None:
        break;
    }
}

void TSkinScrollBar::StartRepeat(TRepeat what) {
    FRepeat = what;
    if (!FTimer) {
        FTimer = new QTimer(this);
        connect(FTimer, &QTimer::timeout, this, &TSkinScrollBar::RepeatTick);
    }
    FTimer->start(FirstRepeatDelay);
}

void TSkinScrollBar::StopRepeat() {
    FRepeat = TRepeat::None;
    delete FTimer;
    FTimer = nullptr;
}

void TSkinScrollBar::RepeatTick() {
    if (!FTimer) return;
    if (FTimer->interval() != RepeatInterval) {
        // The first tick only ends the pause.
        FTimer->start(RepeatInterval);
        return;
    }
    const TLayout l = ComputeLayout();
    const int mouse = Along(FLastMouse);
    switch (FRepeat) {
    case TRepeat::UpButton:
        if (FPressed[ptUpButton] && FHot[ptUpButton]) Step(FRepeat);
        break;
    case TRepeat::DownButton:
        if (FPressed[ptDownButton] && FHot[ptDownButton]) Step(FRepeat);
        break;
    case TRepeat::PageBack:
        if (mouse < Along(l.Thumb.topLeft()))
            Step(FRepeat);
        else
            StopRepeat();
        break;
    case TRepeat::PageForward:
        if (mouse > Along(l.Thumb.bottomRight()))
            Step(FRepeat);
        else
            StopRepeat();
        break;
    case TRepeat::None:
        break;
    }
}

void TSkinScrollBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (FCanFocused && !hasFocus()) setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    FLastMouse = pos;
    const TLayout l = ComputeLayout();
    const Part part = PartAt(pos);
    if (part == ptUpButton || part == ptDownButton) {
        FPressed[part] = true;
        SetHot(part);
        update();
        const TRepeat what = part == ptUpButton ? TRepeat::UpButton : TRepeat::DownButton;
        Step(what);
        StartRepeat(what);
    } else if (part == ptThumb) {
        FPressed[ptThumb] = true;
        SetHot(ptThumb);
        FDragging = true;
        FDragPressAlong = Along(pos);
        FDragThumbOffset = Along(l.Thumb.topLeft()) - l.TravelStart;
        update();
    } else if (l.Track.contains(pos) && isEnabled()) {
        const TRepeat what = Along(pos) < Along(l.Thumb.topLeft()) ? TRepeat::PageBack : TRepeat::PageForward;
        Step(what);
        StartRepeat(what);
    }
}

void TSkinScrollBar::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    FLastMouse = pos;
    if (FDragging) {
        const TLayout l = ComputeLayout();
        if (l.TravelLength > 0) {
            double f = static_cast<double>(FDragThumbOffset + Along(pos) - FDragPressAlong) / l.TravelLength;
            f = std::clamp(f, 0.0, 1.0);
            const int span = FPageSize != 0 ? FMax - FMin - FPageSize + 1 : FMax - FMin;
            SetPosition(FMin + Round(f * span));
        }
        return;
    }
    const Part part = PartAt(pos);
    bool anyPressed = false;
    for (int i = 0; i < 3; ++i) anyPressed = anyPressed || FPressed[i];
    if (anyPressed) {
        // Only the pressed part can be hot while it is held.
        for (int i = 0; i < 3; ++i)
            if (FPressed[i]) {
                const bool hot = part == i;
                if (FHot[i] != hot) FHot[i] = hot, update();
            }
        return;
    }
    SetHot(part);
}

void TSkinScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    StopRepeat();
    const bool dragged = FDragging;
    FDragging = false;
    for (bool& pressed : FPressed) pressed = false;
    const QPoint pos = event->position().toPoint();
    SetHot(rect().contains(pos) ? PartAt(pos) : ptNone);
    update();
    if (dragged && OnLastChange) OnLastChange();
}

void TSkinScrollBar::MouseLeave() {
    bool anyPressed = FDragging;
    for (bool pressed : FPressed) anyPressed = anyPressed || pressed;
    if (!anyPressed) SetHot(ptNone);
    TSkinCustomControl::MouseLeave();
}

// ---- keys and wheel ----

bool TSkinScrollBar::event(QEvent* e) {
    // A focusable bar claims the four arrow keys from the dialog.
    if (e->type() == QEvent::ShortcutOverride && FCanFocused) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down) {
            e->accept();
            return true;
        }
    }
    return TSkinCustomControl::event(e);
}

void TSkinScrollBar::keyPressEvent(QKeyEvent* event) {
    if (!FCanFocused) {
        event->ignore();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up: SetPosition(FPosition - FSmallChange); break;
    case Qt::Key_Right:
    case Qt::Key_Down: SetPosition(FPosition + FSmallChange); break;
    default: TSkinCustomControl::keyPressEvent(event); break;
    }
}

void TSkinScrollBar::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    const int delta = event->angleDelta().y();
    if (delta > 0)
        SetPosition(FPosition - FSmallChange);
    else if (delta < 0)
        SetPosition(FPosition + FSmallChange);
}

}  // namespace dorvanel::skinctrls
