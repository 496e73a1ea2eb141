// Draws the pictures of the bundled skin "Graphite" into a folder, from the rectangles its description gives:
// a dark skin of flat charcoal surfaces, hairline edges, an amber accent for what the mouse is on, chamfered
// window corners and round caption buttons. Fields that the program fills itself (edit boxes, the lists of
// the combo and list boxes) stay light, since the text inside them is drawn on the system's window colour.
// Run headless: graphite_gen <graphite.skn> <output folder>.
#include "skin_generator.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <functional>
#include <map>
#include <string>

using namespace dorvanel::skin;
using dorvanel::skinpack::TDrawnPictures;

namespace {

// ---- the palette ----
const QColor kFace(0x2B, 0x2F, 0x36);    // windows and panels
const QColor kDeep(0x1F, 0x23, 0x29);    // caption, status bar, tracks
const QColor kRaised(0x3A, 0x3F, 0x48);  // buttons
const QColor kRaisedHot(0x47, 0x4D, 0x57);
const QColor kSunken(0x25, 0x29, 0x2F);  // pressed
const QColor kEdge(0x4A, 0x50, 0x5A);    // hairlines
const QColor kEdgeDark(0x15, 0x18, 0x1C);
const QColor kAmber(0xF0, 0xA4, 0x3A);  // the accent
const QColor kAmberDeep(0xC9, 0x80, 0x1E);
const QColor kInk(0xE6, 0xE8, 0xEB);  // glyphs
const QColor kInkDim(0x8A, 0x91, 0x9A);
const QColor kInkOff(0x5C, 0x63, 0x6D);
const QColor kField(0xF7, 0xF8, 0xFA);  // light fields
const QColor kFieldInk(0x2B, 0x2F, 0x36);

enum class State { Normal, Hot, Down, Disabled, Inactive };

// What a state of a boxed control looks like.
struct Style {
    QColor Fill, Edge;
    QColor Mark = Qt::transparent;  // an accent line along the bottom edge
};

Style ButtonStyle(State s) {
    switch (s) {
        case State::Hot:
            return {kRaisedHot, kAmber, kAmber};
        case State::Down:
            return {kSunken, kAmberDeep, kAmberDeep};
        case State::Disabled:
            return {kFace, kEdge};
        default:
            return {kRaised, kEdgeDark};
    }
}

// The pictures, by list index (-1 the frame, -2 its mask). A picture is enlarged to hold each rectangle drawn
// into it; parts no rectangle names stay black.
class Canvas {
public:
    QImage& For(int index, const QRect& r) {
        QImage& image = FPictures[index];
        const QSize need(std::max(image.width(), r.right() + 1), std::max(image.height(), r.bottom() + 1));
        if (need != image.size()) {
            QImage larger(need, QImage::Format_RGB32);
            larger.fill(Qt::black);
            QPainter(&larger).drawImage(0, 0, image);
            image = larger;
        }
        return image;
    }
    const TDrawnPictures& All() const { return FPictures; }

private:
    TDrawnPictures FPictures;
};

class GraphiteGenerator {
public:
    explicit GraphiteGenerator(const TSkinDescription& d) : D(d) {}
    void DrawAll();
    const Canvas& Pictures() const { return C; }

private:
    QRect Rect(const std::string& s, const char* key) const { return D.ReadRect(s, key).ToQRect(); }
    int Index(const std::string& s, const char* key = "pictureindex") const { return D.ReadInteger(s, key, -1); }

