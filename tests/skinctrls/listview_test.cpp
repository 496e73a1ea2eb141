// The report list: columns from its items, its header, and the two skinned scroll bars kept in step with
// what the list shows.
#include "skinctrls/skin_listview.h"

#include "skinctrls/program_skin.h"

#include <QApplication>
#include <QFocusEvent>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace dorvanel::skinctrls {
namespace {

// The main window's table area: the list aligned client, its vertical bar right, its horizontal bar bottom.
struct TableArea {
    QWidget area;
    TSkinListView* list = new TSkinListView(&area);
    TSkinScrollBar* vbar = new TSkinScrollBar(&area);
    TSkinScrollBar* hbar = new TSkinScrollBar(&area);

    TableArea() {
        area.resize(644, 286);
        list->SetBounds(0, 0, 625, 267);
        list->SetAlign(platform::TAlign::alClient);
        vbar->SetKind(TScrollBarKind::sbVertical);
        vbar->SetSkinDataName("vscrollbar");
        vbar->SetBounds(625, 0, 19, 267);
        vbar->SetAlign(platform::TAlign::alRight);
        hbar->SetBounds(0, 267, 644, 19);
        hbar->SetAlign(platform::TAlign::alBottom);
        list->SetGridLines(true);
        const std::pair<const char*, int> columns[] = {{"No", 49},      {"Keywords", 132}, {"Searches", 132},
                                                       {"Google", 104}, {"Yahoo", 104},    {"Msn", 104}};
        for (auto [caption, width] : columns) list->AddColumn(caption, width);
        list->SetVScrollBar(vbar);
        list->SetHScrollBar(hbar);
        area.show();
        Settle();
    }

    void AddRows(int n) {
        for (int i = 0; i < n; ++i) {
            const int number = list->Items().Count() + 1;
            list->Items().Add(QString::number(number), {"keyword " + QString::number(number), "", "", "", ""});
        }
        Settle();
    }

