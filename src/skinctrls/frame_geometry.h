#pragma once
// Where the parts of a skinned window frame lie for one window size: the client rectangle, caption and
// button strips, hit-test points and mask area of [FORMINFO] fitted like a nine-part image; the
// inset of the client area; the smallest window the frame allows; the border zones the pointer sizes by; and
// the window's outline from the mask.
#include "skin/data_skin_objects.h"
#include "skin/skin_picture.h"

#include <QImage>
#include <QMargins>
#include <QRegion>
#include <QSize>

namespace dorvanel::skinctrls {

// What a point of a window is to the frame. Object is the frame's own: the frame handles the mouse there.
enum class THitCode {
    Nowhere,
    Client,
    Caption,
    Object,
    Left,
    Right,
    Top,
    Bottom,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight
};

// True for the eight border codes (the window is sized from there).
bool IsBorderCode(THitCode code);

struct TFrameFit {
    QSize WindowSize;
    skin::TRect ClientRect, CaptionRect, ButtonsRect, MaskArea;
    skin::TPoint HitLTPoint, HitRTPoint, HitLBPoint, HitRBPoint;
    bool ButtonsInLeft = false;
};

// The frame values of a skin for a window of the given size (pictureSize: the main picture's).
TFrameFit FitFrame(const skin::TSkinFormInfo& info, QSize pictureSize, QSize windowSize);

// The client rectangle of [FORMINFO] held inside the main picture (a downloaded skin may give any).
skin::TRect HeldClientRect(const skin::TSkinFormInfo& info, QSize pictureSize);
// An integer of the description (an offset, a border width) held to the coordinate limits.
int HeldSkinInteger(int value);

// The nine-part geometry of the whole main picture (points and client rectangle of [FORMINFO]).
skin::TSkinGeometry FrameGeometry(const skin::TSkinFormInfo& info, QSize pictureSize);

// The plain frame: a caption strip of this height and a 3-pixel border.
inline constexpr int kPlainCaptionHeight = 19;
inline constexpr int kPlainBorder = 3;

// How far the client area lies inside the window on each side.
QMargins SkinFrameMargins(const skin::TSkinFormInfo& info, QSize pictureSize);
QMargins PlainFrameMargins();

// The smallest window a skin allows: the picture's width and the frame's height without its client, or
// MinWidth/MinHeight when larger (minimised: neither; rolled up: not MinHeight), and the plain frame's.
QSize SkinMinimalSize(const skin::TSkinFormInfo& info, QSize pictureSize, int minWidth, int minHeight, bool minimised,
                      bool rolledUp);
QSize PlainMinimalSize(int minWidth, int minHeight);

// The border zone code of a point of a sizeable window, Nowhere when the point is not in the border zone.
// Without a shape a point is in the zone when a point borderWidth pixels beside it lies outside the window;
// with one, when it lies outside the fitted mask area and a point beside it lies outside the shape.
THitCode SkinBorderHit(const TFrameFit& fit, int borderWidth, const QRegion* shape, QPoint at);
// The plain frame's 2-pixel border and corner zones.
THitCode PlainBorderHit(QSize windowSize, QPoint at);

// The window's outline from the mask picture (laid out like the main picture): the fitted mask area joined
// with the black pixels of the mask's four strips around it. Only the strips are scanned, so a large window
// costs little more than a small one.
QRegion FrameShapeRegion(const QImage& mask, const skin::TSkinFormInfo& info, QSize pictureSize, QSize windowSize);

}  // namespace dorvanel::skinctrls
