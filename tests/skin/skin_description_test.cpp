// The description text and its value kinds, read through the description objects that use them.
#include "skin/data_skin_controls.h"
#include "skin/data_skin_objects.h"
#include "skin/skin_description.h"
#include "skin/skin_errors.h"

#include <gtest/gtest.h>

using namespace dorvanel::skin;

namespace {

TSkinDescription Text(std::string_view text) { return TSkinDescription(text); }

template <class T>
T Read(std::string_view text, const char* name = "c") {
    T d(name);
    d.ReadDescription(TSkinDescription(text));
    return d;
}

}  // namespace

TEST(SkinDescription, LinesSectionsAndKeys) {
    const auto d = Text("x=before any section\r\n  [ Btn ]  \r\n; comment=1\r\nno equals sign\n\tKey = a=b \rlast=1");
    EXPECT_EQ(d.Value("x", "x"), nullptr);
    ASSERT_NE(d.Value("btn", "KEY"), nullptr);
    EXPECT_EQ(*d.Value("BTN", "key"), "a=b");
    EXPECT_EQ(d.ReadString("btn", "last"), "1");
    EXPECT_EQ(d.Value("btn", "; comment"), nullptr);
    EXPECT_EQ(d.Value("btn", "no equals sign"), nullptr);
}

TEST(SkinDescription, FirstSectionAndFirstKeyWin) {
    const auto d = Text("[a]\nk=1\nk=2\n[A]\nk=3\nj=4\n");
    EXPECT_EQ(d.ReadInteger("a", "k", 0), 1);
    EXPECT_EQ(d.Value("a", "j"), nullptr);
}

TEST(SkinDescription, IntegersAndTheirDefaults) {
    const auto d = Text("[s]\nhex=0x4\nHEX=1\nbig=0X1F\ndollar=$ff\nneg=-7\nword=four\nempty=\nover=2147483648\n");
    EXPECT_EQ(d.ReadInteger("s", "hex", -1), 4);
    EXPECT_EQ(d.ReadInteger("s", "big", -1), 31);
    EXPECT_EQ(d.ReadInteger("s", "dollar", -1), 255);
    EXPECT_EQ(d.ReadInteger("s", "neg", 0), -7);
    EXPECT_EQ(d.ReadInteger("s", "word", -1), -1);
    EXPECT_EQ(d.ReadInteger("s", "empty", 14), 14);
    EXPECT_EQ(d.ReadInteger("s", "over", 9), 9);
    EXPECT_EQ(d.ReadInteger("s", "absent", 9), 9);
    EXPECT_EQ(d.ReadString("s", "empty", "x"), "");
}

TEST(SkinDescription, PictureIndexReadsHexAndFallsBackToNoPicture) {
    EXPECT_EQ(Read<TDataSkinControl>("[c]\npictureindex=0x4").pictureindex, 4);
    EXPECT_EQ(Read<TDataSkinControl>("[c]\npictureindex=four").pictureindex, -1);
    EXPECT_EQ(Read<TDataSkinControl>("[c]\npictureindex=").pictureindex, -1);
}

TEST(SkinDescription, FlagsAreTrueOnlyForOne) {
    EXPECT_FALSE(Read<TDataSkinButtonControl>("[c]\nmorphing=2").morphing);
    EXPECT_TRUE(Read<TDataSkinButtonControl>("[c]\nmorphing=1").morphing);
    EXPECT_TRUE(Read<TDataSkinButtonControl>("[c]\nmorphing=0x1").morphing);
    EXPECT_FALSE(Read<TDataSkinButtonControl>("[c]\nmorphing=yes").morphing);
}

