// Every text colour of the bundled skins is readable on what it is drawn over: at least 4.5:1 contrast
// (WCAG AA for normal text), read from the packed skins themselves. Colours of disabled text are exempt, as
// WCAG exempts inactive controls.
#include "skin/compressed_stored_skin.h"
#include "skin/skin_data.h"
#include "defaultskin/default_skin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace dorvanel::skin {
namespace {

double Luminance(const QColor& c) {
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour at the middle of the client area of one state image of a control.
QColor FaceOf(const TSkinData& skin, const TDataSkinCustomControl& control, const TRect& state) {
    const QImage* picture = skin.Picture(control.pictureindex);
    if (!picture) return {};
    const TRect& inner = control.clientrect.IsEmpty() ? TRect{0, 0, state.Width(), state.Height()} : control.clientrect;
    return picture->pixelColor(state.Left + (inner.Left + inner.Right) / 2, state.Top + (inner.Top + inner.Bottom) / 2);
}

template <class T>
const T* Section(const TSkinData& skin, const char* name) {
    return dynamic_cast<const T*>(skin.Control(skin.IndexOfControl(name)));
}

struct TextOnFace {
    std::string what;
    QColor text, face;
};

std::vector<TextOnFace> TextsOf(const TSkinData& skin) {
    std::vector<TextOnFace> all;
    const auto add = [&](std::string what, int text, const QColor& face) {
        if (face.isValid()) all.push_back({std::move(what), SkinColor(text), face});
    };
    QColor panelFace;
    if (const auto* panel = Section<TDataSkinPanelControl>(skin, "panel")) {
        panelFace = FaceOf(skin, *panel, panel->skinrect);
        add("panel caption", panel->fontcolor, panelFace);
    }
    // Labels, footer links and flat check boxes are drawn over the panel they lie on.
    if (const auto* label = Section<TDataSkinStdLabelControl>(skin, "stdlabel")) {
        add("label", label->fontcolor, panelFace);
        add("link under the pointer", label->activefontcolor, panelFace);
    }
    for (const char* name : {"checkbox", "radiobox"})
        if (const auto* box = Section<TDataSkinCheckRadioControl>(skin, name)) add(name, box->framefontcolor, panelFace);
    for (const char* name : {"button", "toolbutton", "resizebutton"})
        if (const auto* b = Section<TDataSkinButtonControl>(skin, name)) {
            const TRect active = b->activeskinrect.IsEmpty() ? b->skinrect : b->activeskinrect;
            const TRect down = b->downskinrect.IsEmpty() ? active : b->downskinrect;
            add(std::string(name) + " normal", b->fontcolor, FaceOf(skin, *b, b->skinrect));
            add(std::string(name) + " hot", b->activefontcolor, FaceOf(skin, *b, active));
            add(std::string(name) + " down", b->downfontcolor, FaceOf(skin, *b, down));
        }
    for (const char* name : {"statuspanel", "label"})
        if (const auto* l = Section<TDataSkinLabelControl>(skin, name)) add(name, l->fontcolor, FaceOf(skin, *l, l->skinrect));
    for (const char* name : {"edit", "buttonedit"})
        if (const auto* e = Section<TDataSkinEditControl>(skin, name)) {
            add(std::string(name) + " normal", e->fontcolor, FaceOf(skin, *e, e->skinrect));
            add(std::string(name) + " hot", e->activefontcolor,
                FaceOf(skin, *e, e->activeskinrect.IsEmpty() ? e->skinrect : e->activeskinrect));
        }
    if (const auto* list = Section<TDataSkinListView>(skin, "listview"))
        add("list", list->fontcolor, SkinColor(list->bgcolor));
    if (const auto* item = dynamic_cast<const TDataSkinMenuItem*>(skin.Object(skin.IndexOfObject("menuitem"))))
        if (const QImage* picture = skin.Picture(item->activepictureindex)) {
            const auto middle = [&](const TRect& r) { return picture->pixelColor(r.ToQRect().center()); };
            add("menu item", item->fontcolor, middle(item->skinrect));
            if (!item->activeskinrect.IsEmpty()) add("menu item hot", item->activefontcolor, middle(item->activeskinrect));
        }
    if (const auto* caption = dynamic_cast<const TDataSkinCaption*>(skin.Object(skin.IndexOfObject("caption")))) {
        const QPoint at = skin.FormInfo().captionrect.ToQRect().center();
        const QImage& inactive = skin.InactivePicture().isNull() ? skin.MainPicture() : skin.InactivePicture();
        add("caption", caption->activefontcolor, skin.MainPicture().pixelColor(at));
        add("caption of an inactive window", caption->fontcolor, inactive.pixelColor(at));
    }
    return all;
}

TEST(TextContrast, EveryTextOfBothBundledSkinsReadsAtAALevel) {
    TSkinData modern, graphite;
    TCompressedStoredSkin stored;
    stored.CompressedData = defaultskin::DefaultSkinData();
    modern.ApplyStoredSkin(stored);
    graphite.LoadSkinArchiveFile(QStringLiteral(DORVANEL_BINARY_DIR "/skins/graphite/dbskin.dat"));
    for (const auto& [name, skin] : {std::pair{"Modern", &modern}, std::pair{"Graphite", &graphite}}) {
        ASSERT_FALSE(skin->Empty()) << name;
        const std::vector<TextOnFace> texts = TextsOf(*skin);
        EXPECT_GE(texts.size(), 20u) << name;
        for (const TextOnFace& t : texts)
            EXPECT_GE(Contrast(t.text, t.face), 4.5)
                << name << ": " << t.what << " " << t.text.name().toStdString() << " on "
                << t.face.name().toStdString();
    }
}

}  // namespace
}  // namespace dorvanel::skin
