#pragma once
// The main window: its controls (TMainControls), the handlers of its commands, and the window's own state.
// The network commands run in the harvest classes, which reach the window through THarvestWindow.
#include "app/branding.h"
#include "app/harvest_link.h"
#include "app/main_controls.h"
#include "skinctrls/skin_popup_menu.h"
#include "skindialogs/file_dialog.h"
#include "harvest/keyword_harvest.h"
#include "harvest/page_fetcher.h"
#include "harvest/result_count_harvest.h"
#include "workbench/sorting.h"

#include <QWidget>

#include <vector>

namespace dorvanel::app {

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    // The program's folder (where dbconfig.dat, dbservices.dat and the scratch file lie) is the one the program
    // file lies in unless another is given.
    explicit TfrmMain(QWidget* parent = nullptr, const QString& programFolder = QString());
    ~TfrmMain() override;

    // ---- handlers ----
    void FormCreate();
    void FormShow();
    void FormResize();
    void btnMainKeywordClick();
    void btnGatherKeywordClick();
    void btnAddKeywordClick();
    void btnGatherDataClick();
    void btnSaveResultsClick();
    void btnMakeMoneyClick();
    void imgBannerClick();
    void gifBannerClick();
    void SkinButton1Click();
    void SkinButton2Click();
    void SkinButton3Click();
    void SkinButton4Click();
    void lvwItemsColumnClick(int column);
    // The table's popup menu and shortcuts (table_commands.cpp).
    void lvwItemsContextPopup(const QPoint& globalPos);
    void CopyRowsClick();
    void RemoveDuplicatesClick();
    void GatherDataWithoutCountsClick();
    void OpenResultsClick();
    void RestoreLastTableClick();

    // ---- what tests and the program's other parts use ----
    skinctrls::TListItems& Items() { return FControls.lvwItems->Items(); }
    int ShowMessage(const QString& text, bool withCancel = false) { return FLink.ShowMessage(text, withCancel); }
    void SetMainKeyword(const QString& keyword);
    void AddTypedKeyword(const QString& keyword);
    void ImportKeywordList(const QString& fileName);
    // The page fetcher with the client, the service hosts, the scratch file and the abort flag.
    harvest::TPageFetcher& Fetcher() { return FFetcher; }
    // The window as the harvests see it.
    harvest::THarvestWindow& HarvestWindow() { return FLink; }
    const workbench::TSortState& SortState() const { return FSortState; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectHandlers();
    void ConnectTableCommands();
    void CentreBanner(QWidget* control);
    // Gather Data over every row, or over the rows without any count only.
    void GatherData(bool withoutCountsOnly);
    // The rows Copy takes: the selected ones, else the ticked ones, in table order.
    std::vector<int> RowsToCopy();
    // Keeps the table for Restore Last Table when it changed since it was last saved.
    void KeepUnsavedTable();

    TMainControls FControls;
    TMainHarvestLink FLink;
    harvest::TPageFetcher FFetcher;
    harvest::TKeywordHarvest FKeywordHarvest;
    harvest::TResultCountHarvest FResultCountHarvest;

    QString FMainKeywordText;
    int FSearchType = 0;
    QString FProgramFolder;
    TBrandingFields FBranding;
    workbench::TSortState FSortState;
    // Column clicks sort the table except while result counts are harvested.
    bool FColumnClickEnabled = true;
    // A fingerprint of the table as last saved (or as it started), to tell whether closing loses changes.
    size_t FSavedTable = 0;
    skinctrls::TSkinPopupMenu* FTableMenu = nullptr;
    skindialogs::TSkinOpenDialog* FOpenDialog = nullptr;
};

}  // namespace dorvanel::app