    // Paints into rectangle r of picture `index`, clipped to it, starting from `under`.
    void Paint(int index, const QRect& r, const QColor& under, const std::function<void(QPainter&, QRectF)>& draw) {
        if (r.isEmpty()) return;
        QPainter p(&C.For(index, r));
        p.setClipRect(r);
        p.fillRect(r, under);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p, QRectF(r));
    }
    // A flat box with a hairline edge, square but for a radius of 2, and the style's accent line.
    void Box(int index, const QRect& r, const QColor& under, const Style& st) {
        Paint(index, r, under, [&](QPainter& p, QRectF f) {
            p.setPen(QPen(st.Edge, 1));
            p.setBrush(st.Fill);
            p.drawRoundedRect(f.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
            if (st.Mark.alpha() > 0) p.fillRect(QRectF(f.left() + 2, f.bottom() - 2, f.width() - 4, 2), st.Mark);
        });
    }
    static void Arrow(QPainter& p, QPointF c, double angle, const QColor& ink) {
        p.save();
        p.translate(c);
        p.rotate(angle);  // 0 points down
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({QPointF(-3.5, -1.8), QPointF(3.5, -1.8), QPointF(0, 2.2)}));
        p.restore();
    }

    void Button(const std::string& s);
    void ToolButton(const std::string& s);
    void Header(const std::string& s);
    void Panel(const std::string& s, bool tool);
    void Status(const std::string& s);
    void Gauge(const std::string& s);
    void Edit(const std::string& s);
    void Check(const std::string& s, bool radio);
    void Scroll(const std::string& s, bool vertical, bool corner);
    void Combo(const std::string& s);
    void List(const std::string& s);
    void Frame();
    void CaptionButtons();
    void Menus();
    void Chamfer(int index, const QRect& r, int cut);

    const TSkinDescription& D;
    Canvas C;
};

// A mask: black is kept, white cut away; the corners are cut diagonally.
void GraphiteGenerator::Chamfer(int index, const QRect& r, int cut) {
    QPainter p(&C.For(index, r));
    p.fillRect(r, Qt::white);
    const QPolygon shape({r.topLeft() + QPoint(cut, 0), r.topRight() + QPoint(1 - cut, 0),
                          r.topRight() + QPoint(1, cut), r.bottomRight() + QPoint(1, 1 - cut),
                          r.bottomRight() + QPoint(1 - cut, 1), r.bottomLeft() + QPoint(cut, 1),
                          r.bottomLeft() + QPoint(0, 1 - cut), r.topLeft() + QPoint(0, cut)});
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(shape);
}

void GraphiteGenerator::Button(const std::string& s) {
    const std::pair<const char*, State> faces[] = {{"skinrect", State::Normal},
                                                   {"activeskinrect", State::Hot},
                                                   {"downskinrect", State::Down},
                                                   {"disabledskinrect", State::Disabled}};
    for (const auto& [key, state] : faces) Box(Index(s), Rect(s, key), kFace, ButtonStyle(state));
    const int mask = Index(s, "maskpictureindex");
    if (mask >= 0) Chamfer(mask, QRect(QPoint(0, 0), Rect(s, "skinrect").size()), 2);
}

void GraphiteGenerator::ToolButton(const std::string& s) {
    const QRect track = Rect(s, "trackbuttonrect");
    const int top = Rect(s, "skinrect").top();
    const std::pair<const char*, State> faces[] = {
        {"skinrect", State::Normal}, {"activeskinrect", State::Hot}, {"downskinrect", State::Down}};
    for (const auto& [key, state] : faces) {
        const QRect r = Rect(s, key);
        if (state == State::Normal) Paint(Index(s), r, kFace, [](QPainter&, QRectF) {});
        else Box(Index(s), r, kFace, ButtonStyle(state));
        if (!track.isEmpty()) {
            Paint(Index(s), track.translated(0, r.top() - top),
                  state == State::Normal ? kFace : ButtonStyle(state).Fill,
                  [](QPainter& p, QRectF t) { Arrow(p, t.center(), 0, kInk); });
        }
    }
}

void GraphiteGenerator::Header(const std::string& s) {
    const int divider = D.ReadRect(s, "clientrect").Right;
    const std::pair<const char*, QColor> faces[] = {
        {"skinrect", kDeep}, {"activeskinrect", kRaised}, {"downskinrect", kSunken}};
    for (const auto& [key, fill] : faces) {
        Paint(Index(s), Rect(s, key), fill, [&](QPainter& p, QRectF f) {
            p.setRenderHint(QPainter::Antialiasing, false);
            p.fillRect(QRectF(f.left(), f.bottom() - 1, f.width(), 2), key == std::string("skinrect") ? kEdge : kAmber);
            p.setPen(kEdge);
            p.drawLine(QPointF(f.left() + divider, f.top() + 3), QPointF(f.left() + divider, f.bottom() - 3));
        });
    }
}

