#include "skinctrls/frame_check.h"

namespace dorvanel::skinctrls {

namespace {

bool InsideShape(const QRegion& shape, const QRect& window, const QRect& r) {
    if (r.isEmpty() || !window.contains(r)) return false;
    return shape.isEmpty() || shape.contains(r.center());
}

}  // namespace

bool FrameUsable(const skin::TSkinGeometry& g, const TFrameFit& fit, const TFrameObjects& objects,
                 const QRegion& shape) {
    // The image builder draws nothing when the middle of the nine parts is empty either way.
    if (g.RBPoint.X == g.LTPoint.X || g.RBPoint.Y == g.LTPoint.Y) return false;
    const QRect window(QPoint(0, 0), fit.WindowSize);
    const skin::TRect& client = fit.ClientRect;
    if (client.Left < 1 || client.Right > window.width() - 1 || client.Bottom > window.height() - 1) return false;
    if (client.Top < kMinCaptionStrip) return false;

    const TSkinCaptionObject* caption = nullptr;
    const TSkinStdButtonObject* close = nullptr;
    for (const auto& object : objects) {
        if (!object->Visible) continue;
        if (auto* c = dynamic_cast<const TSkinCaptionObject*>(object.get()); c && !caption) caption = c;
        if (auto* b = dynamic_cast<const TSkinStdButtonObject*>(object.get());
            b && !close && b->Enabled && b->Command == skin::TStdCommand::cmClose)
            close = b;
    }
    const QRect strip = (caption ? caption->ObjectRect : fit.CaptionRect.ToQRect()) & QRect(0, 0, window.width(), client.Top);
    if (strip.height() < kMinCaptionStrip || strip.width() < kMinCaptionStrip) return false;
    if (!InsideShape(shape, window, strip)) return false;
    return close && InsideShape(shape, window, close->ObjectRect);
}

}  // namespace dorvanel::skinctrls
