#include "app/main_window.h"

#include "app/click_filter.h"
#include "app/outbound_links.h"
#include "common/exception.h"
#include "common/failure_report.h"
#include "platform/align.h"
#include "platform/browser.h"
#include "skin/skin_errors.h"
#include "workbench/csv_export.h"
#include "workbench/entry_dialogs.h"
#include "workbench/keyword_table.h"
#include "workbench/table_operations.h"

#include <functional>
#include <string>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QShowEvent>
#include <QTimer>

#include <memory>
#include <utility>

namespace dorvanel::app {

using namespace skinctrls;

namespace {

const QString kGatherData = QStringLiteral("Gather Data");
const QString kStop = QStringLiteral("Stop");

// Every command runs inside one guard: a failure it did not handle ends it and is shown through msgMain,
// and nothing unwinds through the toolkit's event functions.
std::function<void()> Command(std::function<void()> handler) {
    return [handler = std::move(handler)] { common::RunGuarded(handler); };
}

}  // namespace

TfrmMain::TfrmMain(QWidget* parent, const QString& programFolder)
    : QWidget(parent), FControls(this), FLink(this, FControls), FFetcher(FLink), FKeywordHarvest(FLink, FFetcher),
      FResultCountHarvest(FLink, FFetcher) {
    setObjectName(QStringLiteral("frmMain"));
    FProgramFolder = programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder;
    setWindowTitle(QStringLiteral("Dorvanel"));
    common::SetFailureReport(
        [this](const std::string& message) { ShowMessage(QString::fromLocal8Bit(message.c_str())); });
    FFetcher.ScratchFileName = harvest::DefaultScratchFileName(FProgramFolder);
    ConnectHandlers();
    // A skin whose frame is refused is reported once, over the window, once the message loop runs.
    FControls.SkinFrame1->OnSkinRefused = [this, reported = false]() mutable {
        if (std::exchange(reported, true)) return;
        QTimer::singleShot(0, this, [] { common::ReportFailure(skin::EDamagedSkinFrame().what()); });
    };
    // The program's own skin is applied once every control exists; the frame passes every skin change on to
    // the controls. The client area keeps its design size in the skin's frame.
    FControls.SkinData1->SetCompressedStoredSkin(FControls.CompressedStoredSkin1);
    FControls.SkinFrame1->SetClientSize(644, 455);
    FSavedTable = std::hash<std::string>()(workbench::BuildCsv(Items()));
    FormCreate();
}

TfrmMain::~TfrmMain() { common::SetFailureReport(nullptr); }

void TfrmMain::ConnectHandlers() {
    TMainControls& c = FControls;
    c.btnMainKeyword->OnClick = Command([this] { btnMainKeywordClick(); });
    c.btnGatherKeyword->OnClick = Command([this] { btnGatherKeywordClick(); });
    c.btnAddKeyword->OnClick = Command([this] { btnAddKeywordClick(); });
    c.btnGatherData->OnClick = Command([this] { btnGatherDataClick(); });
    c.btnSaveResults->OnClick = Command([this] { btnSaveResultsClick(); });
    c.btnMakeMoney->OnClick = Command([this] { btnMakeMoneyClick(); });
    c.gifBanner->OnClick = Command([this] { gifBannerClick(); });
    WhenClicked(c.imgBanner, Command([this] { imgBannerClick(); }));
    RouteLinkLabelsToDefaultHandler();
    c.SkinButton1->OnClick = Command([this] { SkinButton1Click(); });
    c.SkinButton2->OnClick = Command([this] { SkinButton2Click(); });
    c.SkinButton3->OnClick = Command([this] { SkinButton3Click(); });
    c.SkinButton4->OnClick = Command([this] { SkinButton4Click(); });
    c.lvwItems->OnColumnClick = [this](int column) {
        common::RunGuarded([this, column] { lvwItemsColumnClick(column); });
    };
    ConnectTableCommands();
}

// ---- creation, showing, resizing, closing ----

void TfrmMain::FormCreate() {
    // Both banner controls start on the same rectangle.
    FControls.gifBanner->setGeometry(FControls.imgBanner->geometry());
    FSortState.SortColumn = -1;
    FSortState.SortAscending = true;
    // Reported once the message loop runs, so that it shows over the window it belongs to.
    const auto reportLater = [this](const QString& message) {
        QTimer::singleShot(0, this, [message] { common::ReportFailure(message.toLocal8Bit().toStdString()); });
    };
    const QString servicesProblems = harvest::LoadServices(FFetcher, harvest::ServicesFileName(FProgramFolder));
    if (!servicesProblems.isEmpty()) reportLater(servicesProblems);
    TMainControls& c = FControls;
    TBrandingControls target({this, c.panBanner, c.imgBanner, c.gifBanner, c.lblLink1URL, c.lblLink2URL, c.SkinData1});
    TRandomPick random;
    ApplyBranding(FProgramFolder, target, FBranding, random, reportLater);
}

void TfrmMain::CentreBanner(QWidget* control) {
    // Each half is taken (truncating) before the subtraction, so a banner larger than the area is clipped
    // on both sides.
    const int left = FControls.panBanner->width() / 2 - control->width() / 2;
    const int top = FControls.panBanner->height() / 2 - control->height() / 2;
    control->move(left, top);
}

void TfrmMain::FormShow() {
    CentreBanner(FControls.imgBanner);
    CentreBanner(FControls.gifBanner);
}

void TfrmMain::FormResize() { FormShow(); }

void TfrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // Closing ends the program at once: a running transfer is broken off, and the command it ran in unwinds
    // without opening another dialog. A dialog already open is closed with it.
    FLink.Closing();
    FFetcher.Stop();
    // What the table holds is kept, with the rows a harvest had filled, unless it was saved as it stands.
    KeepUnsavedTable();
    event->accept();
}

