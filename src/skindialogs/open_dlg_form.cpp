#include "skindialogs/open_dlg_form.h"

#include "skindialogs/confirm_rules.h"
#include "skindialogs/dialog_glyphs.h"
#include "skindialogs/skin_message.h"

#include <QFileInfo>

namespace dorvanel::skindialogs {

using namespace skinctrls;
using platform::akBottom;
using platform::akLeft;
using platform::akRight;
using platform::akTop;
using platform::TAlign;

namespace {

struct TextInfo {
    const char* ResourceKey;
    const char* Text;
};

constexpr std::array<TextInfo, static_cast<size_t>(TOpenDlgText::Count)> kTexts{{
    {"FLV_LOOKIN", "Look in: "},
    {"MSG_BTN_BACK_HINT", "Go To Last Folder Visited"},
    {"MSG_BTN_UP_HINT", "Up One Level"},
    {"MSG_BTN_NEWFOLDER_HINT", "Create New Folder"},
    {"MSG_BTN_VIEWMENU_HINT", "View Menu"},
    {"MSG_LV_ICON", "Large icons"},
    {"MSG_LV_SMALLICON", "Small icons"},
    {"MSG_LV_LIST", "List"},
    {"MSG_LV_DETAILS", "Details"},
    {"MSG_BTN_OPEN", "&Open"},
    {"MSG_BTN_SAVE", "&Save"},
    {"MSG_BTN_CANCEL", "Cancel"},
    {"MSG_FILENAME", "File name:"},
    {"MSG_FILETYPE", "File type:"},
    {"MSG_NEWFOLDER", "New Folder"},
    {"FLV_NAME", "Name"},
    {"FLV_SIZE", "Size"},
    {"FLV_TYPE", "Type"},
    {"FLV_MODIFIED", "Modified"},
}};

// The size the window is built at; RunDialog gives it its real size afterwards and the anchors follow.
constexpr int kBuildWidth = 450;
constexpr int kBuildHeight = 290;
constexpr int kEditRightGap = 90;    // right edge of the edit and the type combo from the panel's right
constexpr int kButtonRightGap = 80;  // left edge of the two buttons from the panel's right

TSkinStdLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption) {
    auto* label = new TSkinStdLabel(parent);
    label->setObjectName(name);
    label->SetCaption(caption);
    return label;
}

TSkinSpeedButton* MakeToolButton(QWidget* parent, const QString& name, const QString& hint, const char* glyph) {
    auto* button = new TSkinSpeedButton(parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->SetGlyph(DialogGlyph(QString::fromLatin1(glyph)));
    return button;
}

}  // namespace

TOpenDlgForm::TOpenDlgForm(bool saveDialog, skin::TSkinData* ctrlSkinData, QWidget* parent)
    : TSkinForm(parent, skinctrls::TFormBorderStyle::bsSizeable), FSaveDialog(saveDialog), FCtrlSkinData(ctrlSkinData) {
    setSizeGripEnabled(false);
    // The file window's frame offers close alone; its border sizes it.
    SkinFrame1->SetBorderIcons(0);
    SkinFrame1->SetMenusSkinData(ctrlSkinData);
    SetClientSize(kBuildWidth, kBuildHeight);
    BuildToolBar();
    BuildBottomPanel();
    BuildListPanel();
    for (QWidget* child : findChildren<QWidget*>())
        if (auto* skinned = dynamic_cast<TSkinClient*>(child)) skinned->SetSkinData(ctrlSkinData);
    FileNameEdit->setFocus();
}

QString TOpenDlgForm::Text(TOpenDlgText text) const {
    const TextInfo& info = kTexts[static_cast<size_t>(text)];
    if (FCtrlSkinData && FCtrlSkinData->ResourceStrData())
        return FCtrlSkinData->ResourceStrData()->GetResStr(QString::fromLatin1(info.ResourceKey));
    return QString::fromLatin1(info.Text);
}

void TOpenDlgForm::BuildToolBar() {
    ToolBar = new TSkinToolBar(ClientArea());
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->SetAlign(TAlign::alTop);
    const int w = ToolBar->width(), h = ToolBar->height();

    LookInLabel = MakeLabel(ToolBar, QStringLiteral("LookInLabel"), Text(TOpenDlgText::LookIn));
    LookInLabel->SetBounds(10, (h - LookInLabel->height()) / 2, LookInLabel->width(), LookInLabel->height());

    // From the right: the view button, a 10-pixel gap, then new folder, up and back, 27 wide each.
    ViewButton = new TSkinMenuSpeedButton(ToolBar);
    ViewButton->setObjectName(QStringLiteral("ViewButton"));
    ViewButton->setToolTip(Text(TOpenDlgText::ViewMenuHint));
    ViewButton->SetGlyph(DialogGlyph(QStringLiteral("DLG_LVSTYLE")));
    ViewButton->SetBounds(w - 37, 0, 37, 25);
    NewFolderButton =
        MakeToolButton(ToolBar, QStringLiteral("NewFolderButton"), Text(TOpenDlgText::NewFolderHint), "DLG_NEWFOLDER");
    NewFolderButton->SetBounds(ViewButton->x() - 10 - 27, 0, 27, 25);
    UpButton = MakeToolButton(ToolBar, QStringLiteral("UpButton"), Text(TOpenDlgText::UpHint), "DLG_UP");
    UpButton->SetBounds(NewFolderButton->x() - 27, 0, 27, 25);
    BackButton = MakeToolButton(ToolBar, QStringLiteral("BackButton"), Text(TOpenDlgText::BackHint), "DLG_BACK");
    BackButton->SetBounds(UpButton->x() - 27, 0, 27, 25);
    for (TSkinButton* button : {static_cast<TSkinButton*>(ViewButton), static_cast<TSkinButton*>(NewFolderButton),
                                static_cast<TSkinButton*>(UpButton), static_cast<TSkinButton*>(BackButton)})
        button->SetAnchors(akTop | akRight);

    FolderCombo = new TSkinShellComboBox(ToolBar);
    FolderCombo->setObjectName(QStringLiteral("FolderCombo"));
    // The tool bar's own combo look when the skin has one, else the general one.
    const bool toolLook =
        FCtrlSkinData && !FCtrlSkinData->Empty() && FCtrlSkinData->IndexOfControl(QStringLiteral("toolcombobox")) >= 0;
    FolderCombo->SetSkinDataName(toolLook ? QStringLiteral("toolcombobox") : QStringLiteral("combobox"));
    const int comboLeft = LookInLabel->x() + LookInLabel->width();
    FolderCombo->SetBounds(comboLeft, (h - 21) / 2, BackButton->x() - 4 - comboLeft, 21);
    FolderCombo->SetAnchors(akLeft | akTop | akRight);

    ViewMenu = new skinctrls::TSkinPopupMenu(this);
    ViewMenu->setObjectName(QStringLiteral("ViewMenu"));
    ViewMenu->SetSkinData(FCtrlSkinData);
    const TOpenDlgText captions[] = {TOpenDlgText::LargeIcons, TOpenDlgText::SmallIcons, TOpenDlgText::List,
                                     TOpenDlgText::Details};
    for (int i = 0; i < 4; ++i) {
        const auto style = static_cast<TViewStyle>(i);
        ViewMenu->Add({Text(captions[i]), true, false, [this, style] { SetViewStyle(style); }});
    }
    ViewButton->SetSkinPopupMenu(ViewMenu);

    BackButton->OnClick = [this] { Guarded([this] { GoBack(); }); };
    UpButton->OnClick = [this] { Guarded([this] { GoUp(); }); };
    NewFolderButton->OnClick = [this] { Guarded([this] { CreateFolder(); }); };
    FolderCombo->OnFolderChosen = [this](const QString& folder) { Guarded([this, folder] { ShowFolder(folder); }); };
}

void TOpenDlgForm::BuildBottomPanel() {
    BottomPanel = new TSkinPanel(ClientArea());
    BottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    BottomPanel->SetBorderStyle(TSkinBorderStyle::bvNone);
    BottomPanel->SetBounds(0, kBuildHeight - 80, kBuildWidth, 80);
    BottomPanel->SetAlign(TAlign::alBottom);
    const int w = BottomPanel->width();

    FileNameLabel = MakeLabel(BottomPanel, QStringLiteral("FileNameLabel"), Text(TOpenDlgText::FileName));
    FileNameLabel->SetBounds(10, 10 + 3, FileNameLabel->width(), FileNameLabel->height());
    FileTypeLabel = MakeLabel(BottomPanel, QStringLiteral("FileTypeLabel"), Text(TOpenDlgText::FileType));
    FileTypeLabel->SetBounds(10, 45 + 3, FileTypeLabel->width(), FileTypeLabel->height());

    FileNameEdit = new TSkinEdit(BottomPanel);
    FileNameEdit->setObjectName(QStringLiteral("FileNameEdit"));
    FileNameEdit->SetDefaultHeight(21);
    FileNameEdit->SetBounds(70, 10, w - kEditRightGap - 70, 21);
    FileNameEdit->SetAnchors(akLeft | akTop | akRight);
    FileNameEdit->OnKeyDown = [this](int& key, Qt::KeyboardModifiers) { FileNameKeyDown(key); };

    FileTypeCombo = new TSkinFilterComboBox(BottomPanel);
    FileTypeCombo->setObjectName(QStringLiteral("FileTypeCombo"));
    FileTypeCombo->SetBounds(70, 45, w - kEditRightGap - 70, 21);
    FileTypeCombo->SetAnchors(akLeft | akTop | akRight);
    FileTypeCombo->OnChange = [this] { Guarded([this] { FileList->SetMask(FileTypeCombo->Mask()); }); };

    OpenButton = new TSkinButton(BottomPanel);
    OpenButton->setObjectName(QStringLiteral("OpenButton"));
    OpenButton->SetCaption(Text(FSaveDialog ? TOpenDlgText::Save : TOpenDlgText::Open));
    OpenButton->SetBounds(w - kButtonRightGap, 10, 70, 25);
    OpenButton->SetAnchors(akTop | akRight);
    OpenButton->OnClick = [this] { Confirm(); };

    CancelButton = new TSkinButton(BottomPanel);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->SetCaption(Text(TOpenDlgText::Cancel));
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);
    CancelButton->SetBounds(w - kButtonRightGap, 45, 70, 25);
    CancelButton->SetAnchors(akTop | akRight);
}

