#pragma once
// What the harvests see of the main window: its table, its status bar and gauge, its message component and
// the security image question, all refused once the window is closing.
#include "app/main_controls.h"
#include "harvest/harvest_window.h"

namespace dorvanel::app {

class TMainHarvestLink : public harvest::THarvestWindow {
public:
    TMainHarvestLink(QWidget* window, TMainControls& controls) : FWindow(window), FControls(controls) {}

    skinctrls::TListItems& Rows() override { return FControls.lvwItems->Items(); }
    void RowsAdded() override;
    void ShowStatus(const QString& text) override;
    void SetGauge(int value, int maxValue) override;
    void SetGaugeValue(int value) override;
    int GaugeMax() const override;
    // Shows a message through msgMain: information kind, help context 0; returns 1 (OK) or 2 (Cancel). Once the
    // window is closing no message opens and the answer is Cancel, so a question ends its command.
    int ShowMessage(const QString& text, bool withCancel) override;
    std::optional<harvest::TSecurityAnswer> AskSecurityImage(const std::string& page) override;

    // From now on no dialog opens; one already open is closed.
    void Closing();
    bool IsClosing() const { return FClosing; }

private:
    QWidget* FWindow;
    TMainControls& FControls;
    bool FClosing = false;
};

}  // namespace dorvanel::app
