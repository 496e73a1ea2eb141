#pragma once
// The Security image dialog: shows the service's security image and takes the characters the user types.
// It cuts the hidden values random and seed and the image address out of the page it is given. Built like
// the keyword entry dialogs: Enter in the answer field presses Ok, Escape Cancel.
#include "harvest/image_view.h"
#include "workbench/entry_dialogs.h"

#include <string>

namespace dorvanel::harvest {

class TfrmCaptcha : public workbench::TEntryDialog {
    Q_OBJECT
public:
    TfrmCaptcha(skin::TSkinData* skinData, skindialogs::TSkinMessage* msg, QWidget* parent = nullptr);

    void FormShow();
    void PrepareImage();
    void btnOkClick();
    void btnCancelClick();
    void edtPasswordKeyDown(int& key, Qt::KeyboardModifiers shift);

    std::string FPageText;
    std::string FRandom;
    std::string FSeed;
    std::string FImageSrc;

    skinctrls::TSkinStdLabel* SkinStdLabel2;
    TImageView* WebBrowser1;
    skinctrls::TSkinEdit* edtPassword;
    skinctrls::TSkinButton* btnOk;
    skinctrls::TSkinButton* btnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool FPrepared = false;
};

}  // namespace dorvanel::harvest
