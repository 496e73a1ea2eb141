// The popup menu: keys step over what cannot be chosen, a choice runs once and only after the menu closed,
// what closes it without running anything, accelerators, a size that follows the captions, and its look with
// the program's skin, without a skin and with a hostile one.
#include "skinctrls/program_skin.h"
#include "skinctrls/skin_popup_menu.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace dorvanel::skinctrls {
namespace {

using test::ProgramSkin;

const std::vector<QString> kSystemMenu = {
    QStringLiteral("Mi&nimize"), QStringLiteral("Ma&ximize"), {}, QStringLiteral("&Close")};

// A menu built from a pattern, one character an item: 'e' enabled, 'd' disabled, '-' a separator. Each
// handler records its index and whether the menu was still open.
struct TMenu {
    QWidget Owner;
    TSkinPopupMenu* Menu = new TSkinPopupMenu(&Owner);
    std::vector<int> Runs;
    bool RanWhileOpen = false;
    int Closes = 0;

    explicit TMenu(const std::string& pattern, skin::TSkinData* data = nullptr, std::vector<QString> captions = {}) {
        Menu->SetSkinData(data);
        QObject::connect(Menu, &TSkinPopupMenu::Closed, [this] { ++Closes; });
        captions.resize(pattern.size(), QStringLiteral("Item"));
        for (std::size_t i = 0; i < pattern.size(); ++i)
            Menu->Add({captions[i], pattern[i] == 'e', pattern[i] == '-', [this, i] {
                           Runs.push_back(int(i));
                           RanWhileOpen = RanWhileOpen || Menu->isVisible();
                       }});
    }
    void Open() { Menu->Popup(QPoint(100, 100)); }
    // On a real display the pointer's move arrives later: wait until it did.
    void Hover(int index, int expectedHot) {
        QTest::mouseMove(Menu, Menu->ItemRect(index).center());
        EXPECT_TRUE(QTest::qWaitFor([&] { return Menu->HotItem() == expectedHot; }));
    }
    void Keys(const std::string& keys) {
        for (char k : keys) QTest::keyClick(Menu, k == 'D' ? Qt::Key_Down : Qt::Key_Up);
    }
};

TEST(SkinPopupMenu, UpAndDownStepOverDisabledItemsAndSeparatorsAndWrap) {
    const std::tuple<std::string, std::string, int> cases[] = {
        {"ed-e", "D", 0}, {"ed-e", "DD", 3}, {"ed-e", "DDD", 0}, {"ed-e", "U", 3},  {"ed-e", "UU", 0},
        {"de-d", "D", 1}, {"de-d", "DD", 1}, {"de-d", "U", 1},   {"d-d", "DU", -1}, {"", "D", -1},
    };
    for (const auto& [pattern, keys, hot] : cases) {
        TMenu m(pattern);
        m.Open();
        m.Keys(keys);
        EXPECT_EQ(m.Menu->HotItem(), hot) << pattern << " " << keys;
    }
}

TEST(SkinPopupMenu, AChoiceRunsExactlyItsItemOnceAfterTheMenuClosedAndNothingElseRunsAnything) {
    using TAction = std::function<void(TMenu&)>;
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers mods = {}) {
        return TAction([=](TMenu& m) { QTest::keyClick(m.Menu, k, mods); });
    };
    const auto release = [](int index) {
        return TAction([=](TMenu& m) {
            const int hot = index == 0 || index == 3 ? index : -1;  // only enabled items are hot
            m.Hover(index, hot);
            EXPECT_EQ(m.Menu->HotItem(), hot);
            QTest::mouseClick(m.Menu, Qt::LeftButton, {}, m.Menu->ItemRect(index).center());
        });
    };
    const std::tuple<const char*, TAction, std::vector<int>, bool> cases[] = {
        {"Return", key(Qt::Key_Return), {3}, true},
        {"Enter", key(Qt::Key_Enter), {3}, true},
        {"Space", key(Qt::Key_Space), {3}, true},
        {"release on 0", release(0), {0}, true},
        {"release on 3", release(3), {3}, true},
        {"release on disabled", release(1), {}, false},
        {"release on separator", release(2), {}, false},
        {"Alt+C", key(Qt::Key_C, Qt::AltModifier), {3}, true},
        {"N", key(Qt::Key_N), {0}, true},
        {"X of a disabled item", key(Qt::Key_X), {}, false},
        {"Escape", key(Qt::Key_Escape), {}, true},
        {"click outside", [](TMenu& m) { QTest::mouseClick(m.Menu, Qt::LeftButton, {}, QPoint(-20, -20)); }, {}, true},
    };
    for (const auto& [name, action, runs, closes] : cases) {
        TMenu m("ed-e", nullptr, kSystemMenu);
        m.Open();
        m.Keys("U");  // the last item hot
        action(m);
        EXPECT_TRUE(m.Runs.empty()) << name << ": queued, not run inside the event";
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(m.Runs, runs) << name;
        EXPECT_EQ(m.Menu->isVisible(), !closes) << name;
        EXPECT_EQ(m.Closes, closes ? 1 : 0) << name;
        EXPECT_FALSE(m.RanWhileOpen) << name;
    }
}

