#pragma once
// The base of the program's dialogs: a modal window in the skinned frame whose buttons close it through their
// ModalResult, with Enter pressing the default button and Escape the cancel button.
#include "skinctrls/modal_result.h"
#include "skinctrls/skin_frame.h"

#include <QDialog>

namespace dorvanel::skinctrls {

class TSkinForm : public QDialog {
    Q_OBJECT
public:
    // A dialog's frame offers only the system menu and close, and its border does not size it.
    explicit TSkinForm(QWidget* parent = nullptr, TFormBorderStyle borderStyle = TFormBorderStyle::bsDialog);

    // The frame; the dialog's controls live in its client area.
    TSkinFrame* SkinFrame1;
    QWidget* ClientArea() const { return SkinFrame1->ClientArea(); }
    // The size of the client area in pixels; a dialog keeps it (its border does not size).
    void SetClientSize(int width, int height);

    int ModalResult() const { return FModalResult; }
    // A non-zero result closes the modal window once the handler that set it has returned; setting it
    // back to 0 before then keeps the window open.
    void SetModalResult(int result);

    // Centres the window on the screen, shows it modally and returns the result that closed it (2 when it
    // was closed through its frame).
    int ShowModal();

    void done(int result) override;
    void reject() override;

    // A message box: assistive technology hears it as an alert with this text when it opens (empty: an
    // ordinary dialog).
    const QString& AlertText() const { return FAlertText; }
    void SetAlertText(const QString& text) { FAlertText = text; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    int FModalResult = mrNone;
    bool FClosePending = false;
    QString FAlertText;
};

}  // namespace dorvanel::skinctrls
