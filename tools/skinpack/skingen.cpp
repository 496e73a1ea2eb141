// Draws the pictures of the default skin "Modern" into a folder, from the rectangles its description gives.
// The description is the one source of the geometry: every section's rectangles are read from it and each
// is drawn in the look that section stands for. Run headless: skingen <modern.skn> <output folder>.
#include "skin_generator.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <functional>
#include <map>
#include <string>

using namespace dorvanel::skin;

namespace {

// The palette.
const QColor kBackground(0xF0, 0xF2, 0xF5);  // window and panel face
const QColor kUnused(0xFF, 0xFF, 0xFF);      // picture areas no rectangle names
const QColor kOutline(0xBF, 0xC6, 0xCF);
const QColor kFieldOutline(0xC3, 0xC9, 0xD1);
const QColor kCardOutline(0xD5, 0xDA, 0xE0);
const QColor kAccent(0x25, 0x63, 0xEB);
const QColor kAccentHot(0x3B, 0x82, 0xF6);
const QColor kAccentTint(0xE3, 0xED, 0xFD);
const QColor kAccentTintDown(0xD3, 0xE3, 0xFC);
const QColor kGlyph(0x4B, 0x55, 0x63);
const QColor kGlyphDark(0x1F, 0x23, 0x28);
const QColor kGlyphDisabled(0xB4, 0xBA, 0xC2);

enum class State { Normal, Hot, Down, Disabled, Inactive };

QRectF Inner(const QRect& r, double inset = 0.5) { return QRectF(r).adjusted(inset, inset, -inset, -inset); }

QColor Mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// The pictures being drawn, by list index (-1 the frame picture, -2 its mask); each grows to hold every
// rectangle drawn into it.
class Pictures {
public:
    QImage& At(int index, const QRect& r) {
        QImage& image = FImages[index];
        const int w = std::max(image.width(), r.right() + 1);
        const int h = std::max(image.height(), r.bottom() + 1);
        if (w != image.width() || h != image.height()) {
            QImage grown(w, h, QImage::Format_RGB32);
            grown.fill(kUnused);
            QPainter p(&grown);
            if (!image.isNull()) p.drawImage(0, 0, image);
            p.end();
            image = grown;
        }
        return image;
    }
    const std::map<int, QImage>& All() const { return FImages; }

private:
    std::map<int, QImage> FImages;
};

class Generator {
public:
    explicit Generator(const TSkinDescription& d) : D(d) {}

    QRect R(const std::string& section, const char* key) const { return D.ReadRect(section, key).ToQRect(); }
    int Picture(const std::string& section, const char* key = "pictureindex") const {
        return D.ReadInteger(section, key, -1);
    }

    // A painter on the picture, grown to hold r, with antialiasing, clipped to r.
    template <class F>
    void Draw(int picture, const QRect& r, F draw) {
        if (r.isEmpty()) return;
        QImage& image = P.At(picture, r);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setClipRect(r);
        draw(p, r);
    }

    void All();
    const Pictures& Result() const { return P; }

private:
    // ---- looks ----
    static void Gradient(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, top);
        g.setColorAt(1, bottom);
        p.fillRect(r, g);
    }
    static void RoundBox(QPainter& p, const QRect& r, double radius, const QBrush& fill, const QColor& outline) {
        p.setPen(QPen(outline, 1));
        p.setBrush(fill);
        p.drawRoundedRect(Inner(r), radius, radius);
    }
    static QBrush VGrad(const QRect& r, const QColor& top, const QColor& bottom) {
        QLinearGradient g(QPointF(0, r.top()), QPointF(0, r.bottom() + 1));
        g.setColorAt(0, top);
        g.setColorAt(1, bottom);
        return g;
    }
    static void Chevron(QPainter& p, QPointF c, double size, double angleDegrees, const QColor& colour) {
        p.save();
        p.translate(c);
        p.rotate(angleDegrees);  // 0 points down
        p.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(-size, -size / 2), QPointF(0, size / 2), QPointF(size, -size / 2)}));
        p.restore();
    }

    void Button(const std::string& s);
    void ToolButton(const std::string& s, bool withMenu);
    void Header(const std::string& s);
    void Panel(const std::string& s);
    void ToolPanel(const std::string& s);
    void StatusBar(const std::string& s);
    void StatusField(const std::string& s);
    void Gauge(const std::string& s);
    void Edit(const std::string& s);
    void CheckRadio(const std::string& s, bool radio);
    void ScrollBar(const std::string& s, bool vertical, bool corner);
    void ComboBox(const std::string& s);
    void ListBox(const std::string& s);
    void Frame();
    void CaptionButtons();
    void Popup();

    void RoundMask(int picture, const QRect& r, double radius);
    void StatusBackground(QPainter& p, const QRect& r, int fromRow);

    const TSkinDescription& D;
    Pictures P;
};