TEST(SkinDescription, PointsAndRectanglesKeepOnlyDigits) {
    EXPECT_EQ(Read<TDataSkinControl>("[c]\nskinrect=-5,3,10,20").skinrect, (TRect{5, 3, 10, 20}));
    EXPECT_EQ(Read<TDataSkinControl>("[c]\nskinrect= 1, 2 ,3,4").skinrect, (TRect{1, 2, 3, 4}));
    EXPECT_EQ(Read<TDataSkinControl>("[c]\nskinrect=1a2,3,4,5").skinrect, (TRect{12, 3, 4, 5}));
    // Surplus numbers are ignored.
    EXPECT_EQ(Read<TDataSkinControl>("[c]\nskinrect=1,2,3,4,5,,x").skinrect, (TRect{1, 2, 3, 4}));
    EXPECT_EQ(Read<TDataSkinCustomControl>("[c]\nlefttoppoint=7,8,9").lefttoppoint, (TPoint{7, 8}));
    EXPECT_EQ(Read<TDataSkinCustomControl>("[c]\n").clientrect, (TRect{}));
}

TEST(SkinDescription, ShortOrEmptyNumbersAreConversionErrors) {
    for (const char* text :
         {"[c]\nskinrect=1,,3,4", "[c]\nskinrect=", "[c]\nskinrect=1,2,3", "[c]\nskinrect=a,b,c,d"}) {
        SCOPED_TRACE(text);
        try {
            Read<TDataSkinControl>(text);
            FAIL() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), "'' is not a valid integer value");
        }
    }
    try {
        Read<TDataSkinCustomControl>("[c]\nlefttoppoint=1,99999999999");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'99999999999' is not a valid integer value");
    }
}

TEST(SkinDescription, FontStylesAreCaseSensitiveSubstrings) {
    const auto both = Read<TDataSkinLabelControl>("[c]\nfontstyle=fsbold,fsunderline");
    EXPECT_EQ(both.fontstyle, (TFontStyles{true, false, true, false}));
    EXPECT_TRUE(Read<TDataSkinLabelControl>("[c]\nfontstyle=fsBold").fontstyle.IsEmpty());
    const auto defaults = Read<TDataSkinLabelControl>("[c]\n");
    EXPECT_EQ(defaults.fontname, "Arial");
    EXPECT_EQ(defaults.fontheight, 14);
    EXPECT_EQ(defaults.fontcolor, 0);
}

TEST(SkinDescription, AlignmentMorphKindEffectAndCommandKeywords) {
    EXPECT_EQ(Read<TDataSkinPanelControl>("[c]\nalignment=TACENTER").alignment, TAlignment::taRightJustify);
    EXPECT_EQ(Read<TDataSkinPanelControl>("[c]\n").alignment, TAlignment::taCenter);
    EXPECT_EQ(Read<TDataSkinPanelControl>("[c]\nalignment=taleftjustify").alignment, TAlignment::taLeftJustify);
    EXPECT_EQ(Read<TDataSkinButtonControl>("[c]\nmorphkind=mkpush").morphkind, TMorphKind::mkPush);
    EXPECT_EQ(Read<TDataSkinButtonControl>("[c]\nmorphkind=MKPUSH").morphkind, TMorphKind::mkDefault);
    EXPECT_EQ(Read<TDataSkinStdButton>("[c]\ncommand=close").command, TStdCommand::cmMinimizeToTray);
    EXPECT_EQ(Read<TDataSkinStdButton>("[c]\n").command, TStdCommand::cmDefault);
    EXPECT_EQ(Read<TDataSkinStdButton>("[c]\ncommand=cmrollup").command, TStdCommand::cmRollUp);
    EXPECT_EQ(Text("[FORMINFO]\ninactiveeffect=blur").ReadFrameEffect("forminfo", "inactiveeffect"),
              TFrameEffect::ieGrayscale);
    EXPECT_EQ(Text("[FORMINFO]\n").ReadFrameEffect("forminfo", "inactiveeffect"), TFrameEffect::ieBrightness);
}

