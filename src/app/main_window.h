#pragma once
// The main window: its controls (TMainControls), the handlers of its commands, and the window's own state.
// The network commands run in the harvest classes, which reach the window through THarvestWindow.
#include "app/main_controls.h"
#include "harvest/harvest_window.h"
#include "harvest/keyword_harvest.h"
#include "harvest/page_fetcher.h"
#include "harvest/result_count_harvest.h"
#include "workbench/sorting.h"

#include <QWidget>

namespace dorvanel::app {

class TfrmMain : public QWidget, public harvest::THarvestWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
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

    // ---- what tests and the program's other parts use ----
    skinctrls::TListItems& Items() { return FControls.lvwItems->Items(); }
    // Shows a message through msgMain: information kind, help context 0; returns 1 (OK) or 2 (Cancel).
    int ShowMessage(const QString& text, bool withCancel = false) override;
    void SetMainKeyword(const QString& keyword);
    void AddTypedKeyword(const QString& keyword);
    void ImportKeywordList(const QString& fileName);
    // The page fetcher with the client, the service hosts, the scratch file and the abort flag.
    harvest::TPageFetcher& Fetcher() { return FFetcher; }
    const workbench::TSortState& SortState() const { return FSortState; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // ---- THarvestWindow ----
    skinctrls::TListItems& Rows() override { return Items(); }
    void RowsAdded() override;
    void ShowStatus(const QString& text) override;
    void SetGauge(int value, int maxValue) override;
    void SetGaugeValue(int value) override;
    int GaugeMax() const override;
    std::optional<harvest::TSecurityAnswer> AskSecurityImage(const std::string& page) override;

    void ConnectHandlers();
    void CentreBanner(QWidget* control);
    void SaveResultsAsCsv();

    TMainControls FControls;
    harvest::TPageFetcher FFetcher;
    harvest::TKeywordHarvest FKeywordHarvest;
    harvest::TResultCountHarvest FResultCountHarvest;

    QString FMainKeywordText;
    int FSearchType = 0;
    QString FAffiliateID;
    QString FBannerURL;
    QString FBannerPath;
    QString FLink1URL, FLink1Name;
    QString FLink2URL, FLink2Name;
    QString FIconPath;
    workbench::TSortState FSortState;
    // Column clicks sort the table except while result counts are harvested.
    bool FColumnClickEnabled = true;
    // Set once the window is closing: the transfer is broken off and no dialog opens any more.
    bool FClosing = false;
};

}  // namespace dorvanel::app