void GraphiteGenerator::Panel(const std::string& s, bool tool) {
    Paint(Index(s), Rect(s, "skinrect"), kFace, [tool](QPainter& p, QRectF f) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(kEdgeDark);
        if (tool) {
            p.drawLine(QPointF(f.left(), f.bottom()), QPointF(f.right(), f.bottom()));
            return;
        }
        p.drawRect(f.adjusted(0, 0, -1, -1));
        p.setPen(kEdge);
        p.drawLine(QPointF(f.left() + 1, f.top() + 1), QPointF(f.right() - 1, f.top() + 1));
    });
}

void GraphiteGenerator::Status(const std::string& s) {
    const bool field = s != "statusbar";
    Paint(Index(s), Rect(s, "skinrect"), kDeep, [field](QPainter& p, QRectF f) {
        p.setRenderHint(QPainter::Antialiasing, false);
        if (field) {
            p.setPen(kEdge);
            p.setBrush(kSunken);
            p.drawRect(f.adjusted(0, 1, -1, -2));
        } else {
            p.fillRect(QRectF(f.left(), f.top(), f.width(), 1), kEdgeDark);
            p.fillRect(QRectF(f.left(), f.top() + 1, f.width(), 1), kEdge);
        }
    });
}

void GraphiteGenerator::Gauge(const std::string& s) {
    Box(Index(s), Rect(s, "skinrect"), kDeep, {kSunken, kEdge});
    Paint(Index(s), Rect(s, "progressrect"), kAmber, [](QPainter& p, QRectF f) {
        // Diagonal stripes, so the bar reads as moving work.
        p.setPen(QPen(kAmberDeep, 2));
        for (double x = f.left() - f.height(); x < f.right(); x += 6) {
            p.drawLine(QPointF(x, f.bottom() + 1), QPointF(x + f.height(), f.top()));
        }
    });
}

void GraphiteGenerator::Edit(const std::string& s) {
    Box(Index(s), Rect(s, "skinrect"), kFace, {kField, kEdgeDark});
    Box(Index(s), Rect(s, "activeskinrect"), kFace, {kField, kAmber, kAmber});
    const std::pair<const char*, State> buttons[] = {{"buttonrect", State::Normal},
                                                     {"activebuttonrect", State::Hot},
                                                     {"downbuttonrect", State::Down},
                                                     {"unenabledbuttonrect", State::Disabled}};
    for (const auto& [key, state] : buttons) {
        Box(Index(s), Rect(s, key), kFace, ButtonStyle(state));
        Paint(Index(s), Rect(s, key).adjusted(2, 2, -2, -2), ButtonStyle(state).Fill, [state](QPainter& p, QRectF f) {
            p.setPen(Qt::NoPen);
            p.setBrush(state == State::Disabled ? kInkOff : kInk);
            for (int i = -1; i <= 1; ++i) p.drawRect(QRectF(f.center().x() + 4 * i - 1, f.center().y(), 2, 2));
        });
    }
}