    static void Settle() {
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
    }
};

TEST(ListView, ColumnWidthsComeFromTheItems) {
    TableArea t;
    EXPECT_EQ(t.list->header()->sectionSize(0), 49);
    EXPECT_EQ(t.list->header()->sectionSize(1), 132);
    EXPECT_EQ(t.list->header()->sectionSize(5), 104);
    EXPECT_EQ(t.list->header()->length(), 625);
    t.list->Items().SetColumnWidth(2, 150);
    EXPECT_EQ(t.list->header()->sectionSize(2), 150);
    // Sizing a column by hand is kept in the items.
    t.list->header()->resizeSection(3, 80);
    EXPECT_EQ(t.list->Items().Column(3).Width, 80);
    EXPECT_FALSE(t.list->rootIsDecorated());
}

TEST(ListView, VerticalBarAppearsWhenRowsNoLongerFitAndGoesAgain) {
    TableArea t;
    EXPECT_TRUE(t.vbar->isHidden());
    EXPECT_TRUE(t.hbar->isHidden());
    EXPECT_EQ(t.list->geometry(), QRect(0, 0, 644, 286));

    t.AddRows(1);
    const int page = t.list->RowsPerPage();
    ASSERT_GT(page, 5);
    t.AddRows(page - 1);
    EXPECT_TRUE(t.vbar->isHidden());
    t.AddRows(1);
    EXPECT_FALSE(t.vbar->isHidden());
    // The list shrinks by the bar.
    EXPECT_EQ(t.list->geometry(), QRect(0, 0, 625, 286));
    EXPECT_EQ(t.vbar->geometry(), QRect(625, 0, 19, 286));
    EXPECT_EQ(t.vbar->Max(), page);
    EXPECT_EQ(t.vbar->PageSize(), page);
    EXPECT_EQ(t.vbar->LargeChange(), page);
    // 625 pixels of columns in a 625-pixel list: no horizontal bar.
    EXPECT_TRUE(t.hbar->isHidden());

    t.list->Items().Delete(0);
    t.list->Items().Delete(0);
    TableArea::Settle();
    EXPECT_TRUE(t.vbar->isHidden());
    EXPECT_EQ(t.list->geometry(), QRect(0, 0, 644, 286));
}

TEST(ListView, BarMovesTheListAndTheListMovesTheBar) {
    TableArea t;
    t.AddRows(100);
    ASSERT_FALSE(t.vbar->isHidden());
    t.vbar->SetPosition(5);
    EXPECT_EQ(t.list->TopRow(), 5);
    t.vbar->SetPosition(100);  // clamped to the last page
    EXPECT_EQ(t.vbar->Position(), 100 - t.list->RowsPerPage());
    EXPECT_EQ(t.list->TopRow(), t.vbar->Position());

    t.list->verticalScrollBar()->setValue(20);
    TableArea::Settle();
    EXPECT_EQ(t.vbar->Position(), 20);
}

TEST(ListView, HorizontalBarForWideColumnsLeavesTheCorner) {
    TableArea t;
    t.list->Items().SetColumnWidth(1, 400);
    TableArea::Settle();
    ASSERT_FALSE(t.hbar->isHidden());
    EXPECT_EQ(t.hbar->geometry(), QRect(0, 267, 644, 19));
    EXPECT_FALSE(t.hbar->Both());
    t.AddRows(100);
    EXPECT_FALSE(t.vbar->isHidden());
    EXPECT_TRUE(t.hbar->Both());
    EXPECT_EQ(t.list->geometry(), QRect(0, 0, 625, 267));
    t.hbar->SetPosition(30);
    EXPECT_EQ(t.list->horizontalScrollBar()->value(), 30);
}

TEST(ListView, TheFirstRowIsTheFocusRowOnceTheListHasTheFocus) {
    TableArea t;
    t.AddRows(3);
    EXPECT_FALSE(t.list->currentIndex().isValid());
    // Sent as the window system sends it: an offscreen window need not be the active one.
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(t.list, &in);
    EXPECT_EQ(t.list->currentIndex().row(), 0);
    EXPECT_FALSE(t.list->selectionModel()->hasSelection());
}

TEST(ListView, HiddenListHidesItsBars) {
    TableArea t;
    t.AddRows(100);
    ASSERT_FALSE(t.vbar->isHidden());
    t.list->hide();
    EXPECT_TRUE(t.vbar->isHidden());
}

TEST(ListHeader, TallerByFourPressedLookAndColumnClicks) {
    TableArea t;
    TSkinListHeader* header = t.list->Header();
    EXPECT_EQ(header->sizeHint().height(), header->QHeaderView::sizeHint().height() + 4);
    std::vector<int> clicked;
    t.list->OnColumnClick = [&](int column) { clicked.push_back(column); };

    const int y = header->height() / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(20, y));
    EXPECT_TRUE(header->HeaderPressed());
    EXPECT_EQ(header->ActiveSection(), 0);
    QImage image = header->grab().toImage();
    EXPECT_EQ(image.pixel(0, 0), QColor(0, 0, 128).rgb());
    EXPECT_EQ(image.pixel(3, 3), QColor(133, 147, 181).rgb());
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(20, y));
    EXPECT_FALSE(header->HeaderPressed());
    image = header->grab().toImage();
    EXPECT_EQ(image.pixel(0, 0), clBtnShadow().rgb());
    EXPECT_EQ(image.pixel(3, 3), clBtnFace().rgb());

    // On the divider between "No" and "Keywords": no pressed look.
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(49, y));
    EXPECT_FALSE(header->HeaderPressed());
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(49, y));

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(100, y));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(600, y));
    // The first press and release on "No" was a click too; the divider press was not.
    EXPECT_EQ(clicked, (std::vector<int>{0, 1, 5}));
    // The strip right of the last section.
    t.list->Items().SetColumnWidth(5, 50);
    image = header->grab().toImage();
    EXPECT_EQ(image.pixel(600, y), clBtnFace().rgb());
}