void TOpenDlgForm::BuildListPanel() {
    ListPanel = new TSkinPanel(ClientArea());
    ListPanel->setObjectName(QStringLiteral("ListPanel"));
    ListPanel->SetBorderStyle(TSkinBorderStyle::bvLowered);
    ListPanel->SetAlign(TAlign::alClient);

    HScrollBar = new TSkinScrollBar(ListPanel);
    HScrollBar->setObjectName(QStringLiteral("HScrollBar"));
    HScrollBar->SetSkinDataName(QStringLiteral("hscrollbar"));
    HScrollBar->SetKind(TScrollBarKind::sbHorizontal);
    HScrollBar->resize(HScrollBar->width(), 19);
    HScrollBar->SetAlign(TAlign::alBottom);
    VScrollBar = new TSkinScrollBar(ListPanel);
    VScrollBar->setObjectName(QStringLiteral("VScrollBar"));
    VScrollBar->SetSkinDataName(QStringLiteral("vscrollbar"));
    VScrollBar->SetKind(TScrollBarKind::sbVertical);
    VScrollBar->resize(19, VScrollBar->height());
    VScrollBar->SetAlign(TAlign::alRight);

    FileList = new TSkinFileListView(ListPanel);
    FileList->setObjectName(QStringLiteral("FileList"));
    FileList->SetAlign(TAlign::alClient);
    FileList->SetHScrollBar(HScrollBar);
    FileList->SetVScrollBar(VScrollBar);
    FileList->SetColumnCaptions({Text(TOpenDlgText::ColName), Text(TOpenDlgText::ColSize), Text(TOpenDlgText::ColType),
                                 Text(TOpenDlgText::ColModified)});
    FileList->OnSelectionChange = [this] { SelectionChanged(); };
    FileList->OnDoubleClick = [this](int row) { Guarded([this, row] { ListDoubleClick(row); }); };
    FileList->OnEnter = [this] { Guarded([this] { ListEnter(); }); };
}