void GraphiteGenerator::Check(const std::string& s, bool radio) {
    Paint(Index(s), Rect(s, "skinrect"), kFace, [](QPainter&, QRectF) {});
    const struct {
        const char* Key;
        bool Checked;
        State St;
    } images[] = {{"uncheckimagerect", false, State::Normal},
                  {"checkimagerect", true, State::Normal},
                  {"activeuncheckimagerect", false, State::Hot},
                  {"activecheckimagerect", true, State::Hot},
                  {"unenableduncheckimagerect", false, State::Disabled},
                  {"unenabledcheckimagerect", true, State::Disabled}};
    for (const auto& img : images) {
        // The bottom-left pixel is the transparent colour, so the face colour surrounds the box.
        Paint(Index(s), Rect(s, img.Key), kFace, [&](QPainter& p, QRectF f) {
            const QRectF box(f.left() + 1.5, f.top() + 1.5, 12, 12);
            const QColor edge = img.St == State::Disabled ? kInkOff : img.St == State::Hot ? kAmber : kInkDim;
            p.setPen(QPen(edge, 1));
            p.setBrush(kDeep);
            if (radio) p.drawEllipse(box);
            else p.drawRect(box);
            if (!img.Checked) return;
            p.setPen(Qt::NoPen);
            p.setBrush(img.St == State::Disabled ? kInkOff : kAmber);
            if (radio) p.drawEllipse(box.center(), 3.2, 3.2);
            else p.drawRect(box.adjusted(3, 3, -3, -3));
        });
    }
}

void GraphiteGenerator::Scroll(const std::string& s, bool vertical, bool corner) {
    const QRect skin = Rect(s, "skinrect");
    Paint(Index(s), skin, kDeep, [&](QPainter& p, QRectF) {
        if (corner) {
            const int end = Rect(s, "upbuttonrect").right() + 1;
            p.fillRect(QRect(end, skin.top(), skin.right() + 1 - end, skin.height()), kFace);
        }
    });
    // "down" is the button at the start (left or top), "up" the one at the end.
    const struct {
        const char* Key;
        bool AtStart;
        State St;
    } buttons[] = {{"downbuttonrect", true, State::Normal},   {"activedownbuttonrect", true, State::Hot},
                   {"downdownbuttonrect", true, State::Down}, {"upbuttonrect", false, State::Normal},
                   {"activeupbuttonrect", false, State::Hot}, {"downupbuttonrect", false, State::Down}};
    for (const auto& b : buttons) {
        const QColor fill = b.St == State::Hot ? kRaisedHot : b.St == State::Down ? kSunken : kDeep;
        Paint(Index(s), Rect(s, b.Key), fill, [&](QPainter& p, QRectF f) {
            const double angle = vertical ? (b.AtStart ? 180 : 0) : (b.AtStart ? 90 : -90);
            Arrow(p, f.center(), angle, b.St == State::Normal ? kInkDim : kAmber);
        });
    }
    const std::pair<const char*, QColor> thumbs[] = {
        {"thumbrect", kRaisedHot}, {"activethumbrect", QColor(0x5A, 0x61, 0x6C)}, {"downthumbrect", kAmberDeep}};
    for (const auto& [key, fill] : thumbs) {
        Paint(Index(s), Rect(s, key), kDeep, [&, fill = fill](QPainter& p, QRectF f) {
            p.setPen(Qt::NoPen);
            p.setBrush(fill);
            p.drawRect(vertical ? f.adjusted(2, 0, -2, 0) : f.adjusted(0, 2, 0, -2));
        });
    }
}

void GraphiteGenerator::Combo(const std::string& s) {
    const QRect skin = Rect(s, "skinrect");
    const QRect button = Rect(s, "buttonrect");
    const State states[] = {State::Normal, State::Hot, State::Down, State::Disabled};
    for (int i = 0; i < 4; ++i) {
        const int dy = i * skin.height();
        Box(Index(s), skin.translated(0, dy), kFace, {kField, states[i] == State::Normal ? kEdgeDark : kAmber});
        Box(Index(s), button.translated(0, dy), kField, ButtonStyle(states[i]));
        Paint(Index(s), button.translated(0, dy).adjusted(2, 2, -2, -2), ButtonStyle(states[i]).Fill,
              [&](QPainter& p, QRectF f) { Arrow(p, f.center(), 0, states[i] == State::Disabled ? kInkOff : kInk); });
    }
    Paint(Index(s), Rect(s, "itemrect"), kField, [](QPainter&, QRectF) {});
    Paint(Index(s), Rect(s, "focusitemrect"), kAmber, [](QPainter&, QRectF) {});
}

