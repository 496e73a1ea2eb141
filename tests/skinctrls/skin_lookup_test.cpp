// Finding a control's description by name and fitting the control to it, with the program's own skin.
#include "skin/skin_data.h"
#include "skinctrls/skin_button.h"
#include "skin/skin_events.h"
#include "skinctrls/skin_edit.h"
#include "skinctrls/skin_form.h"
#include "skinctrls/skin_labels.h"
#include "skinctrls/skin_status.h"
#include "defaultskin/default_skin.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace dorvanel::skinctrls {
namespace {

skin::TSkinData* ProgramSkin() {
    static skin::TSkinData* data = [] {
        auto* s = new skin::TSkinData;
        skin::TCompressedStoredSkin stored;
        stored.CompressedData = defaultskin::DefaultSkinData();
        s->ApplyStoredSkin(stored);
        return s;
    }();
    return data;
}

TEST(SkinLookup, NoSkinOrAnEmptySkinGivesThePlainLook) {
    TSkinButton button;
    button.RefreshSkinDescription();
    EXPECT_EQ(button.DescriptionIndex(), -1);
    skin::TSkinData empty;
    button.SetSkinData(&empty);
    button.RefreshSkinDescription();
    EXPECT_EQ(button.DescriptionIndex(), -1);
    button.SetBounds(0, 0, 99, 20);
    EXPECT_EQ(button.size(), QSize(99, 20));
}

TEST(SkinLookup, ButtonFindsItsDescriptionAndTakesTheSkinHeight) {
    skin::TSkinData* skin = ProgramSkin();
    ASSERT_FALSE(skin->SkinEmpty());
    TSkinButton button;
    button.SetBounds(7, 7, 99, 20);
    button.SetSkinData(skin);
    EXPECT_EQ(button.DescriptionIndex(), skin->IndexOfControl(QStringLiteral("button")));
    EXPECT_EQ(button.SliceMode(), 2);
    // Applying the skin fits the size: the width stays, the height is the skin's.
    EXPECT_EQ(button.geometry(), QRect(7, 7, 99, 21));
    button.SetBounds(68, 67, 82, 25);
    EXPECT_EQ(button.geometry(), QRect(68, 67, 82, 21));
    EXPECT_EQ(button.Fitted().RTPoint.X, button.Geometry().RTPoint.X + 82 - button.Geometry().SkinRect.Width());

    button.ForgetSkinDescription();
    EXPECT_EQ(button.DescriptionIndex(), -1);
}

TEST(SkinLookup, NamesAreCaseSensitive) {
    TSkinButton button;
    button.SetSkinDataName("Button");
    button.SetBounds(0, 0, 99, 20);
    button.SetSkinData(ProgramSkin());
    EXPECT_EQ(button.DescriptionIndex(), -1);
    EXPECT_EQ(button.size(), QSize(99, 20));
    // The plain look is drawn.
    EXPECT_EQ(button.RenderImage().pixel(0, 0), clBtnShadow().rgb());
}

TEST(SkinLookup, DefaultSizeAppliesOnlyWithoutADescription) {
    TSkinButton button;
    button.SetSkinDataName("nosuchsection");
    button.SetDefaultWidth(70);
    button.SetDefaultHeight(25);
    button.SetBounds(0, 0, 99, 20);
    button.SetSkinData(ProgramSkin());
    EXPECT_EQ(button.size(), QSize(70, 25));
}

TEST(SkinLookup, StatusPanelsGaugeAndEditTakeTheSkinHeights) {
    TSkinStatusPanel panel;
    panel.SetBounds(432, 0, 82, 17);
    panel.SetSkinData(ProgramSkin());
    EXPECT_EQ(panel.height(), 20);

    TSkinGauge gauge;
    gauge.SetSkinDataName("statusgauge");
    gauge.SetBounds(514, 0, 130, 17);
    gauge.SetSkinData(ProgramSkin());
    EXPECT_EQ(gauge.height(), 20);

    TSkinEdit edit;
    edit.SetBounds(13, 37, 280, 15);
    edit.SetSkinData(ProgramSkin());
    EXPECT_NE(edit.DescriptionIndex(), -1);
    EXPECT_EQ(edit.geometry(), QRect(13, 37, 280, 21));
}

TEST(SkinChange, ControlsForgetBeforeAndApplyAfter) {
    TSkinForm form;
    auto* button = new TSkinButton(&form);
    button->SetBounds(68, 67, 82, 25);
    auto* label = new TSkinStdLabel(&form);
    auto* other = new TSkinButton(&form);  // draws from another skin: left alone
    skin::TSkinData otherSkin;
    other->SetSkinData(&otherSkin);
    button->SetSkinData(ProgramSkin());
    label->SetSkinData(ProgramSkin());
    ASSERT_NE(button->DescriptionIndex(), -1);
    ASSERT_NE(label->DescriptionIndex(), -1);

    skin::TSkinMessageEvent prepare(skin::SKIN_MSG_PREPARE, ProgramSkin());
    QApplication::sendEvent(&form, &prepare);
    EXPECT_EQ(button->DescriptionIndex(), -1);
    EXPECT_EQ(label->DescriptionIndex(), -1);

    button->resize(82, 25);  // as if the skin had been away
    skin::TSkinMessageEvent apply(skin::SKIN_MSG_APPLY, ProgramSkin());
    QApplication::sendEvent(&form, &apply);
    EXPECT_NE(button->DescriptionIndex(), -1);
    EXPECT_EQ(button->height(), 21);
    EXPECT_NE(label->DescriptionIndex(), -1);
    EXPECT_EQ(other->DescriptionIndex(), -1);
}

}  // namespace
}  // namespace dorvanel::skinctrls
