#include "skindialogs/skin_message.h"

#include "skinctrls/skin_button.h"
#include "skinctrls/skin_labels.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStyle>

#include <memory>

namespace dorvanel::skindialogs {

std::function<void(TMessageForm*)> TSkinMessage::OnDialogShown;

TMessageForm::TMessageForm(QWidget* parent) : skinctrls::TSkinForm(parent) {}

namespace {

TMsgDlgType KnownKind(TMsgDlgType kind) {
    // A kind code past the table is shown as a custom message instead of reading past the table.
    return static_cast<std::size_t>(kind) < kMsgKinds.size() ? kind : TMsgDlgType::mtCustom;
}

QStyle::StandardPixmap KindIcon(TMsgDlgType kind) {
    switch (kind) {
        case TMsgDlgType::mtWarning:
            return QStyle::SP_MessageBoxWarning;
        case TMsgDlgType::mtError:
            return QStyle::SP_MessageBoxCritical;
        case TMsgDlgType::mtInformation:
            return QStyle::SP_MessageBoxInformation;
        case TMsgDlgType::mtConfirmation:
            return QStyle::SP_MessageBoxQuestion;
        default:
            return QStyle::SP_CustomBase;
    }
}

}  // namespace

// The default fonts follow the height rule of every skin font: height 14 is a cell height.
TSkinMessage::TSkinMessage(QObject* owner)
    : QObject(owner), DefaultFont(skinctrls::StandardDefaultFont()),
      DefaultButtonFont(skinctrls::StandardDefaultFont()) {}

QString TSkinMessage::ButtonCaption(TMsgDlgBtn button) const {
    const TMsgButtonInfo& info = kMsgButtons[static_cast<size_t>(button)];
    if (FCtrlSkinData && FCtrlSkinData->ResourceStrData())
        return FCtrlSkinData->ResourceStrData()->GetResStr(QString::fromLatin1(info.ResourceKey));
    return QString::fromLatin1(info.Caption);
}

QString TSkinMessage::KindCaption(TMsgDlgType kind) const {
    kind = KnownKind(kind);
    if (kind == TMsgDlgType::mtCustom) return QGuiApplication::applicationDisplayName();
    const TMsgKindInfo& info = kMsgKinds[static_cast<size_t>(kind)];
    if (FCtrlSkinData && FCtrlSkinData->ResourceStrData())
        return FCtrlSkinData->ResourceStrData()->GetResStr(QString::fromLatin1(info.ResourceKey));
    return QString::fromLatin1(info.Caption);
}

int TSkinMessage::ButtonHeight() const {
    // The skin's button height when it has a button description of that name, else 25.
    if (FCtrlSkinData && !FCtrlSkinData->Empty()) {
        const int index = FCtrlSkinData->IndexOfControl(ButtonSkinDataName);
        if (index >= 0) {
            if (const auto* button = dynamic_cast<const skin::TDataSkinButtonControl*>(FCtrlSkinData->Control(index)))
                return button->skinrect.Height();
        }
    }
    return 25;
}

TMessageForm* TSkinMessage::CreateMessageForm(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons) {
    kind = KnownKind(kind);
    // The message belongs to the active window; where no window has the keyboard (a compositor that gave none
    // the focus yet) it belongs to its owner's window.
    QWidget* window = QApplication::activeWindow();
    if (!window)
        if (auto* owner = qobject_cast<QWidget*>(parent())) window = owner->window();
    auto form = std::make_unique<TMessageForm>(window);
    form->setWindowTitle(KindCaption(kind));
    form->SetAlertText(text);
    // The message window's frame offers close alone.
    form->SkinFrame1->SetBorderIcons(0);
    form->SkinFrame1->SetSkinData(FSkinData);
    form->SkinFrame1->SetMenusSkinData(FCtrlSkinData);

    auto* label = new skinctrls::TSkinStdLabel(form->ClientArea());
    label->setObjectName(QStringLiteral("Message"));
    label->SetDefaultFont(DefaultFont);
    label->SetLabelFont(DefaultFont);
    label->SetUseSkinFont(UseSkinFont);
    label->SetSkinDataName(MessageLabelSkinDataName);
    label->SetSkinData(FCtrlSkinData);
    label->SetWordWrap(false);
    // A message is shown as written: "R&D" and paths with "&" keep the character.
    label->SetShowAccelChar(false);
    label->SetAutoSize(true);
    label->SetCaption(text);
    label->SetBounds(50, 15, label->width(), label->height());

    TMessageLayoutInput in;
    in.Buttons = buttons & 0x7FF;
    in.ButtonHeight = ButtonHeight();
    in.LabelWidth = label->width();
    in.LabelHeight = label->height();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        in.MaxWindowWidth = screen->availableGeometry().width();
    // A skinned window is never narrower than the skin's frame picture.
    if (FSkinData && !FSkinData->Empty()) in.MinWindowWidth = FSkinData->MainPicture().width();
    const QMargins frame = form->SkinFrame1->FrameMargins();
    in.FrameExtraWidth = frame.left() + frame.right();
    const TMessageLayout layout = LayOutMessage(in);

    if (kind != TMsgDlgType::mtCustom) {
        auto* image = new QLabel(form->ClientArea());
        image->setObjectName(QStringLiteral("Image"));
        image->setPixmap(form->style()->standardIcon(KindIcon(kind)).pixmap(32, 32));
        image->setGeometry(layout.IconLeft, layout.IconTop, 32, 32);
    }

    form->SetClientSize(layout.ClientWidth, layout.ClientHeight);
    for (const TMessageButtonPlace& place : layout.ButtonPlaces) {
        const TMsgButtonInfo& info = kMsgButtons[static_cast<size_t>(place.Button)];
        auto* button = new skinctrls::TSkinButton(form->ClientArea());
        button->setObjectName(QString::fromLatin1(info.Name));
        button->SetCanFocused(true);
        button->SetCaption(ButtonCaption(place.Button));
        button->SetModalResult(info.Result);
        button->SetDefault(place.Button == layout.DefaultButton);
        button->SetCancel(place.Button == layout.CancelButton);
        button->SetDefaultHeight(in.ButtonHeight);
        button->SetDefaultFont(DefaultButtonFont);
        button->SetUseSkinFont(UseSkinFont);
        button->SetSkinDataName(ButtonSkinDataName);
        button->SetSkinData(FCtrlSkinData);
        button->SetBounds(place.Left, place.Top, place.Width, place.Height);
    }
    // The first button of the row has the focus, as the default button of the dialog.
    if (layout.DefaultButton >= 0) {
        if (auto* def = form->findChild<skinctrls::TSkinButton*>(
                QString::fromLatin1(kMsgButtons[static_cast<size_t>(layout.DefaultButton)].Name)))
            def->setFocus();
    }
    return form.release();
}

int TSkinMessage::ShowSkinMessage(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons, int helpContext) {
    std::unique_ptr<TMessageForm> form(CreateMessageForm(text, kind, buttons));
    form->HelpContext = helpContext;
    if (OnDialogShown) OnDialogShown(form.get());
    return form->ShowModal();
}

}  // namespace dorvanel::skindialogs
