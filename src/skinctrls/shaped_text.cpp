#include "skinctrls/shaped_text.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace dorvanel::skinctrls {

namespace {

// A single-line draw shows line breaks and tabs as spaces.
QString OnOneLine(const QString& text) {
    QString line = text;
    for (QChar& c : line) {
        if (c.isSpace()) c = QLatin1Char(' ');
    }
    return line;
}

}  // namespace

const TShapedTextCache::TShapedText& TShapedTextCache::Get(const QFont& font, const QString& text) {
    const auto hit = std::find_if(FEntries.begin(), FEntries.end(),
                                  [&](const TEntry& e) { return e.Text == text && e.Font == font; });
    if (hit != FEntries.end()) {
        std::rotate(FEntries.begin(), hit, hit + 1);
        return FEntries.front().Shaped;
    }
    if (FEntries.size() == kCapacity) FEntries.pop_back();
    TEntry entry{font, text, {}};
    const QString line = OnOneLine(text);
    const QFontMetrics metrics(font);
    entry.Shaped.Width = metrics.horizontalAdvance(line);
    entry.Shaped.Height = metrics.height();
    entry.Shaped.Text.setTextFormat(Qt::PlainText);
    entry.Shaped.Text.setText(line);
    entry.Shaped.Text.prepare(QTransform(), font);
    FEntries.insert(FEntries.begin(), std::move(entry));
    return FEntries.front().Shaped;
}

void TShapedTextCache::Draw(QPainter& p, int x, int y, const QFont& font, const QString& text) {
    const TShapedText& shaped = Get(font, text);
    p.setFont(font);
    p.setClipRect(QRect(x, y, shaped.Width, shaped.Height), Qt::IntersectClip);
    p.drawStaticText(QPoint(x, y), shaped.Text);
}

}  // namespace dorvanel::skinctrls
