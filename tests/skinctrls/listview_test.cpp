// The report list: columns from its items, its header, and the two skinned scroll bars kept in step with
// what the list shows.
#include "skinctrls/skin_listview.h"

#include <QApplication>
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

}  // namespace
}  // namespace dorvanel::skinctrls
