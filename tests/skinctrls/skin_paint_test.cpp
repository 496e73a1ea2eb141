// Controls drawn from the program's skin: the sizes it gives them, the state image a button shows, the hover
// blend driven tick by tick, a skin change and a skin cleared while a dialog is open, a failed load that
// leaves nothing pointing into the freed skin, and a hostile skin drawn without large allocations.
#include "skin/skin_errors.h"
#include "skinctrls/program_skin.h"
#include "skinctrls/skin_button.h"
#include "skinctrls/skin_edit.h"
#include "skinctrls/skin_form.h"
#include "skinctrls/skin_panel.h"
#include "skinctrls/skin_scrollbar.h"
#include "skinctrls/skin_status.h"
#include "defaultskin/default_skin.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEnterEvent>

#include <cmath>
#include <memory>

namespace dorvanel::skinctrls {
namespace {

using test::ApplyArchive;
using test::ProgramSkin;

void Enter(QWidget& w) {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&w, &event);
}

void Leave(QWidget& w) {
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(&w, &event);
}

// Ticks only when the test says so.
class TManualTimer : public TBlendTimer {
public:
    static inline TManualTimer* Last = nullptr;
    static inline int Started = 0;
    TManualTimer() { Last = this; }
    ~TManualTimer() override {
        if (Last == this) Last = nullptr;
    }
    void Start(int intervalMs) override {
        EXPECT_EQ(intervalMs, 20);
        ++Started;
        FActive = true;
    }
    void Stop() override { FActive = false; }
    bool Active() const { return FActive; }
    void Tick() {
        if (FActive && OnTick) OnTick();
    }

private:
    bool FActive = false;
};

class ManualBlendTimer : public ::testing::Test {
protected:
    void SetUp() override {
        FSaved = TStateBlend::MakeTimer;
        TStateBlend::MakeTimer = [] { return std::unique_ptr<TBlendTimer>(new TManualTimer); };
    }
    void TearDown() override { TStateBlend::MakeTimer = FSaved; }
    static void Tick() {
        ASSERT_NE(TManualTimer::Last, nullptr);
        TManualTimer::Last->Tick();
    }

private:
    std::function<std::unique_ptr<TBlendTimer>()> FSaved;
};

TEST(SkinPaint, TheProgramSkinGivesItsSizes) {
    auto skin = ProgramSkin();
    struct Case {
        const char* Name;
        std::unique_ptr<QWidget> Control;
        QSize Expected;
    };
    auto button = std::make_unique<TSkinButton>();
    auto panel = std::make_unique<TSkinStatusPanel>();
    auto gauge = std::make_unique<TSkinGauge>();
    auto statusGauge = std::make_unique<TSkinGauge>();
    statusGauge->SetSkinDataName(QStringLiteral("statusgauge"));
    auto edit = std::make_unique<TSkinEdit>();
    auto bar = std::make_unique<TSkinScrollBar>();
    bar->SetKind(TScrollBarKind::sbVertical);
    bar->SetSkinDataName(QStringLiteral("vscrollbar"));
    for (TSkinControl* c :
         std::initializer_list<TSkinControl*>{button.get(), panel.get(), gauge.get(), statusGauge.get(), bar.get()})
        c->SetSkinData(skin.get());
    edit->SetSkinData(skin.get());
    button->SetBounds(7, 7, 99, 20);
    panel->SetBounds(0, 0, 82, 17);
    gauge->SetBounds(0, 0, 130, 17);
    statusGauge->SetBounds(0, 0, 130, 17);
    edit->SetBounds(13, 37, 280, 15);
    bar->SetBounds(0, 0, 19, 267);
    EXPECT_EQ(button->size(), QSize(99, 21));
    EXPECT_EQ(panel->size(), QSize(82, 20));
    EXPECT_EQ(gauge->size(), QSize(130, 20));
    EXPECT_EQ(statusGauge->size(), QSize(130, 20));
    EXPECT_EQ(edit->size(), QSize(280, 21));
    EXPECT_EQ(bar->size(), QSize(19, 267));
}

TEST(SkinPaint, AButtonShowsTheStateImageOfItsState) {
    auto skin = ProgramSkin();
    TSkinButton button;
    button.SetSkinData(skin.get());
    button.SetBounds(0, 0, 98, 20);
    auto* description = dynamic_cast<const skin::TDataSkinButtonControl*>(skin->Control(button.DescriptionIndex()));
    ASSERT_NE(description, nullptr);
    const QImage& picture = *button.Picture();
    // Row 1 holds no caption; column 30 lies in the tiled middle (5..59), so it shows source column 30.
    auto expected = [&](const skin::TRect& state) { return picture.pixel(state.Left + 30, state.Top + 1); };
    EXPECT_EQ(button.RenderImage().pixel(30, 1), expected(description->skinrect));
    Enter(button);
    button.Blend();  // the blend only runs with a timer; the hot image is the target either way
    TStateBlend& blend = const_cast<TStateBlend&>(button.Blend());
    blend.Snap(true);
    EXPECT_EQ(button.RenderImage().pixel(30, 1), expected(description->activeskinrect));
    button.SetDown(true);
    EXPECT_EQ(button.RenderImage().pixel(30, 1), expected(description->downskinrect));
    button.SetDown(false);
    button.setEnabled(false);
    EXPECT_EQ(button.RenderImage().pixel(30, 1), expected(description->disabledskinrect));
    // The rounded corners are cut from the window shape.
    EXPECT_FALSE(button.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(button.mask().contains(QPoint(49, 10)));
}

TEST(SkinPaint, ADisabledButtonShowsTheDisabledImageEvenWhenDown) {
    // Disabled is chosen before down, for a grouped button (down whatever the mouse does) and for a hot one.
    auto skin = ProgramSkin();
    for (const int group : {1, 0}) {
        SCOPED_TRACE(group);
        TSkinButton button;
        button.SetSkinData(skin.get());
        button.SetBounds(0, 0, 98, 20);
        button.SetGroupIndex(group);
        auto* description = dynamic_cast<const skin::TDataSkinButtonControl*>(skin->Control(button.DescriptionIndex()));
        ASSERT_NE(description, nullptr);
        const QImage& picture = *button.Picture();
        auto expected = [&](const skin::TRect& state) { return picture.pixel(state.Left + 30, state.Top + 1); };
        ASSERT_NE(expected(description->disabledskinrect), expected(description->downskinrect));
        Enter(button);
        button.SetDown(true);
        ASSERT_EQ(button.RenderImage().pixel(30, 1), expected(description->downskinrect));
        button.setEnabled(false);
        EXPECT_EQ(button.RenderImage().pixel(30, 1), expected(description->disabledskinrect));
    }
}

TEST_F(ManualBlendTimer, TheHoverBlendReachesItsEndInFiveTicks) {
    auto skin = ProgramSkin();
    TSkinButton button;
    button.SetSkinData(skin.get());
    button.SetBounds(0, 0, 98, 20);
    const QImage normal = button.RenderImage();
    Enter(button);
    ASSERT_TRUE(button.Blend().Running());
    EXPECT_EQ(button.Blend().Position(), 0.0);
    for (int tick = 1; tick <= 4; ++tick) {
        Tick();
        EXPECT_DOUBLE_EQ(button.Blend().Position(), tick / 5.0);
        EXPECT_TRUE(button.Blend().InProgress());
        if (tick == 1) {
            // After one tick ("mkgradient") the middle 20 columns show the active image; the outer columns
            // still the normal one.
            const QImage during = button.RenderImage();
            EXPECT_NE(during.pixel(49, 1), normal.pixel(49, 1));
            EXPECT_EQ(during.pixel(0, 10), normal.pixel(0, 10));
        }
    }
    Tick();
    EXPECT_EQ(button.Blend().Position(), 1.0);
    EXPECT_FALSE(button.Blend().Running());
    // Leaving fades back in five ticks as well.
    Leave(button);
    for (int tick = 0; tick < 5; ++tick) Tick();
    EXPECT_EQ(button.Blend().Position(), 0.0);
    EXPECT_FALSE(button.Blend().Running());
    EXPECT_EQ(button.RenderImage(), normal);
}

TEST(SkinPaint, ASkinChangeAndAClearedSkinReachAnOpenDialog) {
    auto skin = ProgramSkin();
    TSkinForm dialog;
    auto* button = new TSkinButton(&dialog);
    button->SetSkinData(skin.get());
    button->SetBounds(10, 10, 98, 20);
    dialog.SetClientSize(200, 100);
    dialog.show();
    ASSERT_NE(button->DescriptionIndex(), -1);
    ASSERT_FALSE(button->mask().isEmpty());
    skin->UnloadSkin();
    EXPECT_EQ(button->DescriptionIndex(), -1);
    EXPECT_EQ(button->Picture(), nullptr);
    EXPECT_TRUE(button->mask().isEmpty());
    EXPECT_EQ(button->RenderImage().pixel(0, 0), clBtnShadow().rgb());  // the plain look's frame
    skin::TCompressedStoredSkin stored;
    stored.CompressedData = defaultskin::DefaultSkinData();
    skin->ApplyStoredSkin(stored);
    EXPECT_NE(button->DescriptionIndex(), -1);
    EXPECT_FALSE(button->mask().isEmpty());
    EXPECT_EQ(button->height(), 21);
}

TEST(SkinPaint, AFailedLoadLeavesNothingPointingIntoTheFreedSkin) {
    auto skin = ProgramSkin();
    TSkinForm dialog;
    auto* button = new TSkinButton(&dialog);
    button->SetSkinData(skin.get());
    button->SetBounds(10, 10, 98, 20);
    dialog.show();
    ASSERT_NE(button->Picture(), nullptr);
    skin::TCompressedStoredSkin cut;
    cut.CompressedData = defaultskin::DefaultSkinData().left(3000);
    EXPECT_THROW(skin->ApplyStoredSkin(cut), skin::EDecompressionError);
    EXPECT_TRUE(skin->SkinEmpty());
    EXPECT_EQ(button->Picture(), nullptr);
    EXPECT_EQ(button->MaskPicture(), nullptr);
    // Painting now (under the sanitizers: without touching freed pictures) gives the plain look.
    EXPECT_FALSE(button->RenderImage().isNull());
    EXPECT_EQ(button->DescriptionIndex(), -1);
}

TEST(SkinPaint, AHostileSkinIsDrawnWithoutLargeAllocations) {
    // Rectangles far past the pictures, points past the rectangles, font heights out of every range.
    skin::test::ArchiveBuilder b;
    b.List = {skin::test::SolidPicture(64, 64, Qt::darkGreen)};
    b.Text =
        "[VERSION]\r\nskinname=Hostile\r\n[PICTURES]\r\nactivepicturescount=1\r\n0=a.bmp\r\n[FORMINFO]\r\n"
        "[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=4\r\n0=button:button\r\n1=panel:panel\r\n"
        "2=statusgauge:gauge\r\n3=vscrollbar:scrollbar\r\n"
        "[button]\r\npictureindex=0\r\nmaskpictureindex=0\r\nskinrect=0,0,99999999,99999999\r\n"
        "lefttoppoint=5,0\r\nrighttoppoint=2147483647,0\r\nclientrect=1,1,40000,40000\r\nfontheight=-2000000\r\n"
        "morphing=1\r\nmorphkind=mkpush\r\n"
        "[panel]\r\npictureindex=0\r\nskinrect=0,0,64,64\r\nlefttoppoint=60000,60000\r\nrighttoppoint=3,3\r\n"
        "leftbottompoint=3,70000\r\nrightbottompoint=70000,70000\r\nclientrect=9,9,90000,90000\r\n"
        "captionrect=0,0,99999,99999\r\nfontheight=2000000\r\n"
        "[statusgauge]\r\npictureindex=0\r\nskinrect=0,0,64,20\r\nrighttoppoint=60,0\r\nlefttoppoint=4,0\r\n"
        "progressarea=0,0,99999,99999\r\nprogressrect=10,10,99999,99999\r\nbeginoffset=2000000000\r\n"
        "endoffset=2000000000\r\n"
        "[vscrollbar]\r\npictureindex=0\r\nskinrect=0,0,19,64\r\nleftbottompoint=0,50\r\nlefttoppoint=0,10\r\n"
        "trackarea=0,0,99999,99999\r\nthumbrect=0,0,99999,99999\r\nupbuttonrect=0,0,99999,99999\r\n";
    skin::TSkinData data;
    ApplyArchive(data, b);
    ASSERT_FALSE(data.SkinEmpty());
    auto* button = dynamic_cast<const skin::TDataSkinButtonControl*>(data.Control(data.IndexOfControl("button")));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->skinrect.Right, skin::kMaxSkinCoordinate);
    EXPECT_EQ(button->fontheight, -skin::kMaxFontHeight);

    TSkinForm form;
    auto* b1 = new TSkinButton(&form);
    b1->SetCaption(QStringLiteral("Hostile"));
    auto* p1 = new TSkinPanel(&form);
    p1->SetCaption(QStringLiteral("Hostile"));
    auto* g1 = new TSkinGauge(&form);
    g1->SetSkinDataName(QStringLiteral("statusgauge"));
    g1->SetShowPercent(true);
    auto* s1 = new TSkinScrollBar(&form);
    s1->SetKind(TScrollBarKind::sbVertical);
    s1->SetSkinDataName(QStringLiteral("vscrollbar"));
    s1->SetRange(0, 100, 10, 50);
    for (TSkinControl* c : std::initializer_list<TSkinControl*>{b1, p1, g1, s1}) {
        c->SetSkinData(&data);
        c->SetBounds(0, 0, 100, 30);
        EXPECT_LE(c->width(), skin::kMaxPaintSide);
        EXPECT_LE(c->height(), skin::kMaxPaintSide);
        const QImage image = c->RenderImage();
        // Either painted at the control's size or refused as over the caps; never anything larger.
        if (!image.isNull()) {
            EXPECT_EQ(image.size(), c->size());
        }
    }
    // The panel's skin image is held to its 64 x 64 picture.
    EXPECT_EQ(p1->Geometry().SkinRect, (skin::TRect{0, 0, 64, 64}));
    EXPECT_LE(p1->Geometry().RBPoint.X, 64);
}

}  // namespace
}  // namespace dorvanel::skinctrls

