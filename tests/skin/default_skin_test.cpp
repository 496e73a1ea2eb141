// The program's own skin: it applies, names every section the windows use, and gives the numbers the
// windows rely on.
#include "skin/skin_data.h"
#include "defaultskin/default_skin.h"

#include <gtest/gtest.h>

using namespace dorvanel::skin;

namespace {

const TSkinData& DefaultSkin() {
    static TSkinData* skin = [] {
        auto* s = new TSkinData;
        TCompressedStoredSkin stored;
        stored.CompressedData = dorvanel::defaultskin::DefaultSkinData();
        s->ApplyStoredSkin(stored);
        return s;
    }();
    return *skin;
}

template <class T>
const T& Control(const char* name) {
    const TSkinData& skin = DefaultSkin();
    const T* d = dynamic_cast<const T*>(skin.Control(skin.IndexOfControl(name)));
    if (!d) throw std::runtime_error(std::string("no description ") + name);
    return *d;
}

bool Inside(const TRect& r, const QImage& picture) {
    return r.Left >= 0 && r.Top >= 0 && r.Right <= picture.width() && r.Bottom <= picture.height();
}

}  // namespace

TEST(DefaultSkin, AppliesWithEverySectionTheWindowsName) {
    const TSkinData& skin = DefaultSkin();
    ASSERT_FALSE(skin.SkinEmpty());
    EXPECT_EQ(skin.SkinName(), "Modern");
    for (const char* name :
         {"panel",          "button",         "listview",   "resizebutton", "vscrollbar",  "hscrollbar",
          "bothhscrollbar", "stdlabel",       "label",      "statusbar",    "statuspanel", "statusgauge",
          "gauge",          "edit",           "buttonedit", "checkbox",     "radiobox",    "toolpanel",
          "toolbutton",     "toolmenubutton", "combobox",   "toolcombobox", "listbox"})
        EXPECT_GE(skin.IndexOfControl(name), 0) << name;
    for (const char* name : {"caption", "closebutton", "maxbutton", "minbutton", "sysmenubutton", "menuitem"})
        EXPECT_GE(skin.IndexOfObject(name), 0) << name;
    EXPECT_NE(skin.Picture(skin.PopupWindow().windowpictureindex), nullptr);
    EXPECT_NE(skin.Picture(skin.HintWindow().windowpictureindex), nullptr);
}

TEST(DefaultSkin, GivesTheNumbersTheWindowsExpect) {
    const auto& button = Control<TDataSkinButtonControl>("button");
    EXPECT_EQ(button.skinrect.Height(), 21);
    EXPECT_TRUE(button.morphing);
    EXPECT_EQ(button.morphkind, TMorphKind::mkGradient);
    EXPECT_FALSE(button.righttoppoint.IsZero());  // the width follows the control
    EXPECT_FALSE(button.rightbottompoint.X != 0 && button.rightbottompoint.Y != 0);
    ASSERT_NE(DefaultSkin().Picture(button.maskpictureindex), nullptr);
    EXPECT_EQ(DefaultSkin().Picture(button.maskpictureindex)->size(), button.skinrect.ToQRect().size());

    EXPECT_EQ(Control<TDataSkinLabelControl>("statuspanel").skinrect.Height(), 20);
    EXPECT_EQ(Control<TDataSkinGaugeControl>("statusgauge").skinrect.Height(), 20);
    const auto& bar = Control<TDataSkinPanelControl>("statusbar");
    EXPECT_EQ(bar.clientrect.Left, 10);
    EXPECT_EQ(bar.skinrect.Width() - bar.clientrect.Right, 10);
    EXPECT_EQ(bar.clientrect.Height(), 20);
    EXPECT_EQ(Control<TDataSkinEditControl>("edit").skinrect.Height(), 21);
    EXPECT_FALSE(Control<TDataSkinButtonControl>("resizebutton").leftbottompoint.IsZero());  // nine-part header

    const TSkinFormInfo& frame = DefaultSkin().FormInfo();
    EXPECT_EQ(frame.borderwidth, 4);
    EXPECT_EQ(frame.clientrect.Left, 8);
    EXPECT_EQ(frame.clientrect.Top, 25);
    EXPECT_FALSE(DefaultSkin().Mask().isNull());
    EXPECT_EQ(DefaultSkin().Mask().size(), DefaultSkin().MainPicture().size());
    EXPECT_EQ(DefaultSkin().Mask().pixelColor(0, 0), QColor(Qt::white));  // a rounded corner is cut
    EXPECT_EQ(DefaultSkin().Mask().pixelColor(80, 40), QColor(Qt::black));
}

TEST(DefaultSkin, EveryPictureRectangleLiesInItsPicture) {
    const TSkinData& skin = DefaultSkin();
    for (int i = 0; i < skin.SkinControls().Count(); ++i) {
        const TDataSkinControl* c = skin.Control(i);
        if (c->skinrect.IsEmpty()) continue;
        const QImage* picture = skin.Picture(c->pictureindex);
        ASSERT_NE(picture, nullptr) << c->IDName;
        EXPECT_TRUE(Inside(c->skinrect, *picture)) << c->IDName;
        if (auto* b = dynamic_cast<const TDataSkinButtonControl*>(c)) {
            for (const TRect& r : {b->activeskinrect, b->downskinrect, b->disabledskinrect}) {
                if (r.IsEmpty()) continue;  // falls back to another state
                EXPECT_TRUE(Inside(r, *picture)) << c->IDName;
                EXPECT_EQ(r.Width(), c->skinrect.Width()) << c->IDName;
                EXPECT_EQ(r.Height(), c->skinrect.Height()) << c->IDName;
            }
        }
    }
    for (int i = 0; i < skin.SkinObjects().Count(); ++i) {
        const TDataSkinObject* o = skin.Object(i);
        const QImage* picture = skin.Picture(o->activepictureindex);
        if (!picture) continue;
        for (const TRect& r : {o->skinrect, o->activeskinrect, o->inactiveskinrect})
            EXPECT_TRUE(Inside(r, *picture)) << o->IDName;
    }
}