// A mask: black (shown) inside a rounded rectangle, white (cut away) in its corners.
void Generator::RoundMask(int picture, const QRect& r, double radius) {
    Draw(picture, r, [radius](QPainter& p, const QRect& area) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(area, Qt::white);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        QPainterPath path;
        path.addRoundedRect(QRectF(area), radius, radius);
        p.drawPath(path);
    });
}

void Generator::Button(const std::string& s) {
    const int pic = Picture(s);
    auto face = [&](const char* key, State state) {
        Draw(pic, R(s, key), [state](QPainter& p, const QRect& r) {
            p.fillRect(r, kBackground);
            switch (state) {
                case State::Hot:
                    RoundBox(p, r, 3, VGrad(r, QColor(0xF6, 0xFA, 0xFF), QColor(0xE2, 0xED, 0xFD)), kAccentHot);
                    break;
                case State::Down:
                    RoundBox(p, r, 3, VGrad(r, QColor(0xD4, 0xE4, 0xFB), QColor(0xE6, 0xEF, 0xFD)), kAccent);
                    break;
                case State::Disabled:
                    RoundBox(p, r, 3, QColor(0xF6, 0xF7, 0xF9), QColor(0xD9, 0xDD, 0xE3));
                    break;
                default:
                    RoundBox(p, r, 3, VGrad(r, Qt::white, QColor(0xEE, 0xF0, 0xF4)), kOutline);
            }
            if (state == State::Normal) {  // a soft highlight under the top edge
                p.setPen(QColor(255, 255, 255, 200));
                p.drawLine(QPointF(r.left() + 3, r.top() + 1.5), QPointF(r.right() - 2, r.top() + 1.5));
            }
        });
    };
    face("skinrect", State::Normal);
    face("activeskinrect", State::Hot);
    face("downskinrect", State::Down);
    face("disabledskinrect", State::Disabled);
    const int mask = Picture(s, "maskpictureindex");
    if (mask >= 0) RoundMask(mask, QRect(QPoint(0, 0), R(s, "skinrect").size()), 3);
}

void Generator::ToolButton(const std::string& s, bool withMenu) {
    const int pic = Picture(s);
    const QRect track = R(s, "trackbuttonrect");
    auto face = [&](const char* key, State state) {
        const QRect place = R(s, key);
        Draw(pic, place, [&](QPainter& p, const QRect& r) {
            p.fillRect(r, kBackground);
            if (state == State::Hot) RoundBox(p, r.adjusted(1, 1, -1, -1), 3, kAccentTint, QColor(0xA9, 0xC6, 0xF5));
            if (state == State::Down)
                RoundBox(p, r.adjusted(1, 1, -1, -1), 3, kAccentTintDown, QColor(0x7A, 0xA7, 0xF0));
            if (withMenu) {
                const QRect t = track.translated(0, r.top() - R(s, "skinrect").top());
                Chevron(p, QPointF(t.center().x() + 0.5, t.center().y() + 1), 3, 0, kGlyph);
                if (state == State::Hot || state == State::Down) {
                    p.setPen(QColor(0xA9, 0xC6, 0xF5));
                    p.drawLine(QPointF(t.left() - 0.5, r.top() + 4), QPointF(t.left() - 0.5, r.bottom() - 3));
                }
            }
        });
    };
    face("skinrect", State::Normal);
    face("activeskinrect", State::Hot);
    face("downskinrect", State::Down);
}

void Generator::Header(const std::string& s) {
    const int pic = Picture(s);
    const int divider = D.ReadRect(s, "clientrect").Right + 1;  // inside the right border
    auto face = [&](const char* key, const QColor& fill) {
        Draw(pic, R(s, key), [&](QPainter& p, const QRect& r) {
            p.setRenderHint(QPainter::Antialiasing, false);
            p.fillRect(r, fill);
            p.setPen(kCardOutline);
            p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
            p.setPen(QColor(0xDD, 0xE1, 0xE6));
            p.drawLine(r.left() + divider, r.top() + 2, r.left() + divider, r.bottom() - 2);
        });
    };
    face("skinrect", QColor(0xF8, 0xF9, 0xFB));
    face("activeskinrect", QColor(0xEE, 0xF3, 0xFA));
    face("downskinrect", QColor(0xE2, 0xEA, 0xF5));
}

