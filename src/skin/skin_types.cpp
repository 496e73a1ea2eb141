#include "skin/skin_types.h"

#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace dorvanel::skin {

namespace {

// A positive height is the character cell: the largest pixel size whose cell (ascent + descent, as the
// text is laid out) is no taller. Rounding the em size instead (13 * 2048 / 2288 = 11.6 taken as 12) gives
// Arial a 14-pixel cell for a 13-pixel height, and captions that no longer fit the controls drawn for them.
int PixelSizeForCell(const QFont& font, int cell) {
    using Key = std::tuple<QString, int, bool, bool>;
    static std::map<Key, int> known;
    const Key key{font.family(), cell, font.bold(), font.italic()};
    if (const auto it = known.find(key); it != known.end()) return it->second;
    QFont probe = font;
    int pixels = std::max(1, cell);
    for (; pixels > 1; --pixels) {
        probe.setPixelSize(pixels);
        if (QFontMetrics(probe).height() <= cell) break;
    }
    known.emplace(key, pixels);
    return pixels;
}

}  // namespace

QFont SkinFont(const std::string& name, int height, TFontStyles style) {
    QFont font(QString::fromLocal8Bit(name.data(), qsizetype(name.size())));
    font.setBold(style.Bold);
    font.setItalic(style.Italic);
    font.setUnderline(style.Underline);
    font.setStrikeOut(style.StrikeOut);
    // Heights come from skins users may download: held to what a caption can sensibly be.
    height = std::clamp(height, -kMaxFontHeight, kMaxFontHeight);
    // A negative height is the character height (the em), without the internal leading.
    if (height == 0) height = kDefaultFontHeight;
    font.setPixelSize(height < 0 ? -height : PixelSizeForCell(font, height));
    return font;
}

}  // namespace dorvanel::skin
