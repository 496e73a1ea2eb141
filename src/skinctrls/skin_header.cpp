#include "skinctrls/skin_header.h"

#include "skinctrls/skin_control.h"

#include <QPainter>

#include <algorithm>

namespace dorvanel::skinctrls {

namespace {

const skin::TDataSkinButtonControl* HeaderDescription(const skin::TSkinData* data, const QString& name) {
    if (!data || data->SkinEmpty()) return nullptr;
    return dynamic_cast<const skin::TDataSkinButtonControl*>(data->Control(data->IndexOfControl(name)));
}

// The image of source at size: nine-part when the description has a left-bottom point, else three-part
// along the width at the skin height, stretched to the height.
void DrawHeaderImage(QPainter& p, const QRect& r, const TSkinLook& look, const skin::TRect& source,
                     skin::TSkinGeometry geometry) {
    if (!look.Picture) return;
    if (!geometry.LBPoint.IsZero()) {
        skin::DrawSkinImage(p, r.topLeft(), look.Picture, source, geometry, 1, r.size());
        return;
    }
    geometry.LBPoint = geometry.RBPoint = {};
    if (geometry.RTPoint.IsZero()) geometry.RTPoint = {geometry.SkinRect.Width(), 0};
    QImage strip;
    skin::BuildSkinImage(strip, look.Picture, source, geometry, 2, QSize(r.width(), geometry.SkinRect.Height()), true,
                         {}, skin::DeviceRatio(p));
    if (!strip.isNull()) p.drawImage(r, strip);
}

}  // namespace

void PaintHeaderSection(QPainter& p, const QRect& r, const skin::TSkinData* data, const QString& headerName,
                        const THeaderSection& section, const QFont& font, bool drawCaption) {
    if (r.isEmpty()) return;
    const skin::TDataSkinButtonControl* header = HeaderDescription(data, headerName);
    const TSkinLook look = LookOf(data, header);
    QColor color = clBtnText();
    p.save();
    if (header && look.Picture) {
        const skin::TRect active = header->activeskinrect.IsEmpty() ? header->skinrect : header->activeskinrect;
        const skin::TRect down = header->downskinrect.IsEmpty() ? active : header->downskinrect;
        DrawHeaderImage(p, r, look, section.Pressed ? down : header->skinrect, look.Geometry);
        color = skin::SkinColor(section.Pressed ? header->downfontcolor : header->fontcolor);
    } else {
        DrawStateFill(p, r, section.Pressed, section.Pressed);
    }
    if (drawCaption && !section.Caption.isEmpty()) {
        const QFontMetrics fm(font);
        const QString text = FitTextWithEllipsis(fm, section.Caption, r.width() - 10);
        const int tw = fm.horizontalAdvance(text), th = fm.height();
        int x = 5;
        if (section.Alignment & Qt::AlignRight) x = r.width() - tw - 10;
        else if (section.Alignment & Qt::AlignHCenter) x = Div(r.width(), 2) - Div(tw, 2);
        const int y = Div(r.height(), 2) - Div(th, 2);
        p.setFont(font);
        p.setPen(color);
        p.setClipRect(QRect(r.left() + 5, r.top(), std::max(0, r.width() - 10), r.height()), Qt::IntersectClip);
        p.drawText(QRect(r.left() + x, r.top() + y, tw, th), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    p.restore();
}

void PaintHeaderRest(QPainter& p, const QRect& r, const skin::TSkinData* data, const QString& headerName) {
    if (r.isEmpty()) return;
    const skin::TDataSkinButtonControl* header = HeaderDescription(data, headerName);
    const TSkinLook look = LookOf(data, header);
    if (!header || !look.Picture) {
        DrawFramedFill(p, r, clBtnShadow(), clBtnFace());
        return;
    }
    // The left piece and the tiled middle of the image, without the right piece that holds the divider: a
    // header with no column there. The source is cut at the right point, so the right piece is empty.
    skin::TSkinGeometry g = look.Geometry;
    const int middleEnd = g.RTPoint.X > g.LTPoint.X ? std::min(g.RTPoint.X, g.SkinRect.Width()) : g.SkinRect.Width();
    skin::TRect source = header->skinrect;
    source.Right = source.Left + middleEnd;
    g.SkinRect = source;
    g.RTPoint = {middleEnd, 0};
    g.LBPoint = g.RBPoint = {};
    DrawHeaderImage(p, r, look, source, g);
}

}  // namespace dorvanel::skinctrls
