#include "skinctrls/frame_paint.h"

#include "skin/effect_bmp.h"
#include "skinctrls/skin_draw.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace dorvanel::skinctrls {

using skin::TRect;
using skin::TStdCommand;

bool ButtonToggled(const TSkinStdButtonObject& button, const TFramePaintState& s) {
    switch (button.Command) {
        case TStdCommand::cmMaximize:
            return s.Maximized;
        case TStdCommand::cmMinimize:
            return s.Minimized;
        case TStdCommand::cmRollUp:
            return s.RolledUp;
        default:
            return false;
    }
}

namespace {

void DrawPiece(QPainter& p, QPoint at, const QImage* picture, const TRect& source, QSize clip) {
    if (!picture || source.IsEmpty()) return;
    const QRect src = source.ToQRect() & picture->rect();
    if (src.isEmpty()) return;
    DrawPicture(p, at, *picture, QRect(src.topLeft(), src.size().boundedTo(clip)));
}

// A piece drawn across width: its part left of `from` once, the part from `from` to `to` tiled, the rest once
// at the right end.
void DrawThreePart(QPainter& p, QPoint at, const QImage& picture, const TRect& source, int from, int to, int width) {
    const QRect src = source.ToQRect() & picture.rect();
    if (src.isEmpty() || width <= 0) return;
    from = std::clamp(from, 0, src.width());
    to = std::clamp(to, from, src.width());
    const int rightPart = src.width() - to;
    p.save();
    p.setClipRect(QRect(at, QSize(width, src.height())), Qt::IntersectClip);
    DrawPicture(p, at, picture, QRect(src.left(), src.top(), from, src.height()));
    skin::TileImage(p, picture, QRect(src.left() + from, src.top(), to - from, src.height()),
                    QRect(at.x() + from, at.y(), std::max(0, width - from - rightPart), src.height()));
    DrawPicture(p, QPoint(at.x() + width - rightPart, at.y()), picture,
                QRect(src.left() + to, src.top(), rightPart, src.height()));
    p.restore();
}

void PaintButton(QPainter& p, const TSkinStdButtonObject& button, const TFramePaintState& s) {
    const QRect at = button.ObjectRect;
    if (button.Command == TStdCommand::cmSysMenu && s.ShowIcon) {
        s.Icon.paint(&p, at);
        return;
    }
    const QImage* picture = button.Picture(s.Skin);
    const skin::TDataSkinStdButton* b = button.Button();
    const bool toggled = ButtonToggled(button, s);
    const bool blending = b->morphing && button.Enabled && s.Active && !button.Pressed && button.Blend.InProgress();
    if (blending && picture) {
        const TRect normal = toggled && !b->restorerect.IsEmpty() ? b->restorerect : b->skinrect;
        const TRect hot = toggled && !b->restorerect.IsEmpty() ? b->restoreactiverect : b->activeskinrect;
        if (!hot.IsEmpty() && hot.Width() == normal.Width() && hot.Height() == normal.Height()) {
            const QImage blended = skin::BlendStates(picture->copy(normal.ToQRect()), picture->copy(hot.ToQRect()),
                                                     b->morphkind, button.Blend.Position());
            DrawPicture(p, at.topLeft(), blended, QRect(QPoint(0, 0), at.size()).intersected(blended.rect()));
            return;
        }
    }
    const bool hotImage = b->morphing ? button.Blend.Position() >= 1.0 : button.Hot;
    DrawPiece(p, at.topLeft(), picture, ButtonStateRect(button, s.Active, toggled, hotImage), at.size());
}

void PaintCaption(QPainter& p, const TSkinCaptionObject& caption, const TFramePaintState& s, TFittedText& fitted) {
    const skin::TDataSkinCaption* c = caption.Caption();
    const QRect at = caption.ObjectRect;
    if (at.isEmpty()) return;
    const QImage* picture = caption.Picture(s.Skin);
    const TRect& image = s.Active && !c->activeskinrect.IsEmpty() ? c->activeskinrect : c->skinrect;
    const bool sameSize = c->activeskinrect.Width() == c->skinrect.Width() &&
                          c->activeskinrect.Height() == c->skinrect.Height() && !c->activeskinrect.IsEmpty();
    if (picture && c->morphing && caption.Blend.InProgress() && sameSize) {
        // Between the inactive and the active look: both drawn at the caption's width, then blended.
        const qreal ratio = skin::DeviceRatio(p);
        QImage normal = DeviceImage(at.size(), ratio, QImage::Format_ARGB32_Premultiplied);
        QImage active = DeviceImage(at.size(), ratio, QImage::Format_ARGB32_Premultiplied);
        if (!normal.isNull() && !active.isNull()) {
            for (auto [target, source] : {std::pair{&normal, &c->skinrect}, std::pair{&active, &c->activeskinrect}}) {
                target->fill(Qt::transparent);
                QPainter ip(target);
                DrawThreePart(ip, {0, 0}, *picture, *source, c->textrect.Left, c->textrect.Right, at.width());
            }
            QImage blended = skin::BlendStates(normal, active, c->morphkind, caption.Blend.Position());
            blended.setDevicePixelRatio(ratio);
            p.drawImage(at.topLeft(), blended);
        }
    } else if (picture && (caption.InOwnPicture() || &image == &c->activeskinrect)) {
        DrawThreePart(p, at.topLeft(), *picture, image, c->textrect.Left, c->textrect.Right, at.width());
    }

    TRect textRect = c->textrect;
    if (textRect.IsEmpty()) textRect = {0, 0, c->skinrect.Width(), c->skinrect.Height()};
    textRect.Right += at.width() - c->skinrect.Width();
    QRect box = textRect.ToQRect().translated(at.topLeft());
    if (box.width() <= 0 || box.height() <= 0) return;
    const QFont font = c->Font();
    const QFontMetrics metrics(font);
    const QString& text = fitted.Fit(font, s.Caption, box.width());
    const int textWidth = metrics.horizontalAdvance(text);
    int x = box.left();
    if (c->alignment == skin::TAlignment::taCenter) x = box.left() + (box.width() - textWidth) / 2;
    else if (c->alignment == skin::TAlignment::taRightJustify) x = box.right() + 1 - textWidth;
    const TRect& frame = s.Active && !c->activeframerect.IsEmpty() ? c->activeframerect : c->framerect;
    if (!frame.IsEmpty() && picture) {
        const int width = textWidth + c->frameleftoffset + c->framerightoffset;
        DrawThreePart(p, QPoint(x - c->frameleftoffset, box.top() + (box.height() - frame.Height()) / 2), *picture,
                      frame, c->frameleftoffset, frame.Width() - c->framerightoffset, width);
    }
    p.save();
    p.setClipRect(box, Qt::IntersectClip);
    p.setFont(font);
    const QRect line(x, box.top(), textWidth + 1, box.height());
    if (c->shadow) {
        p.setPen(skin::SkinColor(s.Active ? c->activeshadowcolor : c->shadowcolor));
        p.drawText(line.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
    p.setPen(skin::SkinColor(s.Active ? c->activefontcolor : c->fontcolor));
    p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    p.restore();
}

// The objects that reach into area (window coordinates).
void PaintObjects(QPainter& p, const TFramePaintState& s, const QRect& area, TFittedText& fitted) {
    for (const auto& object : *s.Objects) {
        if (!object->Visible || !object->ObjectRect.intersects(area)) continue;
        if (auto* caption = dynamic_cast<const TSkinCaptionObject*>(object.get())) PaintCaption(p, *caption, s, fitted);
        else PaintButton(p, static_cast<const TSkinStdButtonObject&>(*object), s);
    }
}

}  // namespace

void TFrameStrips::Paint(QPainter& p, QSize windowSize, const TFramePaintState& s) {
    const qreal ratio = skin::DeviceRatio(p);
    if (!FValid || FSize != windowSize || FRatio != ratio) Build(windowSize, ratio, s);
    const QImage* images[] = {&FTop, &FLeft, &FRight, &FBottom};
    for (int i = 0; i < 4; ++i)
        if (!images[i]->isNull() && !FPlaces[i].isEmpty()) p.drawImage(FPlaces[i].topLeft(), *images[i]);
}

void TFrameStrips::Build(QSize window, qreal ratio, const TFramePaintState& s) {
    FValid = true;
    FSize = window;
    FRatio = ratio;
    const QImage* picture = nullptr;
    skin::TSkinGeometry geometry;
    skin::TStretchFlags stretch;
    QMargins m = PlainFrameMargins();
    bool effect = false;
    if (s.Skin) {
        const skin::TSkinFormInfo& info = s.Skin->FormInfo();
        const QImage& main = s.Skin->MainPicture();
        picture = !s.Active && !s.Skin->InactivePicture().isNull() ? &s.Skin->InactivePicture() : &main;
        geometry = skin::HeldGeometry(FrameGeometry(info, main.size()), picture);
        stretch = {info.leftstretch, info.rightstretch, info.topstretch, info.bottomstretch};
        m = SkinFrameMargins(info, main.size());
        effect = !s.Active && info.autorenderinginactiveimage;
    }
    const int clientHeight = std::max(0, window.height() - m.top() - m.bottom());
    FPlaces[0] = QRect(0, 0, window.width(), m.top());
    FPlaces[1] = QRect(0, m.top(), m.left(), clientHeight);
    FPlaces[2] = QRect(window.width() - m.right(), m.top(), m.right(), clientHeight);
    FPlaces[3] = QRect(0, window.height() - m.bottom(), window.width(), m.bottom());
    QImage* images[] = {&FTop, &FLeft, &FRight, &FBottom};
    for (int i = 0; i < 4; ++i) {
        QImage& image = *images[i];
        const QRect& place = FPlaces[i];
        if (place.isEmpty()) {
            image = QImage();
            continue;
        }
        // Drawn at the screen's resolution: pictures and the caption's text are as sharp as the screen allows.
        if (LogicalSize(image) != place.size() || image.devicePixelRatio() != ratio)
            image = DeviceImage(place.size(), ratio, QImage::Format_RGB32);
        if (image.isNull()) continue;
        // A skin whose pieces do not cover the strip leaves the face colour there, never the memory's old bytes.
        image.fill(clBtnFace());
        {
            QPainter sp(&image);
            sp.translate(-place.topLeft());
            if (picture) {
                skin::DrawSkinImage(sp, {0, 0}, picture, geometry.SkinRect, geometry, 1, window, false, stretch);
                PaintObjects(sp, s, place, FCaption);
            } else {
                PaintPlainFrame(sp, window, s, &FCaption);
            }
        }
        if (effect) {
            skin::TEffectBmp altered(image);
            altered.Apply(s.Skin->FormInfo().inactiveeffect);
            image = altered.Image().convertToFormat(QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
        }
    }
}

namespace {

void DrawPlainGlyph(QPainter& p, const QRect& r, TStdCommand command, bool restore, const QColor& color) {
    p.save();
    p.setPen(color);
    const QRect g = r.adjusted(4, 3, -4, -3);
    switch (command) {
        case TStdCommand::cmClose:
            p.drawLine(g.topLeft(), g.bottomRight());
            p.drawLine(g.topLeft() + QPoint(1, 0), g.bottomRight() + QPoint(1, 0));
            p.drawLine(g.bottomLeft(), g.topRight());
            p.drawLine(g.bottomLeft() + QPoint(1, 0), g.topRight() + QPoint(1, 0));
            break;
        case TStdCommand::cmMaximize:
            if (restore) {
                const QRect back(g.left() + 2, g.top(), g.width() - 2, g.height() - 2);
                const QRect front(g.left(), g.top() + 2, g.width() - 2, g.height() - 2);
                p.drawRect(back.adjusted(0, 0, -1, -1));
                p.fillRect(front, clBtnFace());
                p.drawRect(front.adjusted(0, 0, -1, -1));
                p.drawLine(front.topLeft() + QPoint(0, 1), front.topRight() + QPoint(-1, 1));
            } else {
                p.drawRect(g.adjusted(0, 0, -1, -1));
                p.drawLine(g.topLeft() + QPoint(0, 1), g.topRight() + QPoint(-1, 1));
            }
            break;
        case TStdCommand::cmMinimize:
            p.fillRect(QRect(g.left(), g.bottom() - 1, g.width() - 1, 2), color);
            break;
        default:
            break;
    }
    p.restore();
}

}  // namespace

void PaintPlainFrame(QPainter& p, QSize windowSize, const TFramePaintState& s, TFittedText* fitted) {
    const QRect window(QPoint(0, 0), windowSize);
    const QMargins m = PlainFrameMargins();
    p.save();
    // Only the border is drawn: the client area is the client's.
    const int w = window.width(), h = window.height();
    for (const QRect& strip : {QRect(0, 0, w, m.top()), QRect(0, h - m.bottom(), w, m.bottom()),
                               QRect(0, m.top(), m.left(), h - m.top() - m.bottom()),
                               QRect(w - m.right(), m.top(), m.right(), h - m.top() - m.bottom())})
        p.fillRect(strip, clBtnFace());
    // A raised three-pixel border.
    p.setPen(clBtnHighlight());
    p.drawLine(0, 0, window.width() - 2, 0);
    p.drawLine(0, 0, 0, window.height() - 2);
    p.setPen(clBtnShadow());
    p.drawLine(window.width() - 1, 0, window.width() - 1, window.height() - 1);
    p.drawLine(0, window.height() - 1, window.width() - 1, window.height() - 1);

    const QRect strip = PlainCaptionRect(windowSize);
    for (int i = 0; i < kPlainCaptionHeight - 5; ++i) {
        p.setPen(i % 2 == 0 ? clBtnHighlight() : clBtnShadow());
        const int y = strip.top() + 2 + i;
        p.drawLine(strip.left() + 2, y, strip.right() - 2, y);
    }
    const QFont& font = s.Active ? s.CaptionFont : s.InactiveCaptionFont;
    for (const auto& object : *s.Objects) {
        if (!object->Visible) continue;
        if (auto* button = dynamic_cast<const TSkinStdButtonObject*>(object.get())) {
            DrawStateFill(p, button->ObjectRect, button->Hot, button->Pressed && button->Hot);
            DrawPlainGlyph(p, button->ObjectRect, button->Command, ButtonToggled(*button, s), clBtnText());
            continue;
        }
        const QRect area = object->ObjectRect;
        const QFontMetrics metrics(font);
        TFittedText once;
        const QString& text = (fitted ? *fitted : once).Fit(font, s.Caption, std::max(0, area.width() - 5));
        if (text.isEmpty()) continue;
        const int boxWidth = metrics.horizontalAdvance(text) + 5;
        const QRect box(area.left() + (area.width() - boxWidth) / 2, area.top(), boxWidth, area.height());
        p.fillRect(box, clBtnFace());
        p.setFont(font);
        p.setPen(s.Active ? s.CaptionColor : s.InactiveCaptionColor);
        p.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, text);
    }
    p.restore();
}

void PaintClientBackground(QPainter& p, const skin::TSkinData* skin, QSize clientSize) {
    const QRect area(QPoint(0, 0), clientSize);
    if (skin && !skin->Empty()) {
        if (const QImage* background = skin->Picture(skin->FormInfo().bgpictureindex)) {
            skin::TileImage(p, *background, background->rect(), area);
            return;
        }
        const QRect piece = skin->FormInfo().clientrect.ToQRect() & skin->MainPicture().rect();
        if (!piece.isEmpty()) {
            skin::TileImage(p, skin->MainPicture(), piece, area);
            return;
        }
    }
    p.fillRect(area, clBtnFace());
}

}  // namespace dorvanel::skinctrls