TEST(SkinPopupMenu, ANewPopupStartsWithNothingHotAndAnAcceleratorSharedMovesAmongItsItems) {
    TMenu m("ee", nullptr, {QStringLiteral("&Copy"), QStringLiteral("&Cut")});
    m.Open();
    m.Keys("D");
    m.Open();
    EXPECT_EQ(m.Menu->HotItem(), -1);
    for (int hot : {0, 1, 0}) {
        QTest::keyClick(m.Menu, Qt::Key_C);
        EXPECT_EQ(m.Menu->HotItem(), hot);
    }
    EXPECT_TRUE(m.Runs.empty());
}

TEST(SkinPopupMenu, TheSizeFollowsTheCaptionsAndTheSkinsItemAndBorderSizes) {
    auto data = ProgramSkin();
    const auto* item = dynamic_cast<const skin::TDataSkinMenuItem*>(data->Object(data->IndexOfObject("menuitem")));
    const QImage* window = data->Picture(data->PopupWindow().windowpictureindex);
    ASSERT_TRUE(item && window);
    const skin::TRect inner = data->PopupWindow().itemsrect;
    TMenu m("ed-e", data.get(), kSystemMenu);
    EXPECT_EQ(m.Menu->ItemRect(0).topLeft(), QPoint(inner.Left, inner.Top));
    EXPECT_EQ(m.Menu->height(),
              window->height() - inner.Height() + 3 * item->skinrect.Height() + item->dividerrect.Height());
    const int narrow = m.Menu->width();
    const QString longer = QStringLiteral("A much longer caption than the others");
    m.Menu->Add({longer, true, false, {}});
    const QFontMetrics metrics(item->Font());
    EXPECT_EQ(m.Menu->width() - narrow, metrics.horizontalAdvance(longer) - metrics.horizontalAdvance("Maximize"));
}

TEST(SkinPopupMenu, WithTheProgramsSkinTheHotItemIsDrawnFromItsActiveImage) {
    auto data = ProgramSkin();
    const auto* item = dynamic_cast<const skin::TDataSkinMenuItem*>(data->Object(data->IndexOfObject("menuitem")));
    const QImage* picture = data->Picture(item->activepictureindex);
    ASSERT_NE(picture, nullptr);
    TMenu m("ed-e", data.get(), kSystemMenu);
    m.Open();
    // A point in the item's fixed left part, left of its text rectangle: no text, no tiling.
    const QPoint inItem(item->itemleftoffset + 8, item->skinrect.Height() / 2);
    const QPoint at = m.Menu->ItemRect(0).topLeft() + inItem;
    const QRgb normal = picture->pixel(item->skinrect.Left + 8, item->skinrect.Top + inItem.y());
    const QRgb active = picture->pixel(item->activeskinrect.Left + 8, item->activeskinrect.Top + inItem.y());
    ASSERT_NE(normal, active);
    EXPECT_EQ(m.Menu->RenderImage().pixel(at), normal);
    m.Hover(0, 0);
    EXPECT_EQ(m.Menu->RenderImage().pixel(at), active);
    EXPECT_EQ(m.Menu->RenderImage().pixel(1, 10), data->Picture(data->PopupWindow().windowpictureindex)->pixel(1, 10));
    EXPECT_FALSE(m.Menu->mask().contains(QPoint(0, 0))) << "the rounded corner is cut away";
}