void GraphiteGenerator::List(const std::string& s) {
    Box(Index(s), Rect(s, "skinrect"), kFace, {kField, kEdgeDark});
    Paint(Index(s), Rect(s, "itemrect"), kField, [](QPainter&, QRectF) {});
    Paint(Index(s), Rect(s, "activeitemrect"), QColor(0xFD, 0xEB, 0xD0), [](QPainter&, QRectF) {});
    Paint(Index(s), Rect(s, "focusitemrect"), kAmber, [](QPainter&, QRectF) {});
}

void GraphiteGenerator::Frame() {
    // The border is as wide as the client rectangle's left offset on every side but the caption.
    const TRect client = D.ReadRect("FORMINFO", "clientrect");
    const QRect all(0, 0, client.Right + client.Left, client.Bottom + client.Left);
    Paint(-1, all, kFace, [&](QPainter& p, QRectF) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(QRect(0, 0, all.width(), client.Top), kDeep);
        p.fillRect(QRect(0, client.Top - 2, all.width(), 2), kAmber);
        p.setPen(kEdge);
        p.drawPolygon(QPolygon({QPoint(6, 0), QPoint(all.right() - 6, 0), QPoint(all.right(), 6),
                                QPoint(all.right(), all.bottom() - 6), QPoint(all.right() - 6, all.bottom()),
                                QPoint(6, all.bottom()), QPoint(0, all.bottom() - 6), QPoint(0, 6)}));
    });
    Chamfer(-2, all, 6);
}

void GraphiteGenerator::CaptionButtons() {
    const struct {
        const char* Key;
        State St;
        bool Restore;
    } looks[] = {{"skinrect", State::Normal, false},     {"activeskinrect", State::Hot, false},
                 {"downrect", State::Down, false},       {"inactiveskinrect", State::Inactive, false},
                 {"restorerect", State::Normal, true},   {"restoreactiverect", State::Hot, true},
                 {"restoredownrect", State::Down, true}, {"restoreinactiverect", State::Inactive, true}};
    for (const char* s : {"closebutton", "maxbutton", "minbutton", "sysmenubutton"}) {
        const TStdCommand command = D.ReadCommand(s, "command");
        for (const auto& look : looks) {
            Paint(Index(s, "activepictureindex"), Rect(s, look.Key), kDeep, [&](QPainter& p, QRectF f) {
                // Round buttons: a disc under the glyph while the mouse is on it; red for close.
                const QPointF c = f.center();
                const bool close = command == TStdCommand::cmClose;
                if (look.St == State::Hot || look.St == State::Down) {
                    QColor disc = close ? QColor(0xD9, 0x3B, 0x3B) : kRaisedHot;
                    if (look.St == State::Down) disc = close ? QColor(0xA8, 0x2A, 0x2A) : kSunken;
                    p.setPen(Qt::NoPen);
                    p.setBrush(disc);
                    p.drawEllipse(c, 9, 9);
                }
                const QColor ink = look.St == State::Inactive ? kInkOff : kInk;
                p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.setBrush(Qt::NoBrush);
                switch (command) {
                    case TStdCommand::cmClose:
                        p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
                        p.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
                        break;
                    case TStdCommand::cmMaximize:
                        if (look.Restore) {
                            p.drawRect(QRectF(c.x() - 4.5, c.y() - 2, 6.5, 6.5));
                            p.drawPolyline(QPolygonF({c + QPointF(-2, -2), c + QPointF(-2, -4.5),
                                                      c + QPointF(4.5, -4.5), c + QPointF(4.5, 2), c + QPointF(2, 2)}));
                        } else {
                            p.drawRect(QRectF(c.x() - 4.5, c.y() - 4.5, 9, 9));
                        }
                        break;
                    case TStdCommand::cmMinimize:
                        p.drawLine(c + QPointF(-4.5, 3), c + QPointF(4.5, 3));
                        break;
                    default: {
                        // The program's mark: an amber hexagon, dimmed while the window is inactive.
                        QPolygonF hexagon;
                        for (int i = 0; i < 6; ++i) {
                            const double a = (60.0 * i + 30.0) * 3.14159265358979 / 180.0;
                            hexagon << c + QPointF(7 * std::cos(a), 7 * std::sin(a));
                        }
                        p.setPen(Qt::NoPen);
                        p.setBrush(look.St == State::Inactive ? kInkOff : kAmber);
                        p.drawPolygon(hexagon);
                        p.setBrush(kDeep);
                        p.drawEllipse(c, 2.5, 2.5);
                    }
                }
            });
        }
    }
}

