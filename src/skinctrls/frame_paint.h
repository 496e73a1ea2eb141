#pragma once
// Drawing a window frame: the skin's four border strips with the caption and its buttons on them (altered
// by the inactive effect when the window is inactive), the plain frame when no skin is applied, and the
// client background.
#include "skin/skin_data.h"
#include "skinctrls/frame_objects.h"
#include "skinctrls/skin_draw.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>

class QPainter;

namespace dorvanel::skinctrls {

struct TFramePaintState {
    const skin::TSkinData* Skin = nullptr;  // null: the plain frame
    TFrameFit Fit;                          // the skin's geometry for the window's size
    const TFrameObjects* Objects = nullptr;
    QString Caption;
    bool Active = true;
    bool Maximized = false, Minimized = false, RolledUp = false;
    bool ShowIcon = false;
    QIcon Icon;
    // The plain frame's caption fonts and their colours (active, inactive).
    QFont CaptionFont, InactiveCaptionFont;
    QColor CaptionColor, InactiveCaptionColor;
};

// The frame's four strips around the client area (the skin's, altered by the inactive effect when the window
// is inactive, or the plain frame's), kept between paints: a paint draws them again only after Invalidate or
// a change of the window's size.
class TFrameStrips {
public:
    void Paint(QPainter& p, QSize windowSize, const TFramePaintState& s);
    void Invalidate() { FValid = false; }

private:
    void Build(QSize windowSize, qreal ratio, const TFramePaintState& s);

    QImage FTop, FBottom, FLeft, FRight;
    TFittedText FCaption;
    QRect FPlaces[4];
    QSize FSize;
    qreal FRatio = 1;
    bool FValid = false;
};

// The plain frame, drawn over the whole window (the client area is left alone); fitted keeps the shortened
// caption between paints.
void PaintPlainFrame(QPainter& p, QSize windowSize, const TFramePaintState& s, TFittedText* fitted = nullptr);

// Fills a client area of the given size: the skin's background picture, else its client piece of the main
// picture tiled in whole copies, else the button face.
void PaintClientBackground(QPainter& p, const skin::TSkinData* skin, QSize clientSize);

// Whether a button shows its toggled (restore) images in these window states.
bool ButtonToggled(const TSkinStdButtonObject& button, const TFramePaintState& s);

}  // namespace dorvanel::skinctrls
