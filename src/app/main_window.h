#pragma once
// The main window: command bar, banner area, keyword table with its two skinned scroll bars, footer with the
// table commands and links, and the status bar. It owns what every command shares: the table, the message
// component, the skin data and the window's state fields.
#include "harvest/service_hosts.h"
#include "http/http_client.h"
#include "http/idle_pump.h"
#include "images/gif_animator.h"
#include "skindialogs/file_dialog.h"
#include "skindialogs/skin_message.h"
#include "skin/compressed_stored_skin.h"
#include "skin/skin_data.h"
#include "skinctrls/skin_button.h"
#include "skinctrls/skin_labels.h"
#include "skinctrls/skin_listview.h"
#include "skinctrls/skin_panel.h"
#include "skinctrls/skin_scrollbar.h"
#include "skinctrls/skin_status.h"
#include "workbench/sorting.h"

#include <QLabel>
#include <QWidget>

#include <functional>

namespace dorvanel::app {

class TfrmMain : public QWidget {
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

    void NetHTTP1WorkBegin(http::TWorkMode mode, int64_t workCountMax);
    void NetHTTP1Work(http::TWorkMode mode, int64_t workCount);
    void NetHTTP1WorkEnd(http::TWorkMode mode);

    // ---- fetching and harvesting ----
    // Fetches one page through the scratch file; true when `page` holds a freshly fetched page.
    bool FetchPage(const std::string& url, std::string& page);
    // Appends the suggested keywords of a result page, with the row-count text after each row.
    void ParseSuggestions(const std::string& page);
    void HarvestResultCounts();
    // Whether a transfer is running (a second command that would fetch does nothing then).
    bool TransferRunning() const { return FTransferRunning; }

    // ---- operations other commands use ----
    // Shows a message through msgMain: information kind, help context 0; returns 1 (OK) or 2 (Cancel).
    int ShowMessage(const QString& text, bool withCancel = false);
    void SetMainKeyword(const QString& keyword);
    void AddTypedKeyword(const QString& keyword);
    void ImportKeywordList(const QString& fileName);
    void SaveResultsAsCsv();
    // Whether column clicks sort the table (off while result counts are harvested).
    bool ColumnClickEnabled = true;

    skinctrls::TListItems& Items() { return lvwItems->Items(); }

    // ---- controls ----
    skinctrls::TSkinPanel* SkinPanel1;
    skinctrls::TSkinButton* btnMainKeyword;
    skinctrls::TSkinButton* btnGatherKeyword;
    skinctrls::TSkinButton* btnAddKeyword;
    skinctrls::TSkinButton* btnGatherData;
    skinctrls::TSkinButton* btnSaveResults;
    skinctrls::TSkinButton* btnMakeMoney;
    skinctrls::TSkinPanel* panBanner;
    QLabel* imgBanner;
    images::TGIFAnimator* gifBanner;
    skinctrls::TSkinPanel* SkinPanel3;
    skinctrls::TSkinListView* lvwItems;
    skinctrls::TSkinScrollBar* SkinScrollBar1;
    skinctrls::TSkinScrollBar* SkinScrollBar2;
    skinctrls::TSkinPanel* SkinPanel4;
    skinctrls::TSkinButton* SkinButton1;
    skinctrls::TSkinButton* SkinButton2;
    skinctrls::TSkinButton* SkinButton3;
    skinctrls::TSkinButton* SkinButton4;
    skinctrls::TSkinLinkLabel* lblLink1URL;
    skinctrls::TSkinLinkLabel* lblLink2URL;
    skinctrls::TSkinStatusBar* SkinStatusBar1;
    skinctrls::TSkinStatusPanel* MainStatusPanel;
    skinctrls::TSkinStatusPanel* SkinStatusPanel1;
    skinctrls::TSkinStatusPanel* SecondStatusPanel;
    skinctrls::TSkinGauge* MainGauge;

    // ---- components ----
    http::TNetIdlePump NetIdlePump1;
    http::TNetHTTP NetHTTP1;
    harvest::TServiceHosts ServiceHosts;
    // The scratch file that holds the last fetched page: test.html beside the program.
    QString ScratchFileName;
    skin::TSkinData* SkinData1;
    skin::TCompressedStoredSkin* CompressedStoredSkin1;
    skindialogs::TSkinMessage* msgMain;
    skindialogs::TSkinSaveDialog* SkinSaveDialog1;

    // ---- state ----
    bool FAbort = false;
    QString FMainKeywordText;
    int FSearchType = 0;
    QString FAffiliateID;
    QString FBannerURL;
    QString FBannerPath;
    QString FLink1URL, FLink1Name;
    QString FLink2URL, FLink2Name;
    QString FIconPath;
    workbench::TSortState SortState;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void CentreBanner(QWidget* control);
    void SetUpHttpClient();
    bool FShown = false;
    bool FTransferRunning = false;
    bool FGaugeFollowsCount = false;
};

// The home page the footer links open until the branding names others.
inline constexpr const char* kDefaultLinkURL = "https://www.google.com/";

}  // namespace dorvanel::app