void Generator::Panel(const std::string& s) {
    Draw(Picture(s), R(s, "skinrect"), [](QPainter& p, const QRect& r) {
        p.fillRect(r, kBackground);
        RoundBox(p, r, 4, Qt::NoBrush, kCardOutline);
        p.setPen(QColor(255, 255, 255, 180));
        p.drawLine(QPointF(r.left() + 4, r.top() + 1.5), QPointF(r.right() - 3, r.top() + 1.5));
    });
}

void Generator::ToolPanel(const std::string& s) {
    Draw(Picture(s), R(s, "skinrect"), [](QPainter& p, const QRect& r) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(r, kBackground);
        p.setPen(QColor(0xDD, 0xE1, 0xE6));
        p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    });
}

// The status bar's face: a soft gradient under a line; fields take the rows they sit on.
void Generator::StatusBackground(QPainter& p, const QRect& r, int fromRow) {
    const QRect bar = R("statusbar", "skinrect");
    for (int y = 0; y < r.height(); ++y) {
        const double t = double(fromRow + y) / std::max(1, bar.height() - 1);
        p.fillRect(QRect(r.left(), r.top() + y, r.width(), 1),
                   Mix(QColor(0xF4, 0xF5, 0xF7), QColor(0xE9, 0xEC, 0xF0), t));
    }
}

void Generator::StatusBar(const std::string& s) {
    Draw(Picture(s), R(s, "skinrect"), [this](QPainter& p, const QRect& r) {
        p.setRenderHint(QPainter::Antialiasing, false);
        StatusBackground(p, r, 0);
        p.setPen(QColor(0xD9, 0xDD, 0xE3));
        p.drawLine(r.left(), r.top(), r.right(), r.top());
    });
}

void Generator::StatusField(const std::string& s) {
    const int top = D.ReadRect("statusbar", "clientrect").Top;
    Draw(Picture(s), R(s, "skinrect"), [&](QPainter& p, const QRect& r) {
        StatusBackground(p, r, top);
        RoundBox(p, r, 3, QColor(0xFA, 0xFB, 0xFC), QColor(0xD3, 0xD8, 0xDF));
    });
}

void Generator::Gauge(const std::string& s) {
    const int top = D.ReadRect("statusbar", "clientrect").Top;
    Draw(Picture(s), R(s, "skinrect"), [&](QPainter& p, const QRect& r) {
        StatusBackground(p, r, top);
        RoundBox(p, r, 3, Qt::white, QColor(0xD3, 0xD8, 0xDF));
    });
    Draw(Picture(s), R(s, "progressrect"), [](QPainter& p, const QRect& r) {
        p.fillRect(r, VGrad(r, QColor(0x9C, 0xC6, 0xFA), QColor(0x5E, 0x9D, 0xF4)));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QColor(0x4A, 0x8B, 0xEA));
        p.drawLine(r.left(), r.top(), r.left(), r.bottom());
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    });
}

void Generator::Edit(const std::string& s) {
    const int pic = Picture(s);
    Draw(pic, R(s, "skinrect"), [](QPainter& p, const QRect& r) {
        p.fillRect(r, kBackground);
        RoundBox(p, r, 3, Qt::white, kFieldOutline);
    });
    Draw(pic, R(s, "activeskinrect"), [](QPainter& p, const QRect& r) {
        p.fillRect(r, kBackground);
        RoundBox(p, r, 3, Qt::white, kAccentHot);
        p.setPen(QColor(0xD6, 0xE4, 0xFC));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(Inner(r, 1.5), 2, 2);
    });
    // The frame button of a button edit: the right end of the field with a "..." mark.
    auto button = [&](const char* key, const QColor& fill, const QColor& outline, const QColor& dots) {
        Draw(pic, R(s, key), [&](QPainter& p, const QRect& r) {
            p.fillRect(r, kBackground);
            RoundBox(p, r.adjusted(-6, 0, 0, 0), 3, fill, outline);
            p.setPen(QColor(0xE1, 0xE4, 0xE8));
            p.drawLine(QPointF(r.left() + 0.5, r.top() + 4), QPointF(r.left() + 0.5, r.bottom() - 3));
            p.setPen(Qt::NoPen);
            p.setBrush(dots);
            for (int i = -1; i <= 1; ++i)
                p.drawEllipse(QPointF(r.center().x() + 1 + 4 * i, r.center().y() + 1), 1.2, 1.2);
        });
    };
    button("buttonrect", Qt::white, kFieldOutline, kGlyph);
    button("activebuttonrect", QColor(0xEE, 0xF4, 0xFE), kAccentHot, kGlyphDark);
    button("downbuttonrect", QColor(0xDC, 0xE8, 0xFC), kAccent, kGlyphDark);
    button("unenabledbuttonrect", QColor(0xF5, 0xF6, 0xF8), QColor(0xD9, 0xDD, 0xE3), kGlyphDisabled);
}

