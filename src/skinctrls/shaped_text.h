#pragma once
// Single-line captions laid out once and drawn many times. Laying a text out costs more than the rest of a
// control's paint, and captions are painted far more often than they change: a gauge flips between a few
// percentages while a transfer runs, and a panel is repainted with the same text whenever it is uncovered.
#include <QFont>
#include <QStaticText>
#include <QString>

#include <vector>

class QPainter;

namespace dorvanel::skinctrls {

class TShapedTextCache {
public:
    struct TShapedText {
        QStaticText Text;
        int Width = 0;   // the advance of the text, as QFontMetrics::horizontalAdvance gives it
        int Height = 0;  // QFontMetrics::height of the font
    };

    // The text laid out in font on one line, every white-space character taken as a space.
    const TShapedText& Get(const QFont& font, const QString& text);
    // Draws what Get gives with its top-left corner at (x, y), in the painter's pen, cut to its width and
    // height as a draw into that rectangle would be; sets the painter's font and narrows its clip.
    void Draw(QPainter& p, int x, int y, const QFont& font, const QString& text);

private:
    struct TEntry {
        QFont Font;
        QString Text;
        TShapedText Shaped;
    };
    static constexpr size_t kCapacity = 8;
    std::vector<TEntry> FEntries;  // the most recently used first
};

}  // namespace dorvanel::skinctrls