void TOpenDlgForm::ShowFolder(const QString& folder, bool byBack) {
    FileList->SetFolder(folder);
    FolderCombo->ShowFolder(FileList->Folder());
    FHistory.Visit(FileList->Folder(), byBack);
    if (OnFolderChange) OnFolderChange();
}

void TOpenDlgForm::GoBack() {
    if (const auto folder = FHistory.Back()) ShowFolder(*folder, true);
}

void TOpenDlgForm::GoUp() { ShowFolder(ParentFolder(FileList->Folder())); }

void TOpenDlgForm::CreateFolder() {
    CreateNewFolder(FileList->Folder(), Text(TOpenDlgText::NewFolder));
    FileList->Refresh();
}

void TOpenDlgForm::SetViewStyle(TViewStyle style) {
    FileList->SetViewStyle(style);
    ViewMenu->CheckOnly(static_cast<int>(style));
}

void TOpenDlgForm::Confirm() {
    TConfirmState state;
    state.SaveDialog = FSaveDialog;
    state.CheckFileExists = CheckFileExists;
    state.Folder = FileList->Folder();
    state.EditText = FileNameEdit->Text();
    state.SelectedFile = FileList->SelectedFile();
    if (const auto path = ConfirmedPath(state)) {
        // Replacing a file is the user's decision, not a side effect of typing its name.
        if (FSaveDialog && QFileInfo::exists(*path) && !ConfirmReplace(*path)) {
            FResultPath.clear();
            return;
        }
        FResultPath = *path;
        SetModalResult(mrOk);
    } else {
        FResultPath.clear();
    }
}

