// The popup menu: keys step over what cannot be chosen, a choice runs once and only after the menu closed,
// what closes it without running anything, accelerators, a size that follows the captions, and its look with
// the program's skin, without a skin and with a hostile one.
#include "skinctrls/skin_popup_menu.h"

#include "skin/archive_builder.h"
#include "defaultskin/default_skin.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <memory>
#include <string>

namespace dorvanel::skinctrls {
namespace {

std::unique_ptr<skin::TSkinData> ProgramSkin() {
    auto data = std::make_unique<skin::TSkinData>();
    skin::TCompressedStoredSkin stored;
    stored.CompressedData = defaultskin::DefaultSkinData();
    data->ApplyStoredSkin(stored);
    return data;
}

// A menu of the owner built from a pattern, one character an item: 'e' enabled, 'd' disabled, '-' a
// separator. Each item's handler records its index and whether the menu was still open.
// The system menu of a main window, with maximise disabled.
const std::vector<QString> kSystemMenu = {QStringLiteral("Mi&nimize"), QStringLiteral("Ma&ximize"), {},
                                          QStringLiteral("&Close")};

struct TMenu {
    QWidget Owner;
    TSkinPopupMenu* Menu = new TSkinPopupMenu(&Owner);
    std::vector<int> Runs;
    bool RanWhileOpen = false;

    explicit TMenu(const std::string& pattern, skin::TSkinData* data = nullptr, std::vector<QString> captions = {}) {
        Menu->SetSkinData(data);
        for (char c : pattern) {
            const int index = int(Menu->Items().size());
            const QString caption = std::size_t(index) < captions.size() ? captions[std::size_t(index)]
                                                                          : QStringLiteral("Item %1").arg(index);
            Menu->Add({caption, c == 'e', c == '-', [this, index] {
                           Runs.push_back(index);
                           RanWhileOpen = RanWhileOpen || Menu->isVisible();
                       }});
        }
    }
    void Open() { Menu->Popup(QPoint(100, 100)); }
    void Keys(const std::string& keys) {
        for (char k : keys) QTest::keyClick(Menu, k == 'D' ? Qt::Key_Down : Qt::Key_Up);
    }
    void Settle() { QCoreApplication::sendPostedEvents(); }
};

TEST(SkinPopupMenu, UpAndDownStepOverDisabledItemsAndSeparatorsAndWrap) {
    struct Case {
        std::string Pattern, Keys;
        int Hot;
    };
    const Case cases[] = {
        {"ed-e", "D", 0},  {"ed-e", "DD", 3}, {"ed-e", "DDD", 0}, {"ed-e", "U", 3}, {"ed-e", "UU", 0},
        {"de-d", "D", 1},  {"de-d", "DD", 1}, {"de-d", "U", 1},   {"d-d", "DU", -1}, {"", "D", -1},
    };
    for (const Case& c : cases) {
        TMenu m(c.Pattern);
        m.Open();
        m.Keys(c.Keys);
        EXPECT_EQ(m.Menu->HotItem(), c.Hot) << c.Pattern << " " << c.Keys;
    }
}

TEST(SkinPopupMenu, EnterReturnAndSpaceRunTheHotItemOnceAfterTheMenuClosed) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        TMenu m("ee");
        m.Open();
        m.Keys("DD");
        QTest::keyClick(m.Menu, key);
        EXPECT_FALSE(m.Menu->isVisible());
        EXPECT_TRUE(m.Runs.empty()) << "queued, not run inside the key press";
        m.Settle();
        EXPECT_EQ(m.Runs, std::vector<int>{1});
        EXPECT_FALSE(m.RanWhileOpen);
    }
}

TEST(SkinPopupMenu, ReleaseOnAnEnabledItemRunsExactlyItAndOnAnythingElseNothing) {
    const std::pair<int, std::vector<int>> cases[] = {{0, {0}}, {3, {3}}, {1, {}}, {2, {}}};
    for (const auto& [index, runs] : cases) {
        TMenu m("ed-e");
        m.Open();
        const QPoint at = m.Menu->ItemRect(index).center();
        ASSERT_EQ(m.Menu->ItemAt(at), index);
        QTest::mouseMove(m.Menu, at);
        EXPECT_EQ(m.Menu->HotItem(), runs.empty() ? -1 : index) << "disabled items and separators are never hot";
        QTest::mouseClick(m.Menu, Qt::LeftButton, {}, at);
        m.Settle();
        EXPECT_EQ(m.Runs, runs) << index;
        EXPECT_EQ(m.Menu->isVisible(), runs.empty());
        EXPECT_FALSE(m.RanWhileOpen);
    }
}

