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
    : TEntryDialog(skinData, msg, parent) {
    const double k = DesignScale();
    setWindowTitle(QStringLiteral("Security image"));
    SetClientSize(S(382, k), S(257, k));

    SkinStdLabel2 = AddLabel(QStringLiteral("Please enter the characters in the image"), S(16, k), S(8, k), S(238, k),
                             S(16, k));
    // The caption's font shrinks with the bounds it was designed for, so that it still fits at 96 dpi.
    SkinStdLabel2->SetUseSkinFont(false);
    SkinStdLabel2->SetLabelFont(skin::SkinFont("Arial", std::max(1, S(kDesignFontHeight, k)), {}));

    WebBrowser1 = new TImageView(ClientArea());
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(S(16, k), S(32, k), S(345, k), S(137, k));

    edtPassword = AddEdit("edtPassword", S(16, k), S(182, k), S(345, k), S(18, k));
    btnOk = AddButton("btnOk", QStringLiteral("Ok"), {S(68, k), S(210, k), S(101, k), S(26, k)});
    btnCancel = AddButton("btnCancel", QStringLiteral("Cancel"), {S(177, k), S(210, k), S(101, k), S(26, k)}, mrCancel);
    btnOk->OnClick = [this] { btnOkClick(); };
    btnCancel->OnClick = [this] { btnCancelClick(); };
    edtPassword->OnKeyDown = [this](int& key, Qt::KeyboardModifiers shift) { edtPasswordKeyDown(key, shift); };

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
    if (edtPassword->Text().isEmpty()) Inform(QStringLiteral("Please enter a password."));
    else SetModalResult(mrOk);
}

void TfrmCaptcha::btnCancelClick() { SetModalResult(mrCancel); }

void TfrmCaptcha::edtPasswordKeyDown(int& key, Qt::KeyboardModifiers) {
    EnterDoes(key, [this] { btnOkClick(); });
}

}  // namespace dorvanel::harvest
