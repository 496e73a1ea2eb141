#include "app/harvest_link.h"

#include "harvest/captcha_dialog.h"
#include "harvest/page_text.h"
#include "workbench/keyword_table.h"

#include <QApplication>

#include <memory>

namespace dorvanel::app {

void TMainHarvestLink::RowsAdded() {
    FControls.SecondStatusPanel->SetCaption(workbench::ItemsListedText(FControls.lvwItems->Items().Count()));
}

void TMainHarvestLink::ShowStatus(const QString& text) { FControls.MainStatusPanel->SetCaption(text); }

void TMainHarvestLink::SetGauge(int value, int maxValue) {
    FControls.MainGauge->SetMaxValue(maxValue);
    FControls.MainGauge->SetValue(value);
}

void TMainHarvestLink::SetGaugeValue(int value) { FControls.MainGauge->SetValue(value); }

int TMainHarvestLink::GaugeMax() const { return FControls.MainGauge->MaxValue(); }

int TMainHarvestLink::ShowMessage(const QString& text, bool withCancel) {
    if (FClosing) return skinctrls::mrCancel;
    using namespace skindialogs;
    const TMsgDlgButtons buttons = withCancel ? MsgButtons({mbOK, mbCancel}) : MsgButtons({mbOK});
    return FControls.msgMain->ShowSkinMessage(text, TMsgDlgType::mtInformation, buttons, 0);
}

std::optional<harvest::TSecurityAnswer> TMainHarvestLink::AskSecurityImage(const std::string& page) {
    if (FClosing) return std::nullopt;
    auto dialog = std::make_unique<harvest::TfrmCaptcha>(FControls.SkinData1, FControls.msgMain, FWindow);
    dialog->FPageText = page;
    dialog->ShowModal();  // OK and Cancel both lead on
    if (FClosing) return std::nullopt;
    return harvest::TSecurityAnswer{harvest::ToBytes(dialog->edtPassword->Text()), dialog->FRandom,
                                    dialog->FSeed};
}

void TMainHarvestLink::Closing() {
    FClosing = true;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != FWindow && FWindow->isAncestorOf(modal)) modal->close();
}

}  // namespace dorvanel::app
