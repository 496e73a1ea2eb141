#pragma once
// The pointer over a window frame: what each point of the window is (hit testing), the hot and the pressed
// caption button, and moving and sizing the window from its caption and border. A move or a sizing is handed
// to the window system where one takes it, as if it had begun at the press, so that the point pressed stays
// under the pointer; where none does (a bare X server), the frame moves and sizes the window itself.
#include "skinctrls/frame_geometry.h"
#include "skinctrls/frame_objects.h"

#include <QPoint>
#include <QRect>

class QMouseEvent;

namespace dorvanel::skinctrls {

class TSkinFrame;

class TFramePointer {
public:
    explicit TFramePointer(TSkinFrame& frame) : FFrame(frame) {}

    // What a point of the window (window coordinates) is to the frame.
    THitCode HitTest(QPoint at) const;
    // The enabled, visible caption button at a point of the window, or null.
    TSkinStdButtonObject* EnabledButtonAt(QPoint at) const;
    // Makes button the one hot object (null: none), starting the blends of the old and the new one.
    void SetHot(TSkinStdButtonObject* button);
    // The frame's objects are about to go: nothing is hot or pressed any more.
    void Forget() { FHot = FCaptured = nullptr; }
    // The pointer left the window.
    void Leave();

    void Press(QMouseEvent* event);
    void Move(QMouseEvent* event);
    void Release(QMouseEvent* event);
    void DoubleClick(QMouseEvent* event);

private:
    enum class TDragKind { None, Move, Size };

    void DragTo(QPoint globalPos);
    // Sizes the window from the bounds it had when the drag began by the pointer's travel.
    void SizeBy(QPoint delta);
    void UpdateCursor(THitCode code);

    TSkinFrame& FFrame;
    TSkinStdButtonObject* FHot = nullptr;
    TSkinStdButtonObject* FCaptured = nullptr;
    TDragKind FDrag = TDragKind::None;
    THitCode FDragEdges = THitCode::Nowhere;
    QPoint FDragStart;
    QRect FDragBounds;
    bool FSystemTried = false;
};

}  // namespace dorvanel::skinctrls
