#pragma once
// The Security image dialog: shows the service's security image and takes the characters the user types.
// It cuts the hidden values random and seed and the image address out of the page it is given.
#include "harvest/image_view.h"
#include "skindialogs/skin_message.h"
#include "skin/skin_data.h"
#include "skinctrls/skin_button.h"
#include "skinctrls/skin_edit.h"
#include "skinctrls/skin_form.h"
#include "skinctrls/skin_labels.h"

#include <string>

namespace dorvanel::harvest {

class TfrmCaptcha : public skinctrls::TSkinForm {
    Q_OBJECT
public:
    TfrmCaptcha(skin::TSkinData* skinData, skindialogs::TSkinMessage* msg, QWidget* parent = nullptr);

    void FormShow();
    void PrepareImage();
    void btnOkClick();
    void btnCancelClick();

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
    skindialogs::TSkinMessage* FMessage;
    bool FPrepared = false;
};

}  // namespace dorvanel::harvest
