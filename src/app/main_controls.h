#pragma once
// The main window's composition: every control at its design bounds with its alignment, skin section and
// caption, and the non-visual components every command shares. The window's behaviour is in TfrmMain.
#include "images/gif_animator.h"
#include "skin/compressed_stored_skin.h"
#include "skin/skin_data.h"
#include "skinctrls/skin_button.h"
#include "skinctrls/skin_frame.h"
#include "skinctrls/skin_labels.h"
#include "skinctrls/skin_listview.h"
#include "skinctrls/skin_panel.h"
#include "skinctrls/skin_scrollbar.h"
#include "skinctrls/skin_status.h"
#include "skindialogs/file_dialog.h"
#include "skindialogs/skin_message.h"

#include <QLabel>
#include <QWidget>

namespace dorvanel::app {

// The home page the footer links open until the branding names others.
inline constexpr const char* kDefaultLinkURL = "https://www.google.com/";

struct TMainControls {
    // Creates the frame on `window`, and every control and component in the frame's client area, which
    // becomes 644 x 455.
    explicit TMainControls(QWidget* window);

    skinctrls::TSkinFrame* SkinFrame1;
    skin::TSkinData* SkinData1;
    skin::TCompressedStoredSkin* CompressedStoredSkin1;
    skindialogs::TSkinMessage* msgMain;
    skindialogs::TSkinSaveDialog* SkinSaveDialog1;

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
};

}  // namespace dorvanel::app
