#pragma once
// The message component: shows a modal message box drawn with the skin (an icon for the kind, the text and a
// row of skinned buttons) and returns the result of the button that closed it. Each call builds a fresh
// TMessageForm and frees it afterwards.
#include "skindialogs/message_layout.h"
#include "skin/skin_data.h"
#include "skinctrls/skin_form.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

namespace dorvanel::skindialogs {

using skin::TSkinData;

class TMessageForm : public skinctrls::TSkinForm {
    Q_OBJECT
public:
    explicit TMessageForm(QWidget* parent = nullptr);
    int HelpContext = 0;
};

class TSkinMessage : public QObject {
    Q_OBJECT
public:
    explicit TSkinMessage(QObject* owner = nullptr);

    skin::TSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(skin::TSkinData* data) { FSkinData = data; }
    skin::TSkinData* CtrlSkinData() const { return FCtrlSkinData; }
    void SetCtrlSkinData(skin::TSkinData* data) { FCtrlSkinData = data; }

    QString ButtonSkinDataName = QStringLiteral("button");
    QString MessageLabelSkinDataName = QStringLiteral("stdlabel");
    QFont DefaultFont;
    QFont DefaultButtonFont;
    bool UseSkinFont = true;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    int AlphaBlendValue = 200;

    // Shows the message modally; returns the result number of the button that closed it, or 2 when the
    // window was closed through its frame.
    int ShowSkinMessage(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons, int helpContext = 0);

    // Builds the dialog without showing it (the caller owns it), for ShowSkinMessage and for checks.
    TMessageForm* CreateMessageForm(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons);

    // Called with each dialog just before it is shown modally (tests answer dialogs through it).
    static std::function<void(TMessageForm*)> OnDialogShown;

private:
    QString ButtonCaption(TMsgDlgBtn button) const;
    QString KindCaption(TMsgDlgType kind) const;
    int ButtonHeight() const;

    QPointer<skin::TSkinData> FSkinData;
    QPointer<skin::TSkinData> FCtrlSkinData;
};

}  // namespace dorvanel::skindialogs
