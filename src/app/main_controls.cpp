#include "app/main_controls.h"

#include "workbench/csv_export.h"

#include "defaultskin/default_skin.h"
#include "platform/align.h"
#include "workbench/keyword_table.h"

#include <iterator>

namespace dorvanel::app {

using namespace skinctrls;
using platform::TAlign;

namespace {

TSkinButton* CommandButton(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
                           int height) {
    auto* button = new TSkinButton(parent);
    button->setObjectName(name);
    button->SetCaption(caption);
    button->SetBounds(left, top, width, height);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

TSkinStatusPanel* StatusPanel(QWidget* parent, const QString& name, const QString& caption, int left, int width,
                              TAlign align) {
    auto* panel = new TSkinStatusPanel(parent);
    panel->setObjectName(name);
    panel->SetBorderStyle(TSkinBorderStyle::bvFrame);
    panel->SetCaption(caption);
    panel->SetBounds(left, 0, width, 17);
    panel->SetAlign(align);
    return panel;
}

}  // namespace

TMainControls::TMainControls(QWidget* window) {
    SkinFrame1 = new TSkinFrame(window, TFormBorderStyle::bsSizeable);
    SkinFrame1->SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
    SkinFrame1->ApplicationWindow = true;
    SkinData1 = new skin::TSkinData(window);
    SkinData1->setObjectName(QStringLiteral("SkinData1"));
    // The program's own skin, packed into the program at build time. The skin data starts applying it once
    // the controls draw from a skin; until then every window keeps its plain look.
    CompressedStoredSkin1 = new skin::TCompressedStoredSkin(window);
    CompressedStoredSkin1->setObjectName(QStringLiteral("CompressedStoredSkin1"));
    CompressedStoredSkin1->FileName = QStringLiteral("Modern.skn");
    CompressedStoredSkin1->CompressedFileName = QStringLiteral("Modern.skn");
    CompressedStoredSkin1->CompressedData = defaultskin::DefaultSkinData();
    msgMain = new skindialogs::TSkinMessage(window);
    msgMain->setObjectName(QStringLiteral("msgMain"));
    msgMain->SetSkinData(SkinData1);
    msgMain->SetCtrlSkinData(SkinData1);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(15);
    msgMain->DefaultFont = arial;
    msgMain->DefaultButtonFont = arial;
    SkinSaveDialog1 = new skindialogs::TSkinSaveDialog(window);
    SkinSaveDialog1->setObjectName(QStringLiteral("SkinSaveDialog1"));
    SkinSaveDialog1->Title = QStringLiteral("Save file");
    SkinSaveDialog1->Filter = workbench::ResultsFileFilter();
    SkinSaveDialog1->FilterIndex = 1;
    SkinSaveDialog1->SetSkinData(SkinData1);
    SkinSaveDialog1->SetCtrlSkinData(SkinData1);
    SkinSaveDialog1->SetMessages(msgMain);

    SkinFrame1->SetSkinData(SkinData1);
    SkinFrame1->SetMenusSkinData(SkinData1);
    SkinFrame1->SetClientSize(644, 455);
    QWidget* client = SkinFrame1->ClientArea();

    // Command bar.
    SkinPanel1 = new TSkinPanel(client);
    SkinPanel1->setObjectName(QStringLiteral("SkinPanel1"));
    SkinPanel1->SetBorderStyle(TSkinBorderStyle::bvNone);
    SkinPanel1->SetBounds(0, 0, 644, 33);
    SkinPanel1->SetAlign(TAlign::alTop);
    btnMainKeyword = CommandButton(SkinPanel1, "btnMainKeyword", "Main Keyword", 7, 7, 99, 20);
    btnGatherKeyword = CommandButton(SkinPanel1, "btnGatherKeyword", "Gather Keywords", 109, 7, 98, 20);
    btnAddKeyword = CommandButton(SkinPanel1, "btnAddKeyword", "Add Keywords", 210, 7, 99, 20);
    btnGatherData = CommandButton(SkinPanel1, "btnGatherData", "Gather Data", 312, 7, 98, 20);
    btnSaveResults = CommandButton(SkinPanel1, "btnSaveResults", "Save Results", 414, 7, 98, 20);
    btnMakeMoney = CommandButton(SkinPanel1, "btnMakeMoney", "Make Money", 516, 7, 98, 20);

    // Banner area.
    panBanner = new TSkinPanel(client);
    panBanner->setObjectName(QStringLiteral("panBanner"));
    panBanner->SetBorderStyle(TSkinBorderStyle::bvFrame);
    panBanner->SetBounds(0, 33, 644, 65);
    panBanner->SetAlign(TAlign::alTop);
    imgBanner = new QLabel(panBanner);
    imgBanner->setObjectName(QStringLiteral("imgBanner"));
    imgBanner->setGeometry(144, -8, 105, 105);
    gifBanner = new images::TGIFAnimator(panBanner);
    gifBanner->setObjectName(QStringLiteral("gifBanner"));
    gifBanner->setGeometry(280, 0, 98, 140);
    gifBanner->SetAnimate(true);

    // Table area: the list with its two skinned scroll bars.
    SkinPanel3 = new TSkinPanel(client);
    SkinPanel3->setObjectName(QStringLiteral("SkinPanel3"));
    SkinPanel3->SetBorderStyle(TSkinBorderStyle::bvNone);
    SkinPanel3->SetBounds(0, 98, 644, 286);
    SkinPanel3->SetAlign(TAlign::alClient);
    SkinScrollBar1 = new TSkinScrollBar(SkinPanel3);
    SkinScrollBar1->setObjectName(QStringLiteral("SkinScrollBar1"));
    SkinScrollBar1->SetKind(TScrollBarKind::sbVertical);
    SkinScrollBar1->SetSkinDataName(QStringLiteral("vscrollbar"));
    SkinScrollBar1->SetBounds(625, 0, 19, 267);
    SkinScrollBar1->SetAlign(TAlign::alRight);
    SkinScrollBar1->hide();
    SkinScrollBar2 = new TSkinScrollBar(SkinPanel3);
    SkinScrollBar2->setObjectName(QStringLiteral("SkinScrollBar2"));
    SkinScrollBar2->SetKind(TScrollBarKind::sbHorizontal);
    SkinScrollBar2->SetSkinDataName(QStringLiteral("hscrollbar"));
    SkinScrollBar2->SetBounds(0, 267, 644, 19);
    SkinScrollBar2->SetAlign(TAlign::alBottom);
    SkinScrollBar2->hide();
    lvwItems = new TSkinListView(SkinPanel3);
    lvwItems->setObjectName(QStringLiteral("lvwItems"));
    lvwItems->SetBounds(0, 0, 625, 267);
    lvwItems->SetAlign(TAlign::alClient);
    lvwItems->SetGridLines(true);
    workbench::SetupKeywordColumns(lvwItems->Items());
    lvwItems->SetHScrollBar(SkinScrollBar2);
    lvwItems->SetVScrollBar(SkinScrollBar1);
    lvwItems->header()->setObjectName(QStringLiteral("lvwItemsHeader"));

    // Footer: the table commands and the two links.
    SkinPanel4 = new TSkinPanel(client);
    SkinPanel4->setObjectName(QStringLiteral("SkinPanel4"));
    SkinPanel4->SetBorderStyle(TSkinBorderStyle::bvFrame);
    SkinPanel4->SetBounds(0, 384, 644, 54);
    SkinPanel4->SetAlign(TAlign::alBottom);
    SkinButton1 = CommandButton(SkinPanel4, "SkinButton1", "Select All", 9, 7, 100, 20);
    SkinButton2 = CommandButton(SkinPanel4, "SkinButton2", "Clear Selection", 112, 7, 100, 20);
    SkinButton3 = CommandButton(SkinPanel4, "SkinButton3", "Delete Selected", 215, 7, 100, 20);
    SkinButton4 = CommandButton(SkinPanel4, "SkinButton4", "Delete All", 319, 7, 99, 20);
    lblLink1URL = new TSkinLinkLabel(SkinPanel4);
    lblLink1URL->setObjectName(QStringLiteral("lblLink1URL"));
    lblLink1URL->SetCaption(QStringLiteral("Google"));
    lblLink1URL->SetURL(QString::fromLatin1(kDefaultLinkURL));
    lblLink1URL->SetBounds(13, 32, 34, 14);
    lblLink1URL->setCursor(Qt::PointingHandCursor);
    lblLink2URL = new TSkinLinkLabel(SkinPanel4);
    lblLink2URL->setObjectName(QStringLiteral("lblLink2URL"));
    lblLink2URL->SetAlignment(skin::TAlignment::taRightJustify);
    lblLink2URL->SetCaption(QStringLiteral("Google"));
    lblLink2URL->SetURL(QString::fromLatin1(kDefaultLinkURL));
    lblLink2URL->SetBounds(592, 32, 34, 14);
    lblLink2URL->SetAnchors(platform::akTop | platform::akRight);
    lblLink2URL->setCursor(Qt::PointingHandCursor);

    // Status bar: progress messages, main keyword, row count, gauge.
    SkinStatusBar1 = new TSkinStatusBar(client);
    SkinStatusBar1->setObjectName(QStringLiteral("SkinStatusBar1"));
    SkinStatusBar1->SetBounds(0, 438, 644, 17);
    SkinStatusBar1->SetAlign(TAlign::alBottom);
    MainStatusPanel = StatusPanel(SkinStatusBar1, "MainStatusPanel", QString(), 0, 272, TAlign::alClient);
    SkinStatusPanel1 = StatusPanel(SkinStatusBar1, "SkinStatusPanel1", "Main Keyword: ", 272, 160, TAlign::alRight);
    SecondStatusPanel = StatusPanel(SkinStatusBar1, "SecondStatusPanel", "0 item listed", 432, 82, TAlign::alRight);
    MainGauge = new TSkinGauge(SkinStatusBar1);
    MainGauge->setObjectName(QStringLiteral("MainGauge"));
    MainGauge->SetMinValue(0);
    MainGauge->SetMaxValue(100);
    MainGauge->SetValue(0);
    MainGauge->SetShowPercent(true);
    MainGauge->SetSkinDataName(QStringLiteral("statusgauge"));
    MainGauge->SetBounds(514, 0, 130, 17);
    MainGauge->SetAlign(TAlign::alRight);

    // The keyboard reaches every command: the table first (its rows, then its header, whose columns sort),
    // then the buttons in the order they stand, the command band's before the footer's.
    QWidget* order[] = {lvwItems,      lvwItems->header(), btnMainKeyword, btnGatherKeyword, btnAddKeyword, btnGatherData,
                        btnSaveResults, btnMakeMoney,      SkinButton1,    SkinButton2,      SkinButton3,   SkinButton4};
    for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);

    // Every skinned control draws from the main window's skin.
    SetSkinDataOfChildren(window, SkinData1);
    platform::AlignControls(client);
}

}  // namespace dorvanel::app