TEST(SkinPopupMenu, EscapeAndAClickOutsideCloseWithoutRunning) {
    TMenu m("ee");
    m.Open();
    m.Keys("D");
    QTest::keyClick(m.Menu, Qt::Key_Escape);
    EXPECT_FALSE(m.Menu->isVisible());
    m.Open();
    EXPECT_EQ(m.Menu->HotItem(), -1) << "a new popup starts with nothing hot";
    m.Keys("D");
    QTest::mouseClick(m.Menu, Qt::LeftButton, {}, QPoint(-20, -20));
    EXPECT_FALSE(m.Menu->isVisible());
    m.Settle();
    EXPECT_TRUE(m.Runs.empty());
}

TEST(SkinPopupMenu, AnAcceleratorRunsAnEnabledItemAndMovesAmongItemsThatShareIt) {
    TMenu m("ed-e", nullptr, kSystemMenu);
    m.Open();
    QTest::keyClick(m.Menu, Qt::Key_X);  // Ma&ximize is disabled
    EXPECT_TRUE(m.Menu->isVisible());
    QTest::keyClick(m.Menu, Qt::Key_C, Qt::AltModifier);
    m.Settle();
    EXPECT_EQ(m.Runs, std::vector<int>{3});

    TMenu shared("ee");
    shared.Menu->Clear();
    shared.Menu->Add({QStringLiteral("&Copy"), true, false, {}});
    shared.Menu->Add({QStringLiteral("&Cut"), true, false, {}});
    shared.Open();
    QTest::keyClick(shared.Menu, Qt::Key_C);
    EXPECT_EQ(shared.Menu->HotItem(), 0);
    QTest::keyClick(shared.Menu, Qt::Key_C);
    EXPECT_EQ(shared.Menu->HotItem(), 1);
    EXPECT_TRUE(shared.Menu->isVisible());
}

TEST(SkinPopupMenu, TheSizeFollowsTheCaptionsAndTheSkinsItemAndBorderHeights) {
    auto data = ProgramSkin();
    const auto* item = dynamic_cast<const skin::TDataSkinMenuItem*>(data->Object(data->IndexOfObject("menuitem")));
    ASSERT_NE(item, nullptr);
    const skin::TRect inner = data->PopupWindow().itemsrect;
    const QImage* window = data->Picture(data->PopupWindow().windowpictureindex);
    ASSERT_NE(window, nullptr);
    TMenu m("ed-e", data.get(), kSystemMenu);
    const int border = inner.Top + window->height() - inner.Bottom;
    EXPECT_EQ(m.Menu->height(), border + 3 * item->skinrect.Height() + item->dividerrect.Height());
    EXPECT_EQ(m.Menu->ItemRect(0).topLeft(), QPoint(inner.Left, inner.Top));
    EXPECT_EQ(m.Menu->ItemRect(3).bottom() + 1, m.Menu->height() - (window->height() - inner.Bottom));
    const int narrow = m.Menu->width();
    m.Menu->Add({QStringLiteral("A much longer caption than the others"), true, false, {}});
    const QFontMetrics metrics(item->Font());
    EXPECT_EQ(m.Menu->width() - narrow, metrics.horizontalAdvance(QStringLiteral("A much longer caption than the others")) -
                                            metrics.horizontalAdvance(QStringLiteral("Maximize")));
}

TEST(SkinPopupMenu, WithTheProgramsSkinTheHotItemIsDrawnFromItsActiveImage) {
    auto data = ProgramSkin();
    const auto* item = dynamic_cast<const skin::TDataSkinMenuItem*>(data->Object(data->IndexOfObject("menuitem")));
    const QImage* picture = data->Picture(item->activepictureindex);
    ASSERT_NE(picture, nullptr);
    TMenu m("ed-e", data.get(), kSystemMenu);
    m.Open();
    // A point in the item's fixed left part, below the text rectangle's left edge: no text, no tiling.
    const QPoint inItem(item->itemleftoffset + 8, item->skinrect.Height() / 2);
    const QPoint at = m.Menu->ItemRect(0).topLeft() + inItem;
    const QRgb normal = picture->pixel(item->skinrect.Left + 8, item->skinrect.Top + inItem.y());
    const QRgb active = picture->pixel(item->activeskinrect.Left + 8, item->activeskinrect.Top + inItem.y());
    ASSERT_NE(normal, active);
    EXPECT_EQ(m.Menu->RenderImage().pixel(at), normal);
    QTest::mouseMove(m.Menu, m.Menu->ItemRect(0).center());
    ASSERT_EQ(m.Menu->HotItem(), 0);
    EXPECT_EQ(m.Menu->RenderImage().pixel(at), active);
    // The window's corner comes from the popup picture.
    EXPECT_EQ(m.Menu->RenderImage().pixel(0, 0), data->Picture(data->PopupWindow().windowpictureindex)->pixel(0, 0));
}

