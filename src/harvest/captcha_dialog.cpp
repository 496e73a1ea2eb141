#include "harvest/captcha_dialog.h"

#include "harvest/page_text.h"
#include "harvest/pages/captcha_page.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>
#include <cmath>

namespace dorvanel::harvest {

using namespace skinctrls;

namespace {

// The dialog was laid out at 120 pixels per inch; like every window it is scaled to the screen.
double DesignScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi / 120.0;
}

int S(int v, double scale) { return static_cast<int>(std::lround(v * scale)); }

// The cell height of the caption's font at the design resolution.
constexpr int kDesignFontHeight = 14;

}  // namespace

TfrmCaptcha::TfrmCaptcha(skin::TSkinData* skinData, skindialogs::TSkinMessage* msg, QWidget* parent)
    : TSkinForm(parent), FMessage(msg) {
    const double k = DesignScale();
    setWindowTitle(QStringLiteral("Security image"));
    SkinFrame1->SetSkinData(skinData);
    SetClientSize(S(382, k), S(257, k));

    SkinStdLabel2 = new TSkinStdLabel(ClientArea());
    SkinStdLabel2->SetSkinData(skinData);
    SkinStdLabel2->SetAutoSize(false);
    SkinStdLabel2->SetCaption(QStringLiteral("Please enter the characters in the image"));
    // The caption's font shrinks with the bounds it was designed for, so that it still fits at 96 dpi.
    SkinStdLabel2->SetUseSkinFont(false);
    SkinStdLabel2->SetLabelFont(skin::SkinFont("Arial", std::max(1, S(kDesignFontHeight, k)), {}));
    SkinStdLabel2->SetBounds(S(16, k), S(8, k), S(238, k), S(16, k));

    WebBrowser1 = new TImageView(ClientArea());
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(S(16, k), S(32, k), S(345, k), S(137, k));

    edtPassword = new TSkinEdit(ClientArea());
    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    edtPassword->SetSkinData(skinData);
    edtPassword->SetBounds(S(16, k), S(182, k), S(345, k), S(18, k));

    btnOk = new TSkinButton(ClientArea());
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->SetSkinData(skinData);
    btnOk->SetCaption(QStringLiteral("Ok"));
    btnOk->SetBounds(S(68, k), S(210, k), S(101, k), S(26, k));
    btnOk->OnClick = [this] { btnOkClick(); };

    btnCancel = new TSkinButton(ClientArea());
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->SetSkinData(skinData);
    btnCancel->SetCaption(QStringLiteral("Cancel"));
    btnCancel->SetBounds(S(177, k), S(210, k), S(101, k), S(26, k));
    btnCancel->OnClick = [this] { btnCancelClick(); };

    setTabOrder(edtPassword, btnOk);
    setTabOrder(btnOk, btnCancel);
    edtPassword->setFocus();
}

void TfrmCaptcha::showEvent(QShowEvent* event) {
    TSkinForm::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TfrmCaptcha::FormShow() {
    // The web view is navigated once, when the dialog is first shown.
    if (FPrepared) return;
    FPrepared = true;
    PrepareImage();
}

void TfrmCaptcha::PrepareImage() {
    const pages::CaptchaPageValues values = pages::CutCaptchaPage(FPageText);
    FRandom = values.random;
    FSeed = values.seed;
    FImageSrc = values.imageSrc;
    WebBrowser1->Navigate(FromBytes(FImageSrc));
}

void TfrmCaptcha::btnOkClick() {
    if (edtPassword->Text().isEmpty()) {
        if (FMessage)
            FMessage->ShowSkinMessage(QStringLiteral("Please enter a password."),
                                      skindialogs::TMsgDlgType::mtInformation,
                                      skindialogs::MsgButtons({skindialogs::mbOK}), 0);
        return;
    }
    SetModalResult(mrOk);
}

void TfrmCaptcha::btnCancelClick() { SetModalResult(mrCancel); }

}  // namespace dorvanel::harvest