// ---- keyword entry ----

void TfrmMain::SetMainKeyword(const QString& keyword) {
    FMainKeywordText = keyword;
    FControls.SkinStatusPanel1->SetCaption(QStringLiteral("Main Keyword: ") + keyword);
    FControls.MainStatusPanel->SetCaption(QString());
}

void TfrmMain::btnMainKeywordClick() {
    auto dialog = std::make_unique<workbench::TfrmMainKeyword>(FControls.SkinData1, FControls.msgMain, this);
    if (dialog->ShowModal() == mrOk) SetMainKeyword(dialog->edtMainKeyword->Text());
}

void TfrmMain::AddTypedKeyword(const QString& keyword) {
    workbench::AppendKeywordRow(Items(), keyword);
    FLink.RowsAdded();
}

void TfrmMain::ImportKeywordList(const QString& fileName) {
    workbench::ImportKeywordList(Items(), fileName,
                                 [this](const QString& text) { FControls.SecondStatusPanel->SetCaption(text); });
}

void TfrmMain::btnAddKeywordClick() {
    auto dialog = std::make_unique<workbench::TfrmAddKeywords>(FControls.SkinData1, FControls.msgMain, this);
    if (dialog->ShowModal() != mrOk) return;
    const QString keyword = dialog->edtAddKeyword->Text();
    const QString list = dialog->edtList->Text();
    dialog.reset();
    if (!keyword.isEmpty()) AddTypedKeyword(keyword);
    else ImportKeywordList(list);
}

// ---- network commands ----

void TfrmMain::btnGatherKeywordClick() { FKeywordHarvest.Run(FMainKeywordText); }

void TfrmMain::btnGatherDataClick() { GatherData(false); }

void TfrmMain::GatherData(bool withoutCountsOnly) {
    if (Items().Count() == 0) {
        ShowMessage(QStringLiteral("You need add keywords to gather data from search engines."));
        return;
    }
    TSkinButton* button = FControls.btnGatherData;
    if (button->Caption() != kGatherData) {
        // Stop: the running harvest sees the flag after its current fetch.
        FFetcher.Stop();
        button->SetCaption(kGatherData);
        FColumnClickEnabled = true;
        QCoreApplication::processEvents();
        return;
    }
    if (FFetcher.TransferRunning()) return;
    int result;
    int searchType;
    {
        auto dialog = std::make_unique<workbench::TfrmSelSearch>(FControls.SkinData1, FControls.msgMain, this);
        result = dialog->ShowModal();
        searchType = dialog->SearchType();
    }
    if (result != mrOk || FLink.IsClosing()) return;
    // The rows are chosen once the search type is: a row that has any count is left untouched.
    std::vector<skinctrls::TListItemHandle> rows;
    if (withoutCountsOnly) {
        rows = workbench::RowsWithoutCounts(Items());
        if (rows.empty()) {
            ShowMessage(QStringLiteral("Every row has its counts."));
            return;
        }
    }
    FSearchType = searchType;
    FColumnClickEnabled = false;
    FFetcher.Begin();
    button->SetCaption(kStop);
    // However the harvest ends (also by a failure that leaves it), the button and column clicks come back.
    struct Restore {
        TfrmMain* w;
        ~Restore() {
            w->FControls.btnGatherData->SetCaption(kGatherData);
            QCoreApplication::processEvents();
            w->FColumnClickEnabled = true;
        }
    } restore{this};
    harvest::TPageFetcher::TTransferScope running(FFetcher);
    FResultCountHarvest.HarvestResultCounts(FSearchType, withoutCountsOnly ? &rows : nullptr);
}

// ---- table operations ----

void TfrmMain::SkinButton1Click() { workbench::SelectAll(Items()); }

void TfrmMain::SkinButton2Click() { workbench::ClearSelection(Items()); }

void TfrmMain::SkinButton3Click() {
    if (ShowMessage(QStringLiteral("Are you sure do you want to delete the selected keywords?"), true) == mrOk)
        workbench::DeleteSelected(Items());
    FLink.RowsAdded();
}

void TfrmMain::SkinButton4Click() {
    if (ShowMessage(QStringLiteral("Are you sure do you want to delete all?"), true) == mrOk)
        workbench::DeleteAll(Items());
    FLink.RowsAdded();
}

void TfrmMain::lvwItemsColumnClick(int column) {
    if (!FColumnClickEnabled) return;
    FSortState.ColumnClicked(column);
    workbench::SortKeywordTable(Items(), column, FSortState.SortAscending);
}

// ---- export ----

void TfrmMain::btnSaveResultsClick() {
    if (workbench::SaveKeywordTable(Items(), *FControls.SkinSaveDialog1,
                                    [this](const QString& text) { ShowMessage(text); })) {
        FSavedTable = std::hash<std::string>()(workbench::BuildCsv(Items()));
    }
}

// ---- outbound links ----
void TfrmMain::btnMakeMoneyClick() {
    platform::OpenInBrowser(MakeMoneyURL(FFetcher.ServiceHosts.AffiliateHost, FBranding.FAffiliateID));
}

void TfrmMain::imgBannerClick() { OpenBannerTarget(FBranding.FBannerURL); }

void TfrmMain::gifBannerClick() { OpenBannerTarget(FBranding.FBannerURL); }

}  // namespace dorvanel::app
