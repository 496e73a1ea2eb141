#pragma once
// Drawing shared by the skinned controls: the system colours of the plain look, the framed fills and arrows
// that several plain looks use, text fitting, and the skin geometry (slicing of a skin image and fitting
// it to a control's size).
#include "skin/device_picture.h"
#include "skin/skin_picture.h"
#include "skin/skin_types.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

class QPainter;
class QFontMetrics;

namespace dorvanel::skinctrls {

// ---- system colours of the plain look (the application's palette) ----
QColor clBtnFace();
QColor clBtnShadow();
QColor clBtnHighlight();
QColor clBtnText();
QColor clWindow();
QColor clWindowText();
QColor clGrayText();

// The fixed colours of the plain look's hot and pressed states.
inline const QColor clPlainNavy{0, 0, 128};
inline const QColor clPlainHotFill{182, 189, 210};
inline const QColor clPlainDownFill{133, 147, 181};

// A one-pixel frame around r in frame and r's inside filled with fill.
void DrawFramedFill(QPainter& p, const QRect& r, const QColor& frame, const QColor& fill);
// The state look shared by buttons, scroll-bar parts and header sections: navy frame with the pressed fill,
// navy frame with the hot fill, or a shadow frame with the face fill.
void DrawStateFill(QPainter& p, const QRect& r, bool hot, bool down);

enum class TArrowDirection { Left, Right, Up, Down };
// A small arrow of lines centred in r.
void DrawArrow(QPainter& p, const QRect& r, TArrowDirection direction, const QColor& color);

// The text shortened with "..." until it fits width (the whole text when it fits).
QString FitTextWithEllipsis(const QFontMetrics& metrics, const QString& text, int width);

// The last text shortened, kept for as long as the text, its font and the width stay the same: a caption is
// shortened once per change, not at every repaint.
class TFittedText {
public:
    const QString& Fit(const QFont& font, const QString& text, int width);

private:
    QFont FFont;
    QString FText, FFitted;
    int FWidth = 0;
    bool FValid = false;
};

// Makes every pixel of image (Format_ARGB32 or its premultiplied form) whose colour is key transparent.
void MakeColorTransparent(QImage& image, QRgb key);
// Draws the rectangle source of picture at `at` with the colour of its bottom-left pixel transparent.
void DrawTransparentPiece(QPainter& p, QPoint at, const QImage& picture, const QRect& source);

// Frame n (from 1) of a strip of frameCount frames side by side, drawn at (x, y) with its bottom-left pixel's
// colour transparent.
void DrawGlyphFrame(QPainter& p, int x, int y, int frame, int frameCount, const QImage& glyph);

// Integer halves as the layout rules take them: division that truncates toward zero.
inline int Div(int a, int b) { return a / b; }

// ---- off-screen images at the screen's resolution, and pictures drawn onto them ----
using skin::DeviceImage;
using skin::DrawPicture;
using skin::LogicalRect;
using skin::LogicalSize;

// ---- skin geometry (built in the skin library, shared by every control) ----
using skin::FitGeometry;
using skin::SliceModeOf;
using skin::TFittedGeometry;
using skin::TranslateSkinRect;
using skin::TSkinGeometry;

}  // namespace dorvanel::skinctrls
