#include "control_sheet.h"

#include "skinctrls/skin_button.h"
#include "skinctrls/skin_checkbox.h"
#include "skinctrls/skin_combobox.h"
#include "skinctrls/skin_edit.h"
#include "skinctrls/skin_header.h"
#include "skinctrls/skin_panel.h"
#include "skinctrls/skin_scrollbar.h"
#include "skinctrls/skin_status.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include <functional>
#include <vector>

namespace dorvanel::skinpack {

using namespace skinctrls;

namespace {

struct TCell {
    QString Label;
    QImage Image;
};

void Enter(QWidget* w) {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(w, &event);
}

void Press(QWidget* w, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
    QCoreApplication::sendEvent(w, &move);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(w, &press);
}

// A control made fresh on host for one state, rendered, and thrown away.
template <class T>
TCell Render(QWidget* host, skin::TSkinData& skin, const QString& label, QRect bounds,
             const std::function<void(T*)>& setUp, const std::function<void(T*)>& state) {
    auto* c = new T(host);
    setUp(c);
    c->SetSkinData(&skin);
    c->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    c->show();
    state(c);
    QImage image;
    if constexpr (std::is_same_v<T, TSkinEdit>) {
        image = c->grab().toImage();
    } else {
        image = c->RenderImage();
        // The window shape cuts what lies outside it, as on screen.
        if (!c->mask().isEmpty()) {
            QImage shaped(image.size(), QImage::Format_ARGB32_Premultiplied);
            shaped.fill(Qt::transparent);
            QPainter p(&shaped);
            p.setClipRegion(c->mask());
            p.drawImage(0, 0, image);
            p.end();
            image = shaped;
        }
    }
    delete c;
    return {label, image};
}

}  // namespace

QImage RenderControlSheet(skin::TSkinData& skin) {
    QWidget host;
    host.resize(400, 200);
    host.show();
    QApplication::setActiveWindow(&host);
    const auto nothing = [](auto*) {};
    std::vector<std::pair<QString, std::vector<TCell>>> rows;

    auto caption = [](const char* text) { return [text](auto* c) { c->SetCaption(QString::fromLatin1(text)); }; };
    using B = TSkinButton;
    rows.push_back(
        {"button",
         {
             Render<B>(&host, skin, "normal", {0, 0, 98, 20}, caption("Gather Data"), nothing),
             Render<B>(&host, skin, "hot", {0, 0, 98, 20}, caption("Gather Data"),
                       [](B* b) {
                           Enter(b);
                           const_cast<TStateBlend&>(b->Blend()).Snap(true);
                       }),
             Render<B>(&host, skin, "pressed", {0, 0, 98, 20}, caption("Gather Data"),
                       [](B* b) {
                           Enter(b);
                           Press(b, {5, 5});
                       }),
             Render<B>(&host, skin, "disabled", {0, 0, 98, 20}, caption("Gather Data"),
                       [](B* b) { b->setEnabled(false); }),
             Render<B>(&host, skin, "focused", {0, 0, 98, 20}, caption("Gather Data"), [](B* b) { b->setFocus(); }),
         }});
    using C = TSkinCheckRadioBox;
    auto box = [](const char* text, bool checked) {
        return [text, checked](C* c) {
            c->SetCaption(QString::fromLatin1(text));
            c->SetChecked(checked);
        };
    };
    rows.push_back(
        {"checkbox",
         {
             Render<C>(&host, skin, "normal", {0, 0, 120, 20}, box("Broad Search", false), nothing),
             Render<C>(&host, skin, "checked", {0, 0, 120, 20}, box("Precise Search", true), nothing),
             Render<C>(&host, skin, "hot", {0, 0, 120, 20}, box("Broad Search", false), [](C* c) { Enter(c); }),
             Render<C>(&host, skin, "hot checked", {0, 0, 120, 20}, box("Precise Search", true),
                       [](C* c) { Enter(c); }),
             Render<C>(&host, skin, "disabled", {0, 0, 120, 20}, box("Broad Search", true),
                       [](C* c) { c->setEnabled(false); }),
             Render<C>(&host, skin, "focused", {0, 0, 120, 20}, box("Precise Search", true),
                       [](C* c) { c->setFocus(); }),
         }});
    using E = TSkinEdit;
    auto text = [](E* e) { e->SetText(QStringLiteral("golf clubs")); };
    rows.push_back(
        {"edit",
         {
             Render<E>(&host, skin, "normal", {0, 0, 120, 15}, text, nothing),
             Render<E>(&host, skin, "hot", {0, 0, 120, 15}, text, [](E* e) { Enter(e); }),
             Render<E>(&host, skin, "focused", {0, 0, 120, 15}, text, [](E* e) { e->LineEdit()->setFocus(); }),
             Render<E>(&host, skin, "disabled", {0, 0, 120, 15}, text, [](E* e) { e->setEnabled(false); }),
         }});
    using K = TSkinComboBox;
    auto item = [](K* k) {
        k->AddItem({QStringLiteral("CSV files (*.csv)"), {}, 0, {}});
        k->SetItemIndex(0);
    };
    rows.push_back({"combobox",
                    {
                        Render<K>(&host, skin, "normal", {0, 0, 150, 21}, item, nothing),
                        Render<K>(&host, skin, "hot", {0, 0, 150, 21}, item, [](K* k) { Enter(k); }),
                        Render<K>(&host, skin, "focused", {0, 0, 150, 21}, item, [](K* k) { k->setFocus(); }),
                        Render<K>(&host, skin, "disabled", {0, 0, 150, 21}, item, [](K* k) { k->setEnabled(false); }),
                    }});
    using S = TSkinScrollBar;
    auto horizontal = [](S* s) { s->SetRange(0, 100, 20, 30); };
    rows.push_back(
        {"hscrollbar",
         {
             Render<S>(&host, skin, "normal", {0, 0, 160, 19}, horizontal, nothing),
             Render<S>(&host, skin, "hot button", {0, 0, 160, 19}, horizontal,
                       [](S* s) {
                           Enter(s);
                           QMouseEvent m(QEvent::MouseMove, QPointF(150, 9), QPointF(150, 9), Qt::NoButton,
                                         Qt::NoButton, {});
                           QCoreApplication::sendEvent(s, &m);
                       }),
             Render<S>(&host, skin, "pressed button", {0, 0, 160, 19}, horizontal,
                       [](S* s) {
                           Press(s, {150, 9});
                       }),
             Render<S>(&host, skin, "pressed thumb", {0, 0, 160, 19}, horizontal,
                       [](S* s) { Press(s, s->PartRect(S::ptThumb).center()); }),
             Render<S>(&host, skin, "disabled", {0, 0, 160, 19}, horizontal, [](S* s) { s->setEnabled(false); }),
         }});
    auto vertical = [](S* s) {
        s->SetKind(TScrollBarKind::sbVertical);
        s->SetSkinDataName(QStringLiteral("vscrollbar"));
        s->SetRange(0, 100, 20, 60);
    };
    rows.push_back({"vscrollbar",
                    {
                        Render<S>(&host, skin, "normal", {0, 0, 19, 90}, vertical, nothing),
                        Render<S>(&host, skin, "pressed thumb", {0, 0, 19, 90}, vertical,
                                  [](S* s) { Press(s, s->PartRect(S::ptThumb).center()); }),
                    }});
    using G = TSkinGauge;
    auto gauge = [](int value) {
        return [value](G* g) {
            g->SetSkinDataName(QStringLiteral("statusgauge"));
            g->SetShowPercent(true);
            g->SetValue(value);
        };
    };
    using P = TSkinStatusPanel;
    rows.push_back(
        {"status",
         {
             Render<P>(&host, skin, "status panel", {0, 0, 160, 17}, caption("Main Keyword: golf clubs"), nothing),
             Render<P>(&host, skin, "82 wide", {0, 0, 82, 17}, caption("39 items listed"), nothing),
             Render<G>(&host, skin, "gauge 0", {0, 0, 130, 17}, gauge(0), nothing),
             Render<G>(&host, skin, "gauge 40", {0, 0, 130, 17}, gauge(40), nothing),
             Render<G>(&host, skin, "gauge 100", {0, 0, 130, 17}, gauge(100), nothing),
         }});
    // Header sections through the list view's header painter.
    std::vector<TCell> header;
    for (bool pressed : {false, true}) {
        QImage image(120, 24, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter p(&image);
        THeaderSection section{QStringLiteral("Searches"), Qt::AlignLeft, pressed};
        PaintHeaderSection(p, QRect(0, 0, 80, 24), &skin, QStringLiteral("resizebutton"), section,
                           StandardDefaultFont());
        PaintHeaderRest(p, QRect(80, 0, 40, 24), &skin, QStringLiteral("resizebutton"));
        p.end();
        header.push_back({pressed ? QStringLiteral("pressed") : QStringLiteral("normal"), image});
    }
    rows.push_back({"header", header});
    using N = TSkinPanel;
    rows.push_back({"panel",
                    {
                        Render<N>(&host, skin, "framed", {0, 0, 150, 50}, nothing, nothing),
                        Render<N>(
                            &host, skin, "no border", {0, 0, 150, 50},
                            [](N* n) { n->SetBorderStyle(TSkinBorderStyle::bvNone); }, nothing),
                        Render<N>(
                            &host, skin, "status bar", {0, 0, 150, 24},
                            [](N* n) {
                                n->SetSkinDataName(QStringLiteral("statusbar"));
                                n->SetBorderStyle(TSkinBorderStyle::bvNone);
                            },
                            nothing),
                        Render<N>(
                            &host, skin, "tool bar", {0, 0, 150, 25},
                            [](N* n) {
                                n->SetSkinDataName(QStringLiteral("toolpanel"));
                                n->SetBorderStyle(TSkinBorderStyle::bvNone);
                            },
                            nothing),
                    }});

    // Laid out in rows: the control's name, then each state with its label below it, at twice the size.
    constexpr int kScale = 2;
    QFont small(QStringLiteral("Liberation Sans"));
    small.setPixelSize(11);
    int width = 0, height = 10;
    for (const auto& [name, cells] : rows) {
        int x = 110, h = 0;
        for (const TCell& c : cells) {
            x += std::max(c.Image.width() * kScale, 90) + 16;
            h = std::max(h, c.Image.height() * kScale + 18);
        }
        width = std::max(width, x);
        height += h + 12;
    }
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(QColor(0xF0, 0xF2, 0xF5));
    QPainter p(&sheet);
    p.setFont(small);
    int y = 10;
    for (const auto& [name, cells] : rows) {
        int x = 110, h = 0;
        p.setPen(Qt::black);
        p.drawText(QRect(10, y, 95, 20), Qt::AlignLeft | Qt::AlignVCenter, name);
        for (const TCell& c : cells) {
            p.drawImage(QRect(QPoint(x, y), c.Image.size() * kScale), c.Image);
            p.setPen(QColor(0x50, 0x58, 0x64));
            p.drawText(QRect(x, y + c.Image.height() * kScale + 2, 200, 14), Qt::AlignLeft | Qt::AlignTop, c.Label);
            x += std::max(c.Image.width() * kScale, 90) + 16;
            h = std::max(h, c.Image.height() * kScale + 18);
        }
        y += h + 12;
    }
    p.end();
    return sheet;
}

}  // namespace dorvanel::skinpack