TEST(SkinPopupMenu, WithoutASkinThePlainMenuAndAfterTheSkinIsUnloadedToo) {
    auto data = ProgramSkin();
    TMenu m("ed-e", data.get(), kSystemMenu);
    m.Open();
    const QSize skinned = m.Menu->size();
    data->UnloadSkin();
    EXPECT_NE(m.Menu->size(), skinned);
    QTest::mouseMove(m.Menu, m.Menu->ItemRect(0).center());
    const QImage image = m.Menu->RenderImage();
    EXPECT_EQ(image.pixel(0, 0), clBtnShadow().rgb());
    EXPECT_EQ(image.pixel(m.Menu->ItemRect(0).topLeft() + QPoint(2, 2)),
              QGuiApplication::palette().color(QPalette::Highlight).rgb());
    EXPECT_EQ(image.pixel(m.Menu->ItemRect(1).topLeft() + QPoint(2, 2)), clWindow().rgb());
    const QRect divider = m.Menu->ItemRect(2);
    const int y = divider.top() + divider.height() / 2 - 1;
    EXPECT_EQ(image.pixel(divider.center().x(), y), clBtnShadow().rgb());
    EXPECT_EQ(image.pixel(divider.center().x(), y + 1), clBtnHighlight().rgb());
}

TEST(SkinPopupMenu, APopupNearTheScreensCornerStaysOnTheScreen) {
    TMenu m("ee");
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    m.Menu->Popup(area.bottomRight() - QPoint(3, 3));
    EXPECT_TRUE(area.contains(m.Menu->geometry())) << m.Menu->geometry().x() << "," << m.Menu->geometry().y();
}

TEST(SkinPopupMenu, AHostileSkinIsDrawnWithinThePaintLimits) {
    // Rectangles past the pictures, offsets past any coordinate, a text rectangle turned inside out.
    skin::test::ArchiveBuilder b;
    b.List = {skin::test::SolidPicture(16, 16, Qt::darkGreen)};
    b.Text =
        "[VERSION]\r\nskinname=Hostile\r\n[PICTURES]\r\nactivepicturescount=1\r\n0=a.bmp\r\n[FORMINFO]\r\n"
        "[POPUPWINDOW]\r\nwindowpictureindex=0\r\nmaskpictureindex=0\r\nlefttoppoint=3,3\r\n"
        "righttoppoint=99999,3\r\nleftbottompoint=3,99999\r\nrightbottompoint=99999,99999\r\n"
        "itemsrect=2,2,99999,99999\r\n"
        "[SKINOBJECTS]\r\ncount=1\r\n0=menuitem:menuitem\r\n[SKINCONTROLS]\r\ncount=0\r\n"
        "[menuitem]\r\nactivepictureindex=0\r\nskinrect=0,0,99999,99999\r\nactiveskinrect=9,9,1,1\r\n"
        "dividerrect=0,0,2,99999\r\ntextrect=900,0,3,2\r\nitemleftoffset=2000000000\r\n"
        "itemrightoffset=2000000000\r\ndividerleftoffset=2000000000\r\nfontheight=2000000\r\n";
    skin::TSkinData data;
    skin::TCompressedStoredSkin stored;
    skin::test::Store(stored, b.Inner());
    data.ApplyStoredSkin(stored);
    ASSERT_FALSE(data.SkinEmpty());
    TMenu m("ed-e", &data);
    EXPECT_LE(m.Menu->width(), skin::kMaxPaintSide);
    EXPECT_LE(m.Menu->height(), skin::kMaxPaintSide);
    m.Menu->Popup(QPoint(0, 0));
    m.Keys("D");
    const QImage image = m.Menu->RenderImage();
    EXPECT_EQ(image.isNull(), !skin::PaintSizeAllowed(m.Menu->size()));
}

}  // namespace
}  // namespace dorvanel::skinctrls