TEST(SkinDescription, ClassSpecificDefaultsAndOverrides) {
    EXPECT_EQ(Read<TDataSkinStdLabelControl>("[c]\n").activefontcolor, 16711680);
    const auto updown = Read<TDataSkinUpDownControl>("[c]\nlefttoppoint=1,2\nrightbottompoint=3,4\nclientrect=1,1,5,5");
    EXPECT_TRUE(updown.lefttoppoint.IsZero());
    EXPECT_TRUE(updown.rightbottompoint.IsZero());
    EXPECT_EQ(updown.clientrect, TRect{});
    const auto user = Read<TDataUserObject>("[c]\nactivepictureindex=2\nskinrect=1,2,3,4");
    EXPECT_EQ(user.activepictureindex, -1);
    EXPECT_EQ(user.skinrect, (TRect{1, 2, 3, 4}));
    const auto animate = Read<TDataSkinAnimate>("[c]\nmorphing=1");
    EXPECT_FALSE(animate.morphing);
    EXPECT_EQ(animate.countframes, 1);
    EXPECT_EQ(animate.timerinterval, 50);
    // The main-menu item's key is spelled with a capital; keys are found without regard to case.
    EXPECT_EQ(Read<TDataSkinMainMenuItem>("[c]\nunenabledfontcolor=5").unenabledfontcolor, 5);
    EXPECT_EQ(Read<TDataSkinButton>("[c]\ndisableskinrsect=1,2,3,4").disableskinrsect, (TRect{1, 2, 3, 4}));
}

TEST(SkinDescription, KindsAreMatchedExactly) {
    EXPECT_NE(dynamic_cast<TDataSkinButtonControl*>(CreateSkinControl("button", "b").get()), nullptr);
    EXPECT_NE(dynamic_cast<TDataSkinButtonControl*>(CreateSkinControl("menubutton", "b").get()), nullptr);
    // Tree-view and rich-edit descriptions are their own kinds beside the list view's, with the same keys.
    EXPECT_EQ(dynamic_cast<TDataSkinListView*>(CreateSkinControl("treeview", "b").get()), nullptr);
    EXPECT_NE(dynamic_cast<TDataSkinTreeView*>(CreateSkinControl("treeview", "b").get()), nullptr);
    EXPECT_EQ(dynamic_cast<TDataSkinListView*>(CreateSkinControl("richedit", "b").get()), nullptr);
    EXPECT_NE(dynamic_cast<TSkinListKeys*>(CreateSkinControl("richedit", "b").get()), nullptr);
    EXPECT_EQ(CreateSkinControl("Button", "b"), nullptr);
    EXPECT_NE(dynamic_cast<TDataSkinStdButton*>(CreateSkinObject("mainmenubarbutton", "b").get()), nullptr);
    EXPECT_NE(dynamic_cast<TDataSkinMainMenuItem*>(CreateSkinObject("mainmenubaritem", "b").get()), nullptr);
    EXPECT_EQ(CreateSkinObject("panel", "b"), nullptr);
}

TEST(SkinDescription, NameListsReadEntriesInOrder) {
    const auto d = Text("[PICTURES]\nactivepicturescount=3\n2=c.bmp\n0=a.bmp\n");
    EXPECT_EQ(d.ReadNameList("pictures", "activepictures"), (std::vector<std::string>{"a.bmp", "", "c.bmp"}));
    // A lying count cannot make the list grow past its cap.
    const auto huge = Text("[PICTURES]\nactivepicturescount=2147483647\n0=a.bmp\n");
    EXPECT_EQ(huge.ReadNameList("pictures", "activepictures").size(), std::size_t(kMaxNameListEntries));
    EXPECT_TRUE(Text("[PICTURES]\nactivepicturescount=-3").ReadNameList("pictures", "activepictures").empty());
}

