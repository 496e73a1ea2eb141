#include "harvest/captcha_dialog.h"

#include "harvest/captcha_page.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>

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

}  // namespace

TfrmCaptcha::TfrmCaptcha(skin::TSkinData* skinData, skindialogs::TSkinMessage* msg, QWidget* parent)
    : TSkinForm(parent), FMessage(msg) {
    const double k = DesignScale();
    setWindowTitle(QStringLiteral("Security image"));
    SetClientSize(S(382, k), S(257, k));

    SkinStdLabel2 = new TSkinStdLabel(this);
    SkinStdLabel2->SetSkinData(skinData);
    // A standard label sizes itself to its caption: the skin's font is not scaled with the design positions.
    SkinStdLabel2->SetCaption(QStringLiteral("Please enter the characters in the image"));
    SkinStdLabel2->SetBounds(S(16, k), S(8, k), S(238, k), S(16, k));

    WebBrowser1 = new TImageView(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(S(16, k), S(32, k), S(345, k), S(137, k));

    edtPassword = new TSkinEdit(this);
    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    edtPassword->SetSkinData(skinData);
    edtPassword->SetBounds(S(16, k), S(182, k), S(345, k), S(18, k));

    btnOk = new TSkinButton(this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->SetSkinData(skinData);
    btnOk->SetCaption(QStringLiteral("Ok"));
    btnOk->SetBounds(S(68, k), S(210, k), S(101, k), S(26, k));
    btnOk->OnClick = [this] { btnOkClick(); };

    btnCancel = new TSkinButton(this);
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
    const CaptchaPageValues values = CutCaptchaPage(FPageText);
    FRandom = values.random;
    FSeed = values.seed;
    FImageSrc = values.imageSrc;
    WebBrowser1->Navigate(QString::fromLocal8Bit(FImageSrc.data(), static_cast<qsizetype>(FImageSrc.size())));
}

void TfrmCaptcha::btnOkClick() {
    if (edtPassword->Text().isEmpty()) {
        if (FMessage)
            FMessage->ShowSkinMessage(QStringLiteral("Please enter a password."), skindialogs::TMsgDlgType::mtInformation,
                                      skindialogs::MsgButtons({skindialogs::mbOK}), 0);
        return;
    }
    SetModalResult(mrOk);
}

void TfrmCaptcha::btnCancelClick() { SetModalResult(mrCancel); }

}  // namespace dorvanel::harvest