void TOpenDlgForm::FileNameKeyDown(int& key) {
    if (key == Qt::Key_Escape) {
        key = 0;
        SetModalResult(mrCancel);
        return;
    }
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
    key = 0;
    const QString text = FileNameEdit->Text();
    if (text.contains(QLatin1Char('*'))) {
        Guarded([this, text] { FileList->SetMask(text); });
    } else if (text.contains(QLatin1Char('/'))) {
        const QString folder = QFileInfo(text).isAbsolute() ? text : JoinPath(FileList->Folder(), text);
        if (QFileInfo(folder).isDir()) Guarded([this, folder] { ShowFolder(folder); });
        else Confirm();
    } else {
        Confirm();
    }
}

void TOpenDlgForm::SelectionChanged() {
    const QList<int> rows = FileList->SelectedRows();
    const int focused = FileList->FocusedRow();
    const int row = rows.contains(focused) ? focused : (rows.isEmpty() ? -1 : rows.first());
    if (row >= 0 && !FileList->Entry(row).IsFolder) FileNameEdit->SetText(FileList->Entry(row).Name);
    if (OnFolderChange) OnFolderChange();
}

void TOpenDlgForm::ListDoubleClick(int row) {
    if (row < 0 || row >= FileList->Count()) return;
    if (FileList->Entry(row).IsFolder) {
        ShowFolder(FileList->PathOf(row));
        return;
    }
    const QString path = FileList->PathOf(row);
    if (FSaveDialog && !ConfirmReplace(path)) return;
    FResultPath = path;
    SetModalResult(mrOk);
}

bool TOpenDlgForm::ConfirmReplace(const QString& path) {
    if (!Messages) return true;
    const QString text = QFileInfo(path).fileName() + QStringLiteral(" already exists. Do you want to replace it?");
    return Messages->ShowSkinMessage(text, TMsgDlgType::mtInformation, MsgButtons({mbYes, mbNo}), 0) == mrYes;
}

void TOpenDlgForm::ListEnter() {
    if (!FileList->SelectedFile().isEmpty()) {
        Confirm();
        return;
    }
    // Enter on a selected folder opens it, as a double-click does.
    const int row = FileList->FocusedRow();
    if (row >= 0 && FileList->SelectedRows().contains(row) && FileList->Entry(row).IsFolder)
        ShowFolder(FileList->PathOf(row));
}

void TOpenDlgForm::Guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const dorvanel::Exception& failure) {
        if (Messages)
            Messages->ShowSkinMessage(QString::fromLocal8Bit(failure.what()), TMsgDlgType::mtInformation,
                                      MsgButtons({mbOK}), 0);
    }
}

}  // namespace dorvanel::skindialogs