void GraphiteGenerator::Menus() {
    // Window pictures are whole pictures with their inner rectangle centred.
    const TRect items = D.ReadRect("POPUPWINDOW", "itemsrect");
    Box(D.ReadInteger("POPUPWINDOW", "windowpictureindex", -1),
        QRect(0, 0, items.Right + items.Left, items.Bottom + items.Top), kFace, {kFace, kEdge});
    const int item = Index("menuitem", "activepictureindex");
    Paint(item, Rect("menuitem", "skinrect"), kFace, [](QPainter&, QRectF) {});
    Paint(item, Rect("menuitem", "activeskinrect"), kFace, [](QPainter& p, QRectF f) {
        p.fillRect(f.adjusted(2, 1, -2, -1), kRaisedHot);
        p.fillRect(QRectF(f.left() + 2, f.top() + 1, 2, f.height() - 2), kAmber);
    });
    Paint(item, Rect("menuitem", "dividerrect"), kFace,
          [](QPainter& p, QRectF f) { p.fillRect(QRectF(f.left() + 4, f.center().y(), f.width() - 8, 1), kEdge); });
    const TRect text = D.ReadRect("HINTWINDOW", "clientrect");
    Box(D.ReadInteger("HINTWINDOW", "windowpictureindex", -1),
        QRect(0, 0, text.Right + text.Left, text.Bottom + text.Top), kDeep, {kDeep, kAmber});
}

void GraphiteGenerator::DrawAll() {
    const dorvanel::skinpack::TSectionLooks looks = {
        {"button", [this](const std::string& s) { Button(s); }},
        {"toolbutton", [this](const std::string& s) { ToolButton(s); }},
        {"toolmenubutton", [this](const std::string& s) { ToolButton(s); }},
        {"resizebutton", [this](const std::string& s) { Header(s); }},
        {"panel", [this](const std::string& s) { Panel(s, false); }},
        {"toolpanel", [this](const std::string& s) { Panel(s, true); }},
        {"statusbar", [this](const std::string& s) { Status(s); }},
        {"statuspanel", [this](const std::string& s) { Status(s); }},
        {"label", [this](const std::string& s) { Status(s); }},
        {"statusgauge", [this](const std::string& s) { Gauge(s); }},
        {"gauge", [this](const std::string& s) { Gauge(s); }},
        {"edit", [this](const std::string& s) { Edit(s); }},
        {"buttonedit", [this](const std::string& s) { Edit(s); }},
        {"checkbox", [this](const std::string& s) { Check(s, false); }},
        {"radiobox", [this](const std::string& s) { Check(s, true); }},
        {"hscrollbar", [this](const std::string& s) { Scroll(s, false, false); }},
        {"vscrollbar", [this](const std::string& s) { Scroll(s, true, false); }},
        {"bothhscrollbar", [this](const std::string& s) { Scroll(s, false, true); }},
        {"combobox", [this](const std::string& s) { Combo(s); }},
        {"toolcombobox", [this](const std::string& s) { Combo(s); }},
        {"listbox", [this](const std::string& s) { List(s); }},
        {"listview", [](const std::string&) {}},
        {"stdlabel", [](const std::string&) {}},
        {"bevel", [](const std::string&) {}},
    };
    Frame();
    CaptionButtons();
    Menus();
    dorvanel::skinpack::DrawControlSections(D, looks);
}

}  // namespace

int main(int argc, char** argv) {
    return dorvanel::skinpack::RunGenerator(argc, argv, "graphite_gen", [](const TSkinDescription& d) {
        GraphiteGenerator g(d);
        g.DrawAll();
        return g.Pictures().All();
    });
}