TEST(SkinPopupMenu, WithoutASkinThePlainMenuAndAfterTheSkinIsUnloadedToo) {
    auto data = ProgramSkin();
    TMenu m("ed-e", data.get(), kSystemMenu);
    m.Open();
    const QSize skinned = m.Menu->size();
    data->UnloadSkin();
    EXPECT_NE(m.Menu->size(), skinned);
    m.Hover(0, 0);
    const QImage image = m.Menu->RenderImage();
    EXPECT_EQ(image.pixel(0, 0), clBtnShadow().rgb());
    EXPECT_EQ(image.pixel(m.Menu->ItemRect(0).topLeft() + QPoint(2, 2)),
              QGuiApplication::palette().color(QPalette::Highlight).rgb());
    EXPECT_EQ(image.pixel(m.Menu->ItemRect(1).topLeft() + QPoint(2, 2)), clWindow().rgb());
    const QPoint divider = m.Menu->ItemRect(2).center();
    EXPECT_EQ(image.pixel(divider), clBtnShadow().rgb());
    EXPECT_EQ(image.pixel(divider + QPoint(0, 1)), clBtnHighlight().rgb());
}

TEST(SkinPopupMenu, TheCheckedItemShowsARadioMarkLeftOfItsCaption) {
    const auto skin = ProgramSkin();
    for (skin::TSkinData* data : {skin.get(), static_cast<skin::TSkinData*>(nullptr)}) {
        TMenu m("eee", data);
        m.Menu->CheckOnly(1);
        const QImage image = m.Menu->RenderImage();
        // The mark sits in the room left of the caption, where an unmarked item shows only its background.
        const auto markColumn = [&](int item) {
            const QRect r = m.Menu->ItemRect(item);
            int inked = 0;
            for (int x = r.left(); x < r.left() + 14; ++x)
                inked += image.pixelColor(x, r.center().y()).lightness() < 128;
            return inked;
        };
        EXPECT_GT(markColumn(1), 0);
        EXPECT_EQ(markColumn(0), 0);
        EXPECT_EQ(m.Menu->CheckedItem(), 1);
    }
}

TEST(SkinPopupMenu, APopupNearTheScreensCornerStaysOnTheScreen) {
    TMenu m("ee");
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    m.Menu->Popup(area.bottomRight() - QPoint(3, 3));
    EXPECT_TRUE(area.contains(m.Menu->geometry()));
}

TEST(SkinPopupMenu, AHostileSkinIsDrawnWithinThePaintLimits) {
    // Rectangles past the picture, offsets past any coordinate, a text rectangle turned inside out.
    skin::test::ArchiveBuilder b;
    b.List = {skin::test::SolidPicture(16, 16, Qt::darkGreen)};
    b.Text =
        "[VERSION]\r\nskinname=Hostile\r\n[PICTURES]\r\nactivepicturescount=1\r\n0=a.bmp\r\n[FORMINFO]\r\n"
        "[POPUPWINDOW]\r\nwindowpictureindex=0\r\nmaskpictureindex=0\r\nlefttoppoint=3,3\r\nrighttoppoint=99999,3\r\n"
        "leftbottompoint=3,99999\r\nrightbottompoint=99999,99999\r\nitemsrect=2,2,99999,99999\r\n"
        "[SKINOBJECTS]\r\ncount=1\r\n0=menuitem:menuitem\r\n[SKINCONTROLS]\r\ncount=0\r\n"
        "[menuitem]\r\nactivepictureindex=0\r\nskinrect=0,0,99999,99999\r\nactiveskinrect=9,9,1,1\r\n"
        "dividerrect=0,0,2,99999\r\ntextrect=900,0,3,2\r\nitemleftoffset=2000000000\r\n"
        "itemrightoffset=2000000000\r\ndividerleftoffset=2000000000\r\nfontheight=2000000\r\n";
    skin::TSkinData data;
    test::ApplyArchive(data, b);
    ASSERT_FALSE(data.SkinEmpty());
    TMenu m("ed-e", &data);
    EXPECT_LE(m.Menu->width(), skin::kMaxPaintSide);
    EXPECT_EQ(m.Menu->height(), 2 + 4 * 16) << "the border above the items, items as high as the picture";
    m.Menu->Popup(QPoint(0, 0));
    m.Keys("D");
    EXPECT_FALSE(m.Menu->RenderImage().isNull());
}

}  // namespace
}  // namespace dorvanel::skinctrls
