#include "skin_preview.h"

#include <QPainter>

namespace dorvanel::skinpack {

using namespace dorvanel::skin;

namespace {

// Copies source tile by tile over dest (the last tiles clipped).
void Tile(QPainter& p, const QImage& picture, const QRect& source, const QRect& dest) {
    if (source.width() <= 0 || source.height() <= 0 || dest.isEmpty()) return;
    p.save();
    p.setClipRect(dest);
    for (int y = dest.top(); y <= dest.bottom(); y += source.height())
        for (int x = dest.left(); x <= dest.right(); x += source.width()) p.drawImage(QPoint(x, y), picture, source);
    p.restore();
}

// Nine slices at the corner points: corners copied, edges and centre tiled.
void Nine(QPainter& p, const QImage& picture, const TRect& skin, TPoint lt, TPoint rb, const QRect& dest) {
    const int xs[] = {0, lt.X, rb.X, skin.Width()}, ys[] = {0, lt.Y, rb.Y, skin.Height()};
    const int dx[] = {dest.left(), dest.left() + lt.X, dest.right() + 1 - (skin.Width() - rb.X), dest.right() + 1};
    const int dy[] = {dest.top(), dest.top() + lt.Y, dest.bottom() + 1 - (skin.Height() - rb.Y), dest.bottom() + 1};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            Tile(p, picture, QRect(skin.Left + xs[i], skin.Top + ys[j], xs[i + 1] - xs[i], ys[j + 1] - ys[j]),
                 QRect(dx[i], dy[j], dx[i + 1] - dx[i], dy[j + 1] - dy[j]));
}

// Three slices along the width at the skin's height.
void Three(QPainter& p, const QImage& picture, const TRect& skin, int left, int right, const QRect& dest) {
    Nine(p, picture, skin, {left, 0}, {right, skin.Height()}, QRect(dest.left(), dest.top(), dest.width(), skin.Height()));
}

// Three slices along the height at the skin's width.
void ThreeDown(QPainter& p, const QImage& picture, const TRect& skin, int top, int bottom, const QRect& dest) {
    Nine(p, picture, skin, {0, top}, {skin.Width(), bottom}, QRect(dest.left(), dest.top(), skin.Width(), dest.height()));
}

template <class T>
const T* Find(const TSkinData& skin, const char* name) {
    return dynamic_cast<const T*>(skin.Control(skin.IndexOfControl(name)));
}

void Text(QPainter& p, const QRect& r, const QString& text, const TSkinFontKeys& font, int colour, int align) {
    p.setFont(font.Font());
    p.setPen(SkinColor(colour));
    p.drawText(r, align | Qt::TextSingleLine, text);
}

}  // namespace

QImage RenderPreview(const TSkinData& skin, bool active) {
    const int W = 520, H = 330;
    QImage window(W, H, QImage::Format_RGB32);
    window.fill(QColor(0x5A, 0x62, 0x6E));
    QPainter p(&window);
    const TSkinFormInfo& f = skin.FormInfo();
    const QImage& frame = skin.MainPicture();
    const TRect whole{0, 0, frame.width(), frame.height()};
    // Frame, then the client background tiled from the picture's client area.
    Nine(p, frame, whole, {f.lefttoppoint.X, f.clientrect.Top}, {f.rightbottompoint.X, f.clientrect.Bottom}, window.rect());
    const QRect client(f.clientrect.Left, f.clientrect.Top, W - f.clientrect.Left - (frame.width() - f.clientrect.Right),
                       H - f.clientrect.Top - (frame.height() - f.clientrect.Bottom));
    Tile(p, frame, f.clientrect.ToQRect(), client);

    // Caption buttons from the right of the caption strip, the system menu at its left, the caption between.
    const int stripTop = f.captionrect.Top, stripRight = W - (frame.width() - f.captionrect.Right);
    int x = stripRight;
    for (const char* name : {"closebutton", "maxbutton", "minbutton"}) {
        auto* b = dynamic_cast<const TDataSkinStdButton*>(skin.Object(skin.IndexOfObject(name)));
        if (!b) continue;
        const TRect r = active ? (name[1] == 'l' ? b->activeskinrect : b->skinrect) : b->inactiveskinrect;
        x -= r.Width();
        p.drawImage(QPoint(x, stripTop), *skin.Picture(b->activepictureindex), r.ToQRect());
    }
    int left = f.captionrect.Left;
    if (auto* s = dynamic_cast<const TDataSkinStdButton*>(skin.Object(skin.IndexOfObject("sysmenubutton")))) {
        const TRect r = active ? s->skinrect : s->inactiveskinrect;
        p.drawImage(QPoint(left, stripTop), *skin.Picture(s->activepictureindex), r.ToQRect());
        left += r.Width();
    }
    if (auto* c = dynamic_cast<const TDataSkinCaption*>(skin.Object(skin.IndexOfObject("caption"))))
        Text(p, QRect(left + c->textrect.Left, stripTop + c->textrect.Top, x - left - c->textrect.Left, c->textrect.Height()),
             "Dorvanel - keyword research", *c, active ? c->activefontcolor : c->fontcolor, Qt::AlignLeft | Qt::AlignVCenter);

    // Command bar: buttons in their normal, hot, down and disabled looks.
    int y = client.top() + 7;
    if (auto* b = Find<TDataSkinButtonControl>(skin, "button")) {
        const QImage& pic = *skin.Picture(b->pictureindex);
        const QImage* mask = skin.Picture(b->maskpictureindex);
        const char* captions[] = {"Main Keyword", "Gather Keywords", "Add Keywords", "Gather Data", "Save Results"};
        const TRect states[] = {b->skinrect, b->activeskinrect, b->downskinrect, b->skinrect, b->disabledskinrect};
        const int colours[] = {b->fontcolor, b->activefontcolor, b->downfontcolor, b->fontcolor, b->disabledfontcolor};
        int bx = client.left() + 7;
        for (int i = 0; i < 5; ++i) {
            const QRect dest(bx, y, 96, b->skinrect.Height());
            QImage piece(dest.size(), QImage::Format_ARGB32);
            piece.fill(Qt::transparent);
            QPainter pp(&piece);
            Three(pp, pic, states[i], b->lefttoppoint.X, b->righttoppoint.X, piece.rect());
            Text(pp, piece.rect().adjusted(b->clientrect.Left + (i == 2), b->clientrect.Top + (i == 2), 0, 0).adjusted(0, 0, -(b->skinrect.Width() - b->clientrect.Right), -(b->skinrect.Height() - b->clientrect.Bottom)),
                 captions[i], *b, colours[i], Qt::AlignCenter);
            if (mask) {  // the mask's white corners show what lies behind
                QImage m(piece.size(), QImage::Format_RGB32);
                QPainter mp(&m);
                Three(mp, *mask, {0, 0, mask->width(), mask->height()}, b->lefttoppoint.X, b->righttoppoint.X, m.rect());
                mp.end();
                for (int yy = 0; yy < piece.height(); ++yy)
                    for (int xx = 0; xx < piece.width(); ++xx)
                        if (m.pixelColor(xx, yy) != QColor(Qt::black)) piece.setPixelColor(xx, yy, Qt::transparent);
            }
            pp.end();
            p.drawImage(dest.topLeft(), piece);
            bx += 99;
        }
        y += b->skinrect.Height() + 7;
    }

    // A framed panel holding an edit box and check boxes.
    if (auto* panel = Find<TDataSkinPanelControl>(skin, "panel")) {
        const QRect area(client.left() + 4, y, client.width() - 8, 58);
        Nine(p, *skin.Picture(panel->pictureindex), panel->skinrect, panel->lefttoppoint, panel->rightbottompoint, area);
        if (auto* e = Find<TDataSkinEditControl>(skin, "edit")) {
            const QImage& pic = *skin.Picture(e->pictureindex);
            Three(p, pic, e->skinrect, e->lefttoppoint.X, e->righttoppoint.X, QRect(area.left() + 10, area.top() + 8, 200, 0));
            Text(p, QRect(area.left() + 10 + e->clientrect.Left, area.top() + 8 + e->clientrect.Top, 180, e->clientrect.Height()),
                 "golf clubs", *e, e->fontcolor, Qt::AlignLeft | Qt::AlignVCenter);
            Three(p, pic, e->activeskinrect, e->lefttoppoint.X, e->righttoppoint.X, QRect(area.left() + 10, area.top() + 32, 200, 0));
        }
        if (auto* c = Find<TDataSkinCheckRadioControl>(skin, "checkbox")) {
            const QImage& pic = *skin.Picture(c->pictureindex);
            const TRect images[] = {c->checkimagerect, c->uncheckimagerect, c->activecheckimagerect};
            const char* captions[] = {"Precise Search", "Broad Search", "Hot box"};
            for (int i = 0; i < 3; ++i) {
                const QPoint at(area.left() + 230 + (i % 2) * 130, area.top() + 8 + (i / 2) * 24);
                QImage img = pic.copy(images[i].ToQRect()).convertToFormat(QImage::Format_ARGB32);
                const QRgb key = img.pixel(0, img.height() - 1);
                for (int yy = 0; yy < img.height(); ++yy)
                    for (int xx = 0; xx < img.width(); ++xx)
                        if (img.pixel(xx, yy) == key) img.setPixel(xx, yy, 0);
                p.drawImage(at + QPoint(3, 2), img);
                Text(p, QRect(at.x() + img.width() + 7, at.y(), 110, 20), captions[i], *c, c->framefontcolor, Qt::AlignLeft | Qt::AlignVCenter);
            }
        }
        y = area.bottom() + 5;
    }

    // The keyword table: header sections, white rows, a vertical scroll bar.
    const int statusHeight = Find<TDataSkinPanelControl>(skin, "statusbar") ? Find<TDataSkinPanelControl>(skin, "statusbar")->skinrect.Height() : 20;
    const QRect table(client.left(), y, client.width(), client.bottom() - statusHeight - y + 1);
    auto* list = Find<TDataSkinListView>(skin, "listview");
    p.fillRect(table, list ? SkinColor(list->bgcolor) : QColor(Qt::white));
    int scrollWidth = 0;
    if (auto* v = Find<TDataSkinScrollBarControl>(skin, "vscrollbar")) {
        const QImage& pic = *skin.Picture(v->pictureindex);
        scrollWidth = v->skinrect.Width();
        const QRect bar(table.right() + 1 - scrollWidth, table.top(), scrollWidth, table.height());
        ThreeDown(p, pic, v->skinrect, v->lefttoppoint.Y, v->leftbottompoint.Y, bar);
        const TRect thumb = v->activethumbrect;
        ThreeDown(p, pic, thumb, v->thumboffset1, thumb.Height() - v->thumboffset2,
                  QRect(bar.left() + (bar.width() - thumb.Width()) / 2, bar.top() + 30, 0, 50));
    }
    if (auto* h = Find<TDataSkinButtonControl>(skin, "resizebutton")) {
        const QImage& pic = *skin.Picture(h->pictureindex);
        const char* columns[] = {"#", "Keyword", "Searches", "Google", "Yahoo", "Msn"};
        const int widths[] = {40, 150, 70, 70, 70, 70};
        int hx = table.left();
        for (int i = 0; i < 6; ++i) {
            const QRect section(hx, table.top(), widths[i], h->skinrect.Height() + 4);
            Nine(p, pic, i == 2 ? h->downskinrect : h->skinrect, h->lefttoppoint, h->rightbottompoint, section);
            Text(p, section.adjusted(5, 0, -5, 0), columns[i], *h, i == 2 ? h->downfontcolor : h->fontcolor, Qt::AlignLeft | Qt::AlignVCenter);
            hx += widths[i];
        }
        const char* rows[] = {"golf clubs", "golf balls", "golf courses", "golf shoes"};
        for (int i = 0; i < 4; ++i)
            if (list) Text(p, QRect(table.left() + 45, table.top() + 30 + 18 * i, 150, 18), rows[i], *list, list->fontcolor, Qt::AlignLeft | Qt::AlignVCenter);
    }

    // Status bar with two panels and the gauge at 40 percent.
    if (auto* bar = Find<TDataSkinPanelControl>(skin, "statusbar")) {
        const QRect area(client.left(), client.bottom() + 1 - bar->skinrect.Height(), client.width(), bar->skinrect.Height());
        Three(p, *skin.Picture(bar->pictureindex), bar->skinrect, bar->lefttoppoint.X, bar->righttoppoint.X, area);
        const QRect inner(area.left() + bar->clientrect.Left, area.top() + bar->clientrect.Top,
                          area.width() - bar->clientrect.Left - (bar->skinrect.Width() - bar->clientrect.Right), bar->clientrect.Height());
        int px = inner.left();
        if (auto* s = Find<TDataSkinLabelControl>(skin, "statuspanel")) {
            const char* texts[] = {"Process completed sucessfull!", "Main Keyword: golf"};
            const int widths[] = {200, 150};
            for (int i = 0; i < 2; ++i) {
                const QRect r(px, inner.top(), widths[i] - 2, 0);
                Three(p, *skin.Picture(s->pictureindex), s->skinrect, s->lefttoppoint.X, s->righttoppoint.X, r);
                Text(p, QRect(px + s->clientrect.Left, inner.top() + s->clientrect.Top, widths[i] - 2 - 12, s->clientrect.Height()), texts[i], *s, s->fontcolor, Qt::AlignLeft | Qt::AlignVCenter);
                px += widths[i];
            }
        }
        if (auto* g = Find<TDataSkinGaugeControl>(skin, "statusgauge")) {
            const QImage& pic = *skin.Picture(g->pictureindex);
            const QRect r(px, inner.top(), inner.right() + 1 - px, g->skinrect.Height());
            Three(p, pic, g->skinrect, g->lefttoppoint.X, g->righttoppoint.X, r);
            const int areaWidth = g->progressarea.Width() + (r.width() - g->skinrect.Width());
            const int filled = areaWidth * 4 / 10;
            Three(p, pic, g->progressrect, g->beginoffset, g->progressrect.Width() - g->endoffset,
                  QRect(r.left() + g->progressarea.Left, r.top() + g->progressarea.Top, filled, 0));
            Text(p, r, "40%", *g, g->fontcolor, Qt::AlignCenter);
        }
    }
    p.end();
    // The window outline follows the mask.
    const QImage& mask = skin.Mask();
    if (!mask.isNull()) {
        QImage fitted(W, H, QImage::Format_RGB32);
        QPainter mp(&fitted);
        Nine(mp, mask, {0, 0, mask.width(), mask.height()}, {f.lefttoppoint.X, f.clientrect.Top}, {f.rightbottompoint.X, f.clientrect.Bottom}, fitted.rect());
        mp.end();
        for (int yy = 0; yy < H; ++yy)
            for (int xx = 0; xx < W; ++xx)
                if (fitted.pixelColor(xx, yy) != QColor(Qt::black)) window.setPixelColor(xx, yy, QColor(0x5A, 0x62, 0x6E));
    }
    return window;
}

}  // namespace dorvanel::skinpack
