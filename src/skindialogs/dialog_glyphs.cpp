#include "skindialogs/dialog_glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace dorvanel::skindialogs {

namespace {

const QColor kTransparent(255, 0, 255);
const QColor kInk(40, 40, 40);
const QColor kArrow(30, 110, 40);
const QColor kFolderFill(240, 200, 90);
const QColor kFolderEdge(150, 110, 30);

void DrawFolder(QPainter& p, int x, int y) {
    p.setPen(kFolderEdge);
    p.setBrush(kFolderFill);
    QPainterPath path;
    path.moveTo(x, y + 2);
    path.lineTo(x + 4, y + 2);
    path.lineTo(x + 5, y + 3);
    path.lineTo(x + 11, y + 3);
    path.lineTo(x + 11, y + 10);
    path.lineTo(x, y + 10);
    path.closeSubpath();
    p.drawPath(path);
}

void DrawArrowShape(QPainter& p, const QPolygon& shape) {
    p.setPen(kArrow.darker(130));
    p.setBrush(kArrow);
    p.drawPolygon(shape);
}

}  // namespace

QImage DialogGlyph(const QString& name) {
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(kTransparent);
    QPainter p(&glyph);
    if (name == QLatin1String("DLG_BACK")) {
        DrawArrowShape(p, QPolygon({{2, 8}, {8, 2}, {8, 5}, {13, 5}, {13, 11}, {8, 11}, {8, 14}}));
    } else if (name == QLatin1String("DLG_UP")) {
        DrawFolder(p, 1, 4);
        DrawArrowShape(p, QPolygon({{10, 1}, {14, 5}, {12, 5}, {12, 9}, {8, 9}, {8, 5}, {6, 5}}));
    } else if (name == QLatin1String("DLG_NEWFOLDER")) {
        DrawFolder(p, 1, 4);
        p.setPen(QPen(QColor(200, 150, 0), 1));
        p.drawLine(12, 1, 12, 7);
        p.drawLine(9, 4, 15, 4);
        p.drawLine(10, 2, 14, 6);
        p.drawLine(14, 2, 10, 6);
    } else if (name == QLatin1String("DLG_LVSTYLE")) {
        p.setPen(kInk);
        p.setBrush(QColor(110, 150, 210));
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 2; ++col) p.drawRect(2 + col * 7, 2 + row * 7, 4, 4);
    } else {
        return {};
    }
    p.end();
    glyph.setPixelColor(0, 15, kTransparent);
    return glyph;
}

}  // namespace dorvanel::skindialogs
