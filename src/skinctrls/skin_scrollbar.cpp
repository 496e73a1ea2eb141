#include "skinctrls/skin_scrollbar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>

namespace dorvanel::skinctrls {

namespace {
constexpr int ButtonSize = 16;    // plain buttons, from 1 to 17 along the bar
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

const skin::TDataSkinScrollBarControl* TSkinScrollBar::BarDescription() const {
    return DescriptionIndex() != -1 ? dynamic_cast<const skin::TDataSkinScrollBarControl*>(Description()) : nullptr;
}

TSkinScrollBar::TLayout TSkinScrollBar::ComputeLayout() const {
    TLayout l;
    const int h = height(), w = width();
    const skin::TDataSkinScrollBarControl* bar = BarDescription();
    int minThumb = MinThumbSize, thickness = 0;
    if (bar) {
        // The skin's rectangles, the far button and the track's far edge moved with the control's length.
        const QImage* picture = Picture();
        const int delta = Horizontal() ? w - Geometry().SkinRect.Width() : h - Geometry().SkinRect.Height();
        const int farPoint = Horizontal() ? Geometry().RTPoint.X : Geometry().LBPoint.Y;
        auto place = [&](skin::TRect r) {
            r = skin::HeldToPicture(r, nullptr);
            if ((Horizontal() ? r.Left : r.Top) >= farPoint) {
                if (Horizontal()) r.Left += delta, r.Right += delta;
                else r.Top += delta, r.Bottom += delta;
            }
            return r.ToQRect();
        };
        skin::TRect track = skin::HeldToPicture(bar->trackarea, nullptr);
        if (Horizontal()) track.Right += delta;
        else track.Bottom += delta;
        l.Track = track.ToQRect();
        l.Up = place(bar->upbuttonrect);
        l.Down = place(bar->downbuttonrect);
        const skin::TRect thumb = skin::HeldToPicture(bar->thumbrect, picture);
        minThumb = std::max(1, Horizontal() ? thumb.Width() : thumb.Height());
        thickness = Horizontal() ? thumb.Height() : thumb.Width();
    } else if (Horizontal()) {
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
    int thumb = minThumb;
    if (FPageSize != 0)
        thumb = std::max(minThumb, Round(static_cast<double>(trackLength) * FPageSize / (FMax - FMin + 1.0)));
    const int trackStart = Horizontal() ? l.Track.left() : l.Track.top();
    l.TravelStart = trackStart;
    l.TravelLength = trackLength - thumb;
    const int offset = Round(ThumbFraction() * l.TravelLength);
    if (Horizontal()) {
        // Across the bar the skinned thumb keeps its own thickness, centred on the track's middle.
        const int top = bar ? l.Track.top() + Div(l.Track.height(), 2) - Div(thickness, 2) : l.Track.top();
        l.Thumb = QRect(trackStart + offset, top, thumb, bar ? thickness : l.Track.height());
    } else {
        const int left = bar ? l.Track.left() + Div(l.Track.width(), 2) - Div(thickness, 2) : l.Track.left();
        l.Thumb = QRect(left, trackStart + offset, bar ? thickness : l.Track.width(), thumb);
    }
    return l;
}

QRect TSkinScrollBar::PartRect(Part part) const {
    const TLayout l = ComputeLayout();
    switch (part) {
        case ptThumb:
            return l.Thumb;
        case ptUpButton:
            return l.Up;
        case ptDownButton:
            return l.Down;
        default:
            return {};
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
    p.fillRect(LogicalRect(bitmap), clBtnFace());
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

void TSkinScrollBar::PaintFromSkin(QImage& bitmap) {
    const skin::TDataSkinScrollBarControl* bar = BarDescription();
    if (!bar || !Picture()) {
        PaintPlain(bitmap);
        return;
    }
    QPainter p(&bitmap);
    DrawSkinImage(p, Geometry().SkinRect);
    const TLayout l = ComputeLayout();
    const QImage& picture = *Picture();
    // A hot button shows its active image, a pressed hot one its down image.
    auto button = [&](Part part, const QRect& at, const skin::TRect& active, const skin::TRect& down) {
        if (!FHot[part]) return;
        skin::TRect source = FPressed[part] ? (down.IsEmpty() ? active : down) : active;
        source = skin::HeldToPicture(source, &picture);
        if (!source.IsEmpty()) DrawPicture(p, at.topLeft(), picture, source.ToQRect());
    };
    button(ptUpButton, l.Up, bar->activeupbuttonrect, bar->downupbuttonrect);
    button(ptDownButton, l.Down, bar->activedownbuttonrect, bar->downdownbuttonrect);
    if (!isEnabled() || l.TravelLength < 0) return;
    const skin::TRect active = bar->activethumbrect.IsEmpty() ? bar->thumbrect : bar->activethumbrect;
    const skin::TRect down = bar->downthumbrect.IsEmpty() ? active : bar->downthumbrect;
    const bool pressed = FPressed[ptThumb] || hasFocus();
    const skin::TRect thumb = pressed ? down : (FHot[ptThumb] ? active : bar->thumbrect);
    const skin::TRect glyphActive = bar->activeglyphrect.IsEmpty() ? bar->glyphrect : bar->activeglyphrect;
    const skin::TRect glyphDown = bar->downglyphrect.IsEmpty() ? glyphActive : bar->downglyphrect;
    const skin::TRect glyph = pressed ? glyphDown : (FHot[ptThumb] ? glyphActive : bar->glyphrect);

    // Only the part of the thumb inside the bar is built: the skin decides the thumb's thickness.
    const QRect shown = l.Thumb & QRect(QPoint(0, 0), size());
    if (shown.isEmpty()) return;
    QImage image = DeviceImage(shown.size(), bitmap.devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return;
    image.fill(Qt::transparent);
    const QSize thumbSize = l.Thumb.size();
    {
        QPainter tp(&image);
        tp.translate(l.Thumb.topLeft() - shown.topLeft());
        const skin::TRect source = skin::HeldToPicture(thumb, &picture);
        if (FPageSize != 0) {
            // Three parts along the bar: the two end pieces stay, the middle is tiled to the thumb's length.
            skin::TSkinGeometry g;
            g.SkinRect = {0, 0, source.Width(), source.Height()};
            if (Horizontal()) {
                g.LTPoint = {bar->thumboffset1, 0};
                g.RTPoint = {source.Width() - bar->thumboffset2, 0};
            } else {
                g.LTPoint = {0, bar->thumboffset1};
                g.LBPoint = {0, source.Height() - bar->thumboffset2};
            }
            skin::DrawSkinImage(tp, {0, 0}, &picture, source, g, Horizontal() ? 2 : 3, thumbSize, true);
        } else {
            DrawPicture(tp, QPoint(0, 0), picture, source.ToQRect());
        }
        const skin::TRect g = skin::HeldToPicture(glyph, &picture);
        if (!g.IsEmpty())
            DrawPicture(
                tp,
                QPoint(Div(thumbSize.width(), 2) - Div(g.Width(), 2), Div(thumbSize.height(), 2) - Div(g.Height(), 2)),
                picture, g.ToQRect());
    }
    if (bar->thumbtransparent) MakeColorTransparent(image, skin::SkinColor(bar->thumbtransparentcolor).rgb());
    p.drawImage(shown.topLeft(), image);
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
            if (OnUpButtonClick) OnUpButtonClick();
            else SetPosition(FPosition + FSmallChange);
            break;
        case TRepeat::DownButton:
            if (OnDownButtonClick) OnDownButtonClick();
            else SetPosition(FPosition - FSmallChange);
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
            if (mouse < Along(l.Thumb.topLeft())) Step(FRepeat);
            else StopRepeat();
            break;
        case TRepeat::PageForward:
            if (mouse > Along(l.Thumb.bottomRight())) Step(FRepeat);
            else StopRepeat();
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
        case Qt::Key_Up:
            SetPosition(FPosition - FSmallChange);
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            SetPosition(FPosition + FSmallChange);
            break;
        default:
            TSkinCustomControl::keyPressEvent(event);
            break;
    }
}

void TSkinScrollBar::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    const int delta = event->angleDelta().y();
    if (delta > 0) SetPosition(FPosition - FSmallChange);
    else if (delta < 0) SetPosition(FPosition + FSmallChange);
}

}  // namespace dorvanel::skinctrls