void Generator::CheckRadio(const std::string& s, bool radio) {
    const int pic = Picture(s);
    Draw(pic, R(s, "skinrect"), [](QPainter& p, const QRect& r) { p.fillRect(r, kBackground); });
    auto image = [&](const char* key, bool checked, State state) {
        Draw(pic, R(s, key), [&](QPainter& p, const QRect& r) {
            // Drawn on the face colour, which is also the bottom-left (transparent) pixel.
            p.fillRect(r, kBackground);
            // The 13-pixel box sits in the middle of its 16-pixel cell.
            const QRectF box = QRectF(r.left() + 1.5, r.top() + 1.5, 13, 13);
            QColor fill = Qt::white, line = QColor(0x8C, 0x96, 0xA3), mark = Qt::white;
            if (state == State::Hot) line = kAccentHot, fill = QColor(0xF3, 0xF7, 0xFE);
            if (checked) fill = line = state == State::Hot ? kAccentHot : kAccent;
            if (state == State::Disabled) {
                line = QColor(0xC9, 0xCE, 0xD6);
                fill = checked ? line : QColor(0xF3, 0xF4, 0xF6);
            }
            p.setPen(QPen(line, 1));
            if (radio) {
                p.setBrush(checked ? Qt::white : fill);
                if (checked) p.setPen(QPen(line, 1.2));
                p.drawEllipse(box);
                if (checked) {
                    p.setPen(Qt::NoPen);
                    p.setBrush(line);
                    p.drawEllipse(box.center(), 3.6, 3.6);
                }
            } else {
                p.setBrush(fill);
                p.drawRoundedRect(box, 3, 3);
                if (checked) {
                    p.setPen(QPen(mark, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                    const QPointF o = box.topLeft();
                    p.drawPolyline(QPolygonF({o + QPointF(3.2, 6.8), o + QPointF(5.6, 9.2), o + QPointF(9.8, 4.2)}));
                }
            }
        });
    };
    image("uncheckimagerect", false, State::Normal);
    image("checkimagerect", true, State::Normal);
    image("activeuncheckimagerect", false, State::Hot);
    image("activecheckimagerect", true, State::Hot);
    image("unenableduncheckimagerect", false, State::Disabled);
    image("unenabledcheckimagerect", true, State::Disabled);
}

void Generator::ScrollBar(const std::string& s, bool vertical, bool corner) {
    const int pic = Picture(s);
    const QColor track(0xEE, 0xF0, 0xF3);
    const QRect skin = R(s, "skinrect");
    Draw(pic, skin, [&](QPainter& p, const QRect& r) {
        p.fillRect(r, track);
        if (corner)
            p.fillRect(
                QRect(R(s, "upbuttonrect").right() + 1, r.top(), r.right() - R(s, "upbuttonrect").right(), r.height()),
                kBackground);
    });
    // "down" is the left or top button (it decreases the position), "up" the right or bottom one.
    auto arrow = [&](const char* key, bool towardsStart, State state) {
        Draw(pic, R(s, key), [&](QPainter& p, const QRect& r) {
            p.fillRect(r, track);
            if (state == State::Hot) p.fillRect(r, QColor(0xE0, 0xE5, 0xEB));
            if (state == State::Down) p.fillRect(r, QColor(0xCF, 0xD5, 0xDD));
            const double angle = vertical ? (towardsStart ? 180 : 0) : (towardsStart ? 90 : -90);
            Chevron(p, QRectF(r).center(), 3.2, angle, state == State::Normal ? QColor(0x6B, 0x72, 0x80) : kGlyphDark);
        });
    };
    arrow("downbuttonrect", true, State::Normal);
    arrow("activedownbuttonrect", true, State::Hot);
    arrow("downdownbuttonrect", true, State::Down);
    arrow("upbuttonrect", false, State::Normal);
    arrow("activeupbuttonrect", false, State::Hot);
    arrow("downupbuttonrect", false, State::Down);
    auto thumb = [&](const char* key, const QColor& fill) {
        Draw(pic, R(s, key), [&](QPainter& p, const QRect& r) {
            p.fillRect(r, track);
            p.setPen(Qt::NoPen);
            p.setBrush(fill);
            const double radius = (vertical ? r.width() : r.height()) / 2.0;
            p.drawRoundedRect(QRectF(r), radius, radius);
        });
    };
    thumb("thumbrect", QColor(0xC2, 0xC8, 0xD0));
    thumb("activethumbrect", QColor(0xA9, 0xB0, 0xBA));
    thumb("downthumbrect", QColor(0x8E, 0x96, 0xA1));
}

void Generator::ComboBox(const std::string& s) {
    const int pic = Picture(s);
    const QRect skin = R(s, "skinrect");
    const QRect button = R(s, "buttonrect");
    // One whole box per state, one under the other; the button rectangles pick their state's end.
    const State states[] = {State::Normal, State::Hot, State::Down, State::Disabled};
    for (int i = 0; i < 4; ++i) {
        const QRect place = skin.translated(0, i * skin.height());
        const QRect b = button.translated(0, i * skin.height());
        Draw(pic, place, [&](QPainter& p, const QRect& r) {
            p.fillRect(r, kBackground);
            const State st = states[i];
            const QColor outline = st == State::Hot        ? kAccentHot
                                   : st == State::Down     ? kAccent
                                   : st == State::Disabled ? QColor(0xD9, 0xDD, 0xE3)
                                                           : kFieldOutline;
            RoundBox(p, r, 3, st == State::Disabled ? QColor(0xF5, 0xF6, 0xF8) : QColor(Qt::white), outline);
            if (st == State::Hot) p.fillRect(QRectF(b).adjusted(0, 0.5, -0.5, -0.5), QColor(0xEE, 0xF4, 0xFE));
            if (st == State::Down) p.fillRect(QRectF(b).adjusted(0, 0.5, -0.5, -0.5), QColor(0xDC, 0xE8, 0xFC));
            Chevron(p, QRectF(b).center() + QPointF(0, 0.5), 3.5, 0, st == State::Disabled ? kGlyphDisabled : kGlyph);
        });
    }
    Draw(pic, R(s, "itemrect"), [](QPainter& p, const QRect& r) { p.fillRect(r, Qt::white); });
    Draw(pic, R(s, "focusitemrect"), [](QPainter& p, const QRect& r) {
        p.fillRect(r, Qt::white);
        RoundBox(p, r.adjusted(2, 1, -2, -1), 3, kAccent, kAccent);
    });
}

void Generator::ListBox(const std::string& s) {
    const int pic = Picture(s);
    Draw(pic, R(s, "skinrect"), [](QPainter& p, const QRect& r) {
        p.fillRect(r, kBackground);
        RoundBox(p, r, 3, Qt::white, kFieldOutline);
    });
    Draw(pic, R(s, "itemrect"), [](QPainter& p, const QRect& r) { p.fillRect(r, Qt::white); });
    Draw(pic, R(s, "activeitemrect"), [](QPainter& p, const QRect& r) {
        p.fillRect(r, Qt::white);
        RoundBox(p, r.adjusted(2, 1, -2, -1), 3, QColor(0xEE, 0xF4, 0xFE), QColor(0xEE, 0xF4, 0xFE));
    });
    Draw(pic, R(s, "focusitemrect"), [](QPainter& p, const QRect& r) {
        p.fillRect(r, Qt::white);
        RoundBox(p, r.adjusted(2, 1, -2, -1), 3, kAccent, kAccent);
    });
}

// The caption strip: white at the top easing into the face colour, a separator line below.
QColor CaptionRow(int y, int captionHeight) {
    return Mix(Qt::white, QColor(0xF3, 0xF5, 0xF8), double(y) / std::max(1, captionHeight - 2));
}

void Generator::Frame() {
    // The frame picture has a border as wide as the client rectangle's left offset on its right and bottom.
    const TRect client = D.ReadRect("FORMINFO", "clientrect");
    const QRect all(0, 0, client.Right + client.Left, client.Bottom + client.Left);
    Draw(-1, all, [&](QPainter& p, const QRect& r) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(r, kBackground);
        for (int y = 0; y < client.Top - 1; ++y) p.fillRect(QRect(0, y, r.width(), 1), CaptionRow(y, client.Top));
        p.fillRect(QRect(0, client.Top - 1, r.width(), 1), QColor(0xE3, 0xE6, 0xEA));
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QColor(0x9A, 0xA3, 0xAE));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(Inner(r), 8, 8);
    });
    RoundMask(-2, all, 8);
}

