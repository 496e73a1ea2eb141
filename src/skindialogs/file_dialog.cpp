#include "skindialogs/file_dialog.h"

#include "skindialogs/open_dlg_form.h"
#include "skindialogs/skin_message.h"
#include "skinctrls/skin_control.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>

#include <memory>

namespace dorvanel::skindialogs {

std::function<void(TOpenDlgForm*)> TSkinOpenDialog::OnDialogShown;

namespace {

constexpr int kDefaultWidth = 450;
constexpr int kDefaultHeight = 290;

bool IsFolder(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

}  // namespace

TSkinOpenDialog::TSkinOpenDialog(QObject* owner) : TSkinOpenDialog(false, owner) {}

TSkinOpenDialog::TSkinOpenDialog(bool saveDialog, QObject* owner)
    : QObject(owner), DefaultFont(skinctrls::StandardDefaultFont()), FSaveDialog(saveDialog) {}

TSkinOpenDialog::~TSkinOpenDialog() = default;

TSkinSaveDialog::TSkinSaveDialog(QObject* owner) : TSkinOpenDialog(true, owner) { Title = QStringLiteral("Save file"); }

TSkinMessage* TSkinOpenDialog::Messages() const {
    if (FMessages) return FMessages;
    auto* self = const_cast<TSkinOpenDialog*>(this);
    if (!self->FOwnMessages) self->FOwnMessages = new TSkinMessage(self);
    return self->FOwnMessages;
}

QString TSkinOpenDialog::StartFolder() const {
    // A remembered folder that has gone since is passed over rather than failing the whole dialog.
    const QString folder = FolderPart(FileName);
    if (IsFolder(folder)) return folder;
    if (IsFolder(InitialDir)) return InitialDir;
    return QCoreApplication::applicationDirPath();
}

bool TSkinOpenDialog::RunDialog() {
    auto form = std::make_unique<TOpenDlgForm>(FSaveDialog, FCtrlSkinData, QApplication::activeWindow());
    form->setWindowTitle(Title);
    form->SkinFrame1->MinWidth = std::max(0, DialogMinWidth);
    form->SkinFrame1->MinHeight = std::max(0, DialogMinHeight);
    form->SkinFrame1->SetSkinData(FSkinData);
    if (AlphaBlend) form->setWindowOpacity(AlphaBlendValue / 255.0);
    form->CheckFileExists = CheckFileExists;
    form->Messages = Messages();
    for (QWidget* control : {static_cast<QWidget*>(form->OpenButton), static_cast<QWidget*>(form->CancelButton),
                             static_cast<QWidget*>(form->FolderCombo)})
        static_cast<skinctrls::TSkinCustomControl*>(control)->SetDefaultFont(DefaultFont);
    form->FileList->SetDefaultFont(DefaultFont);
    form->OnFolderChange = [this] {
        if (OnFolderChange) OnFolderChange();
    };

    form->SetViewStyle(ViewStyle);
    form->FileList->SetHeaderSkinDataName(LVHeaderSkinDataName);
    form->FileList->SetMultiSelection(MultiSelection);
    form->FileTypeCombo->SetFilter(Filter);
    // An index of 0 or past the entries chooses the last entry, the one whose mask applies then.
    const int entries = static_cast<int>(form->FileTypeCombo->Entries().size());
    form->FileTypeCombo->SetItemIndex(FilterIndex >= 1 && FilterIndex <= entries ? FilterIndex - 1 : entries - 1);
    form->FileList->SetMask(form->FileTypeCombo->Mask());
    form->ShowFolder(StartFolder());

    QSize client(DialogWidth > 0 ? DialogWidth : kDefaultWidth, DialogHeight > 0 ? DialogHeight : kDefaultHeight);
    // A skinned frame needs a window of at least its own smallest size.
    if (form->SkinFrame1->SkinInUse()) {
        const QMargins m = form->SkinFrame1->FrameMargins();
        client = client.expandedTo(form->SkinFrame1->MinimalSize().shrunkBy(m));
    }
    form->SetClientSize(client.width(), client.height());
    form->FileNameEdit->SetText(NamePart(FileName));
    form->FileNameEdit->setFocus();

    if (OnDialogShown) OnDialogShown(form.get());
    const bool confirmed = form->ShowModal() == skinctrls::mrOk;

    FilterIndex = form->FileTypeCombo->ItemIndex() + 1;
    DialogWidth = form->SkinFrame1->ClientSize().width();
    DialogHeight = form->SkinFrame1->ClientSize().height();
    ViewStyle = form->FileList->ViewStyle();
    if (confirmed) {
        FileName = form->ResultPath();
        if (FSaveDialog)
            FileName = ApplyMaskExtension(
                FileName, MaskOfEntry(form->FileTypeCombo->Entries(), form->FileTypeCombo->ItemIndex()));
        SelectedFiles.clear();
        for (int row : form->FileList->SelectedRows())
            if (!form->FileList->Entry(row).IsFolder) SelectedFiles.append(form->FileList->PathOf(row));
    }
    return confirmed;
}

}  // namespace dorvanel::skindialogs