TEST(SkinDescription, FormInfoAdjustsMaskAreaHitTestPointsAndCorners) {
    const char* text =
        "[FORMINFO]\nclientrect=8,25,130,84\nlefttoppoint=2,30\nrighttoppoint=136,10\nleftbottompoint=20,90\n"
        "rightbottompoint=120,80\nhittestlefttoppoint=0,12\nhittestrighttoppoint=5,6\n";
    TSkinFormInfo withMask;
    withMask.ReadDescription(TSkinDescription(text), true);
    EXPECT_EQ(withMask.maskrectarea, (TRect{8, 25, 130, 84}));
    EXPECT_EQ(withMask.hittestlefttoppoint, (TPoint{2, 30}));  // taken before the corners are pulled in
    EXPECT_EQ(withMask.hittestrighttoppoint, (TPoint{5, 6}));
    EXPECT_EQ(withMask.hittestleftbottompoint, (TPoint{20, 90}));
    EXPECT_EQ(withMask.lefttoppoint, (TPoint{8, 30}));
    EXPECT_EQ(withMask.righttoppoint, (TPoint{130, 25}));
    EXPECT_EQ(withMask.leftbottompoint, (TPoint{20, 84}));
    EXPECT_EQ(withMask.rightbottompoint, (TPoint{120, 80}));

    TSkinFormInfo noMask;
    noMask.ReadDescription(TSkinDescription(text), false);
    EXPECT_EQ(noMask.maskrectarea, TRect{});
    EXPECT_EQ(noMask.hittestlefttoppoint, (TPoint{0, 12}));

    TSkinFormInfo widened;
    widened.ReadDescription(TSkinDescription("[FORMINFO]\nclientrect=8,25,130,84\nmaskrectarea=10,4,140,80"), true);
    EXPECT_EQ(widened.maskrectarea, (TRect{8, 4, 140, 84}));

    // Corners on one line with the right-bottom point are left where they are.
    TSkinFormInfo collapsed;
    collapsed.ReadDescription(
        TSkinDescription("[FORMINFO]\nclientrect=8,25,130,84\nlefttoppoint=2,2\nrightbottompoint=2,50"), false);
    EXPECT_EQ(collapsed.lefttoppoint, (TPoint{2, 2}));
}

TEST(SkinDescription, WriteThenReadGivesTheSameValues) {
    TDataSkinButtonControl b("button");
    b.ReadDescription(
        TSkinDescription("[button]\npictureindex=2\nskinrect=0,0,24,21\nlefttoppoint=4,8\nfontstyle=fsitalic,fsbold\n"
                         "morphing=1\nmorphkind=mkgradient\nactiveskinrect=0,21,24,42\nfontcolor=8421504\n"));
    TSkinDescription written;
    b.WriteDescription(written);
    EXPECT_EQ(written.ReadString("button", "fontstyle"), "fsbold,fsitalic");
    EXPECT_EQ(written.ReadString("button", "morphkind"), "mkgradient");
    EXPECT_EQ(written.ReadString("button", "skinrect"), "0,0,24,21");
    EXPECT_EQ(written.ReadString("button", "morphing"), "1");
    TDataSkinButtonControl again("button");
    again.ReadDescription(written);
    EXPECT_EQ(again.skinrect, b.skinrect);
    EXPECT_EQ(again.lefttoppoint, b.lefttoppoint);
    EXPECT_EQ(again.fontstyle, b.fontstyle);
    EXPECT_EQ(again.activeskinrect, b.activeskinrect);
    EXPECT_EQ(again.fontcolor, 8421504);
    EXPECT_EQ(again.morphkind, TMorphKind::mkGradient);
}

TEST(SkinFontHeight, ZeroIsTheDefaultHeightNotOnePixel) {
    const int defaultHeight = SkinFont("Arial", kDefaultFontHeight, {}).pixelSize();
    const struct {
        int height;
        int pixels;
    } cases[] = {{0, defaultHeight}, {kDefaultFontHeight, defaultHeight}, {-15, 15}, {-99999, kMaxFontHeight}};
    for (const auto& c : cases) EXPECT_EQ(SkinFont("Arial", c.height, {}).pixelSize(), c.pixels) << c.height;
    EXPECT_GT(defaultHeight, 1);
}