void Generator::CaptionButtons() {
    const int captionHeight = D.ReadRect("FORMINFO", "clientrect").Top;
    const int top = D.ReadRect("FORMINFO", "captionrect").Top;
    struct Look {
        const char* Key;
        State St;
    };
    const Look looks[] = {{"skinrect", State::Normal},      {"activeskinrect", State::Hot},
                          {"downrect", State::Down},        {"inactiveskinrect", State::Inactive},
                          {"restorerect", State::Normal},   {"restoreactiverect", State::Hot},
                          {"restoredownrect", State::Down}, {"restoreinactiverect", State::Inactive}};
    for (const char* s : {"closebutton", "maxbutton", "minbutton", "sysmenubutton"}) {
        const int pic = Picture(s, "activepictureindex");
        const TStdCommand command = D.ReadCommand(s, "command");
        for (const Look& look : looks) {
            const bool restore = std::string(look.Key).rfind("restore", 0) == 0;
            Draw(pic, R(s, look.Key), [&](QPainter& p, const QRect& r) {
                for (int y = 0; y < r.height(); ++y)
                    p.fillRect(QRect(r.left(), r.top() + y, r.width(), 1), CaptionRow(top + y, captionHeight));
                const bool close = command == TStdCommand::cmClose;
                if (look.St == State::Hot) p.fillRect(r, close ? QColor(0xE8, 0x11, 0x23) : QColor(0xDC, 0xE7, 0xF9));
                if (look.St == State::Down) p.fillRect(r, close ? QColor(0xC4, 0x2B, 0x1C) : QColor(0xC7, 0xD8, 0xF5));
                QColor ink = look.St == State::Inactive ? QColor(0xA0, 0xA7, 0xB0) : kGlyphDark;
                if (close && (look.St == State::Hot || look.St == State::Down)) ink = Qt::white;
                // Glyph lines sit on pixel centres so that they stay crisp.
                const QPointF c(r.left() + r.width() / 2 + 0.5, r.top() + r.height() / 2 + 0.5);
                p.setPen(QPen(ink, 1.0));
                p.setBrush(Qt::NoBrush);
                switch (command) {
                    case TStdCommand::cmClose:
                        p.setPen(QPen(ink, 1.2));
                        p.drawLine(c + QPointF(-4.5, -4.5), c + QPointF(4.5, 4.5));
                        p.drawLine(c + QPointF(-4.5, 4.5), c + QPointF(4.5, -4.5));
                        break;
                    case TStdCommand::cmMaximize:
                        if (restore) {
                            p.drawRect(QRectF(c.x() - 5, c.y() - 3, 7, 7));
                            p.drawPolyline(QPolygonF({c + QPointF(-3, -3), c + QPointF(-3, -5), c + QPointF(4, -5),
                                                      c + QPointF(4, 2), c + QPointF(2, 2)}));
                        } else {
                            p.drawRect(QRectF(c.x() - 5, c.y() - 5, 9, 9));
                        }
                        break;
                    case TStdCommand::cmMinimize:
                        p.drawLine(c + QPointF(-5, 0), c + QPointF(4, 0));
                        break;
                    default: {
                        // The program's mark: a rounded blue tile with three lines, grey when inactive.
                        const QColor tile = look.St == State::Inactive ? QColor(0xA8, 0xB0, 0xBB) : kAccent;
                        p.setPen(Qt::NoPen);
                        p.setBrush(tile);
                        p.drawRoundedRect(QRectF(c.x() - 7, c.y() - 7, 14, 14), 3.5, 3.5);
                        p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap));
                        for (int i = -1; i <= 1; ++i)
                            p.drawLine(c + QPointF(-3.5, 3.5 * i), c + QPointF(i == 1 ? 1.0 : 3.5, 3.5 * i));
                    }
                }
            });
        }
    }
}