namespace dorvanel::skinctrls {
namespace {

TEST(SkinPaint, AScrollBarLaysItsPartsOutFromTheSkin) {
    // The program's vertical bar: 19 x 80 in the skin, buttons 19 high at both ends, a 9-wide thumb.
    auto skin = ProgramSkin();
    TSkinScrollBar bar;
    bar.SetKind(TScrollBarKind::sbVertical);
    bar.SetSkinDataName(QStringLiteral("vscrollbar"));
    bar.SetSkinData(skin.get());
    bar.SetBounds(0, 0, 19, 267);
    bar.SetRange(0, 99, 10, 0);
    EXPECT_EQ(bar.PartRect(TSkinScrollBar::ptDownButton), QRect(0, 0, 19, 19));
    // The far button and the track's far edge move with the bar's length (267 - 80).
    EXPECT_EQ(bar.PartRect(TSkinScrollBar::ptUpButton), QRect(0, 61 + 187, 19, 19));
    EXPECT_EQ(bar.TrackRect(), QRect(0, 19, 19, 42 + 187));
    // Across the bar the thumb keeps the skin's 9 pixels, centred; along it the page's share of the track.
    const QRect thumb = bar.PartRect(TSkinScrollBar::ptThumb);
    EXPECT_EQ(thumb.left(), 19 / 2 - 9 / 2);
    EXPECT_EQ(thumb.width(), 9);
    EXPECT_EQ(thumb.top(), 19);
    EXPECT_EQ(thumb.height(), std::max(24, int(std::lround(229 * 10 / 100.0))));
    bar.SetPosition(90);
    EXPECT_EQ(bar.PartRect(TSkinScrollBar::ptThumb).bottom(), bar.TrackRect().bottom());
    // Without a skin the plain geometry returns.
    skin->UnloadSkin();
    bar.SetSkinData(skin.get());
    EXPECT_EQ(bar.PartRect(TSkinScrollBar::ptDownButton), QRect(QPoint(1, 1), QPoint(17, 16)));
}

}  // namespace
}  // namespace dorvanel::skinctrls