TEST(ListHeader, TheKeyboardMovesAlongTheColumnsAndSortsLikeAClick) {
    TableArea t;
    TSkinListHeader* header = t.list->Header();
    std::vector<int> clicked;
    t.list->OnColumnClick = [&](int column) { clicked.push_back(column); };
    EXPECT_EQ(header->focusPolicy(), Qt::TabFocus);
    header->setFocus(Qt::TabFocusReason);
    const Qt::Key keys[] = {Qt::Key_Right, Qt::Key_Right, Qt::Key_Space, Qt::Key_Left, Qt::Key_Return,
                            Qt::Key_End,   Qt::Key_Right, Qt::Key_Enter, Qt::Key_Home, Qt::Key_Left, Qt::Key_Space};
    for (Qt::Key key : keys) QTest::keyClick(header, key);
    EXPECT_EQ(clicked, (std::vector<int>{2, 1, 5, 0}));
    EXPECT_EQ(header->accessibleName(), "No");
}

}  // namespace
}  // namespace dorvanel::skinctrls

namespace dorvanel::skinctrls {
namespace {

// The table with the program's skin: its rows, grid lines and header strip as the user sees them.
struct SkinnedTable : TableArea {
    std::unique_ptr<skin::TSkinData> skin = test::ProgramSkin();
    SkinnedTable() {
        list->SetSkinData(skin.get());
        for (int i = 0; i < 3; ++i)
            list->Items().Add(QString::number(i + 1), {"gypsy query", "", "", "", ""}, i == 1);
        Settle();
    }
};

TEST(SkinnedListView, RowsHoldTheCheckPictureAndTheFontWithTwoPixelsToSpare) {
    SkinnedTable t;
    const auto* box = t.list->CheckBoxDescription();
    ASSERT_NE(box, nullptr);
    const int picture = box->checkimagerect.Height();
    const int text = QFontMetrics(t.list->font()).height() + 2;
    const QRect row = t.list->visualRect(t.list->Items().index(0, 1));
    EXPECT_EQ(row.height(), std::max(picture, text));
    // Every row alike, the empty list's page measured with the same height.
    EXPECT_EQ(t.list->visualRect(t.list->Items().index(2, 0)).height(), row.height());
    EXPECT_EQ(t.list->ItemHeight(), row.height());
}

TEST(SkinnedListView, GridLinesTakeTheListColoursAndTheHeaderStripHasNoDividers) {
    SkinnedTable t;
    const auto* look = dynamic_cast<const skin::TDataSkinListView*>(t.skin->Control(t.skin->IndexOfControl("listview")));
    ASSERT_NE(look, nullptr);
    const QColor bg = skin::SkinColor(look->bgcolor), fg = skin::SkinColor(look->fontcolor);
    const QColor grid = t.list->GridLineColor();
    // A quarter of the way from the background to the text.
    EXPECT_NEAR(grid.red(), bg.red() + (fg.red() - bg.red()) / 4.0, 1);
    EXPECT_NEAR(grid.blue(), bg.blue() + (fg.blue() - bg.blue()) / 4.0, 1);
    const QImage shot = t.list->viewport()->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(300, t.list->visualRect(t.list->Items().index(0, 1)).bottom())), grid);

    // Narrow columns leave a wide strip right of the last one: one face, no phantom columns.
    t.list->Items().SetColumnWidth(5, 20);
    TableArea::Settle();
    TSkinListHeader* header = t.list->Header();
    const QImage strip = header->viewport()->grab().toImage();
    const int y = strip.height() / 2, start = header->length() + 4;
    ASSERT_LT(start + 50, strip.width());
    for (int x = start; x < strip.width(); ++x) ASSERT_EQ(strip.pixel(x, y), strip.pixel(start, y)) << x;
    // Without a skin the grid is the platform's.
    t.list->SetSkinData(nullptr);
    EXPECT_EQ(t.list->GridLineColor(), clBtnFace());
}

}  // namespace
}  // namespace dorvanel::skinctrls