void Generator::Popup() {
    const int window = D.ReadInteger("POPUPWINDOW", "windowpictureindex", -1);
    // Window pictures are whole pictures, their inner rectangle centred in them.
    const TRect items = D.ReadRect("POPUPWINDOW", "itemsrect");
    const QRect whole(0, 0, items.Right + items.Left, items.Bottom + items.Top);
    const double radius = 6;
    Draw(window, whole, [radius](QPainter& p, const QRect& r) {
        p.fillRect(r, QColor(0xC9, 0xCF, 0xD6));
        RoundBox(p, r, radius, Qt::white, QColor(0xC9, 0xCF, 0xD6));
    });
    const int mask = D.ReadInteger("POPUPWINDOW", "maskpictureindex", -1);
    if (mask >= 0) RoundMask(mask, whole, radius);
    // The item images: the hot one a tinted rounded box one pixel inside, the divider a hairline.
    const int itemPicture = Picture("menuitem", "activepictureindex");
    Draw(itemPicture, R("menuitem", "skinrect"), [](QPainter& p, const QRect& r) { p.fillRect(r, Qt::white); });
    Draw(itemPicture, R("menuitem", "activeskinrect"), [](QPainter& p, const QRect& r) {
        p.fillRect(r, Qt::white);
        RoundBox(p, r.adjusted(1, 1, -1, -1), 4, kAccentTint, kAccentTint);
    });
    Draw(itemPicture, R("menuitem", "dividerrect"), [](QPainter& p, const QRect& r) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(r, Qt::white);
        p.setPen(QColor(0xE5, 0xE7, 0xEB));
        p.drawLine(r.left() + 4, r.center().y(), r.right() - 4, r.center().y());
    });
    const int hint = D.ReadInteger("HINTWINDOW", "windowpictureindex", -1);
    const TRect text = D.ReadRect("HINTWINDOW", "clientrect");
    const QRect hintRect(0, 0, text.Right + text.Left, text.Bottom + text.Top);
    Draw(hint, hintRect, [](QPainter& p, const QRect& r) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(r, QColor(0xFC, 0xFC, 0xFD));
        p.setPen(QColor(0xC9, 0xCF, 0xD6));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    });
}

