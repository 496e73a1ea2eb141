#pragma once
// Building a control's (or a frame's) image from a rectangle of a skin picture: the four slice modes that
// fit a skin image to any size, the stretch variant of the frame, mapping skin rectangles onto the fitted
// image, and turning a mask picture into a window shape. Every control draws through these, so the guards a
// downloaded skin needs (zero-sized pieces, rectangles past their picture, huge sizes) live here once.
#include "skin/skin_types.h"

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QSize>

#include <cstdint>

class QPainter;

namespace dorvanel::skin {

// The largest coordinate a description may give and the largest side of anything drawn from a skin (a
// control, a bitmap, an off-screen buffer); and the most bytes one paint may allocate.
inline constexpr int kMaxSkinCoordinate = 16384;
inline constexpr int kMaxPaintSide = 16384;
inline constexpr std::int64_t kMaxPaintBytes = std::int64_t(256) * 1024 * 1024;

// Each side held to 0..kMaxPaintSide.
QSize CapPaintSize(QSize size);
// Whether an image of this size and depth may be made at paint time (sides and bytes within the caps).
bool PaintSizeAllowed(QSize size, int bytesPerPixel = 4);
// A rectangle held to a picture's bounds (to 0..kMaxSkinCoordinate without a picture).
TRect HeldToPicture(const TRect& r, const QImage* picture);

// The slicing points and inner rectangle of a description, relative to its skin rectangle's top-left.
struct TSkinGeometry {
    TRect SkinRect;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClientRect;
};

// The same after fitting to a control's size.
struct TFittedGeometry {
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClientRect;
};

// -1 no image, 1 nine-part, 2 horizontal three-part, 3 vertical three-part, 0 fixed.
int SliceModeOf(const TSkinGeometry& g);
// The geometry with its points and inner rectangle held inside the skin rectangle's size, and the skin
// rectangle held to the picture.
TSkinGeometry HeldGeometry(TSkinGeometry g, const QImage* picture);

// The size a control of the proposed size must take, and its fitted geometry.
QSize FitGeometry(const TSkinGeometry& g, int sliceMode, QSize proposed, TFittedGeometry& fitted);

// A rectangle in skin coordinates placed on a control of the given size.
TRect TranslateSkinRect(const TSkinGeometry& g, int sliceMode, QSize controlSize, const TRect& r);

// Which edges of a nine-part image are stretched once instead of tiled (the window frame's flags).
struct TStretchFlags {
    bool Left = false, Right = false, Top = false, Bottom = false;
};

// Copies the source piece of picture again and again over destination, from its top-left corner, the last
// copies cut at destination's right and bottom edges. Nothing happens when either rectangle is empty.
void TileImage(QPainter& p, const QImage& picture, const QRect& source, const QRect& destination);

// Draws the skin image of a control of the given size with its top-left corner at `at`: the rectangle
// source of picture (the normal image or another state of the same size) sliced by g. Mode 0 draws the
// source once at its own size. With fillCentre the inner rectangle is tiled over the fitted inner area.
void DrawSkinImage(QPainter& p, QPoint at, const QImage* picture, const TRect& source, const TSkinGeometry& g,
                   int sliceMode, QSize size, bool fillCentre = true, TStretchFlags stretch = {});
// The same into destination, which is first made the image's size (the skin rectangle's in mode 0, the
// skin height in mode 2, the skin width in mode 3), in logical pixels at the given device pixel ratio. Over
// the paint caps, destination becomes null.
void BuildSkinImage(QImage& destination, const QImage* picture, const TRect& source, const TSkinGeometry& g,
                    int sliceMode, QSize size, bool fillCentre = true, TStretchFlags stretch = {}, qreal ratio = 1);

// The most pixel runs a mask gives; a mask with more keeps its first ones.
inline constexpr int kMaxMaskRuns = 10000;
// Every maximal horizontal run of pure black pixels of the area of mask becomes a one-pixel-high rectangle,
// shifted so that the area's top-left lands on offset.
QRegion MaskToRegion(const QImage& mask, const QRect& area, QPoint offset);
QRegion MaskToRegion(const QImage& mask, QPoint offset = {});

// The window shape of a control of the given size from its mask picture (laid out like its skin image,
// from the mask's top-left): in mode 0 the whole mask; in the resized modes the mask fitted to the size,
// its black pixels joined with the fitted inner rectangle. An empty region when there is no mask.
QRegion SkinShapeRegion(const QImage* mask, const TSkinGeometry& g, int sliceMode, QSize size);

}  // namespace dorvanel::skin
