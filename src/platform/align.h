#pragma once
// Align and Anchors for child widgets. The windows lay their controls out at fixed design bounds with a few
// aligned bands; this helper keeps those bands in place when a parent changes size.
//
// Aligned children of one parent are placed inside the parent's client rectangle (its contentsRect(), so a
// framed panel sets its contents margins) in the order top, bottom, left, right, client. Within one kind,
// the control nearer the edge it is aligned to goes first (top edge for top, bottom edge for bottom, ...),
// and controls at the same place keep the order in which they were given their alignment. A hidden control
// takes no room. Controls that are not aligned follow their anchors: anchored right (and not left) keeps
// its distance to the parent's right edge; anchored left and right stretches; the same vertically.
//
// A widget that wants its own size rules applied when it is placed (a skinned control fits itself to its
// skin) derives from TControlBounds; the helper then places it through SetBounds.
#include <QRect>

class QWidget;

namespace dorvanel::platform {

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : int { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = int;
inline constexpr TAnchors DefaultAnchors = akLeft | akTop;

class TControlBounds {
public:
    virtual ~TControlBounds() = default;
    // Moves and sizes the control; it may adjust the size, and must call BoundsSet afterwards.
    virtual void SetBounds(int left, int top, int width, int height) = 0;
};

// Places any widget: through its own SetBounds when it has one, else setGeometry followed by BoundsSet.
void SetBounds(QWidget* control, int left, int top, int width, int height);
inline void SetBounds(QWidget* control, const QRect& r) {
    SetBounds(control, r.left(), r.top(), r.width(), r.height());
}

// To be called after a control's bounds were set by the program: records the anchor distances, lets the
// siblings make room when it is aligned, and lays out its own aligned children for its new size.
void BoundsSet(QWidget* control);

void SetAlign(QWidget* control, TAlign align);
TAlign Align(const QWidget* control);
void SetAnchors(QWidget* control, TAnchors anchors);
TAnchors Anchors(const QWidget* control);

// Lays out the aligned and anchored children of parent now (it also happens on every resize of the parent
// and whenever an aligned child is shown or hidden).
void AlignControls(QWidget* parent);

}  // namespace dorvanel::platform
