#pragma once
// Value kinds of the skin description: rectangles and points in skin-picture coordinates, font styles,
// colour references and the keyword enumerations. Rectangles are edge-exclusive (Right and Bottom lie one
// past the last pixel), as the slicing arithmetic of the controls expects.
#include <QColor>
#include <QFont>
#include <QRect>

#include <string>

namespace dorvanel::skin {

struct TPoint {
    int X = 0;
    int Y = 0;

    bool IsZero() const { return X == 0 && Y == 0; }
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    // Zero or negative width or height.
    bool IsEmpty() const { return Width() <= 0 || Height() <= 0; }
    QRect ToQRect() const { return QRect(Left, Top, Width(), Height()); }
    static TRect FromQRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

struct TFontStyles {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;

    bool IsEmpty() const { return !Bold && !Italic && !Underline && !StrikeOut; }
    friend bool operator==(const TFontStyles&, const TFontStyles&) = default;
};

// Text alignment of captions; the order is the one the controls' published properties use.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// How two state images are blended ("morphkind"); codes 0 to 6 in keyword order.
enum class TMorphKind { mkDefault, mkGradient, mkLeftGradient, mkRightGradient, mkLeftSlide, mkRightSlide, mkPush };

// How the frame picture of an inactive window is altered ("inactiveeffect"); codes 0 to 5 in keyword order.
enum class TFrameEffect { ieBrightness, ieDarkness, ieGrayscale, ieNoise, ieSplitBlur, ieInvert };

// The command of a caption button ("command"); codes 0 to 6.
enum class TStdCommand { cmClose, cmMaximize, cmMinimize, cmSysMenu, cmDefault, cmRollUp, cmMinimizeToTray };

// A colour reference 0x00BBGGRR as a QColor.
inline QColor SkinColor(int colorRef) {
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

// The largest font height a description may give, either way.
inline constexpr int kMaxFontHeight = 512;

// The cell height of every control's default font ("Arial", 14); a description's height of 0 means it.
inline constexpr int kDefaultFontHeight = 14;

// A font from the description's name, height and style. A height above zero is the character cell height
// in pixels, below zero the character height without internal leading (held to +-kMaxFontHeight), zero the
// default height.
QFont SkinFont(const std::string& name, int height, TFontStyles style);

}  // namespace dorvanel::skin