void Generator::All() {
    const dorvanel::skinpack::TSectionLooks looks = {
        {"button", [this](const std::string& s) { Button(s); }},
        {"toolbutton", [this](const std::string& s) { ToolButton(s, false); }},
        {"toolmenubutton", [this](const std::string& s) { ToolButton(s, true); }},
        {"resizebutton", [this](const std::string& s) { Header(s); }},
        {"panel", [this](const std::string& s) { Panel(s); }},
        {"toolpanel", [this](const std::string& s) { ToolPanel(s); }},
        {"statusbar", [this](const std::string& s) { StatusBar(s); }},
        {"statuspanel", [this](const std::string& s) { StatusField(s); }},
        {"label", [this](const std::string& s) { StatusField(s); }},
        {"statusgauge", [this](const std::string& s) { Gauge(s); }},
        {"gauge", [this](const std::string& s) { Gauge(s); }},
        {"edit", [this](const std::string& s) { Edit(s); }},
        {"buttonedit", [this](const std::string& s) { Edit(s); }},
        {"checkbox", [this](const std::string& s) { CheckRadio(s, false); }},
        {"radiobox", [this](const std::string& s) { CheckRadio(s, true); }},
        {"hscrollbar", [this](const std::string& s) { ScrollBar(s, false, false); }},
        {"vscrollbar", [this](const std::string& s) { ScrollBar(s, true, false); }},
        {"bothhscrollbar", [this](const std::string& s) { ScrollBar(s, false, true); }},
        {"combobox", [this](const std::string& s) { ComboBox(s); }},
        {"toolcombobox", [this](const std::string& s) { ComboBox(s); }},
        {"listbox", [this](const std::string& s) { ListBox(s); }},
        {"listview", [](const std::string&) {}},
        {"stdlabel", [](const std::string&) {}},
        {"bevel", [](const std::string&) {}},
    };
    Frame();
    CaptionButtons();
    Popup();
    dorvanel::skinpack::DrawControlSections(D, looks);
}

}  // namespace

int main(int argc, char** argv) {
    return dorvanel::skinpack::RunGenerator(argc, argv, "skingen", [](const TSkinDescription& d) {
        Generator g(d);
        g.All();
        return g.Result().All();
    });
}
