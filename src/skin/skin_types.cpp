#include "skin/skin_types.h"

#include <QString>

#include <algorithm>
#include <cmath>

namespace dorvanel::skin {

QFont SkinFont(const std::string& name, int height, TFontStyles style) {
    QFont font(QString::fromLocal8Bit(name.data(), qsizetype(name.size())));
    // A positive height is the whole character cell; Arial's em is 2048 of its 2288 cell units.
    const int pixels = height < 0 ? -height : int(std::lround(height * 2048.0 / 2288.0));
    font.setPixelSize(std::max(1, pixels == 0 ? 1 : pixels));
    font.setBold(style.Bold);
    font.setItalic(style.Italic);
    font.setUnderline(style.Underline);
    font.setStrikeOut(style.StrikeOut);
    return font;
}

}  // namespace dorvanel::skin
