#pragma once
// Whether a skin's frame leaves a window the mouse can use: a downloaded skin whose frame points empty the
// border image, or that leaves no caption to move by or no close button to press, would give a window that
// cannot be moved or closed. Such a frame is refused and the plain frame is used instead.
#include "skinctrls/frame_geometry.h"
#include "skinctrls/frame_objects.h"

#include <QRegion>

namespace dorvanel::skinctrls {

// The least height and width of the caption strip the window moves by.
inline constexpr int kMinCaptionStrip = 8;

// True when, for a window laid out as fit with these objects and this outline (empty: rectangular), the
// frame's image is not empty (its nine parts have a middle both ways), the caption strip is at least
// kMinCaptionStrip pixels high and wide inside the outline, the close button lies inside the outline, and
// there is a border on the left, the right and the bottom.
bool FrameUsable(const skin::TSkinGeometry& frameGeometry, const TFrameFit& fit, const TFrameObjects& objects,
                 const QRegion& shape);

}  // namespace dorvanel::skinctrls
