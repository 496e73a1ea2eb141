#pragma once
// The window of the open and save dialogs: a tool bar (folder combo, back, up, new folder, view menu), the
// file list, and a bottom panel with the file-name edit, the file-type combo and the confirm and cancel
// buttons. It decides when it may close confirmed and with which path; the dialog component reads the
// result afterwards.
#include "skindialogs/dialog_combos.h"
#include "skindialogs/file_list_view.h"
#include "skindialogs/folder_history.h"
#include "skindialogs/tool_controls.h"
#include "skinctrls/skin_edit.h"
#include "skinctrls/skin_form.h"
#include "skinctrls/skin_labels.h"

#include <QPointer>
#include <array>

namespace dorvanel::skindialogs {

using skin::TSkinData;

class TSkinMessage;

// The texts of the window, each with the resource-string name a skin may replace it under.
enum class TOpenDlgText {
    LookIn,
    BackHint,
    UpHint,
    NewFolderHint,
    ViewMenuHint,
    LargeIcons,
    SmallIcons,
    List,
    Details,
    Open,
    Save,
    Cancel,
    FileName,
    FileType,
    NewFolder,
    ColName,
    ColSize,
    ColType,
    ColModified,
    Count
};

class TOpenDlgForm : public skinctrls::TSkinForm {
    Q_OBJECT
public:
    // The window of a save dialog when saveDialog is true; its controls draw from ctrlSkinData.
    TOpenDlgForm(bool saveDialog, skin::TSkinData* ctrlSkinData, QWidget* parent = nullptr);

    // The built-in text, or the one the control skin's resource strings hold under its name.
    QString Text(TOpenDlgText text) const;

    // ---- the controls, by their roles ----
    TSkinToolBar* ToolBar;
    skinctrls::TSkinStdLabel* LookInLabel;
    TSkinShellComboBox* FolderCombo;
    TSkinSpeedButton* BackButton;
    TSkinSpeedButton* UpButton;
    TSkinSpeedButton* NewFolderButton;
    TSkinMenuSpeedButton* ViewButton;
    // Its items in the order of TViewStyle, the view in use marked.
    skinctrls::TSkinPopupMenu* ViewMenu;
    skinctrls::TSkinPanel* BottomPanel;
    skinctrls::TSkinStdLabel* FileNameLabel;
    skinctrls::TSkinEdit* FileNameEdit;
    skinctrls::TSkinStdLabel* FileTypeLabel;
    TSkinFilterComboBox* FileTypeCombo;
    skinctrls::TSkinButton* OpenButton;
    skinctrls::TSkinButton* CancelButton;
    skinctrls::TSkinPanel* ListPanel;
    skinctrls::TSkinScrollBar* HScrollBar;
    skinctrls::TSkinScrollBar* VScrollBar;
    TSkinFileListView* FileList;

    bool SaveDialog() const { return FSaveDialog; }
    bool CheckFileExists = true;
    // The path the window closed with (valid after a confirmed close).
    const QString& ResultPath() const { return FResultPath; }
    const TFolderHistory& History() const { return FHistory; }
    // Where failures met while the user works in the window are shown; none keeps them silent.
    QPointer<TSkinMessage> Messages;

    // ---- what the user can do ----
    // Shows folder in the list and the folder combo, noting it in the history unless the back button
    // made the change. Raises EInvalidPath when the folder cannot be shown.
    void ShowFolder(const QString& folder, bool byBack = false);
    void GoBack();
    void GoUp();
    void CreateFolder();
    void SetViewStyle(TViewStyle style);
    // The confirm rules: closes the window confirmed, or leaves it open without a word.
    void Confirm();

    // Raised when the list shows another folder or its selection changes.
    std::function<void()> OnFolderChange;

private:
    void BuildToolBar();
    void BuildBottomPanel();
    void BuildListPanel();
    void FileNameKeyDown(int& key);
    void SelectionChanged();
    void ListDoubleClick(int row);
    void ListEnter();
    // Asks before a save replaces an existing file; No keeps the dialog open.
    bool ConfirmReplace(const QString& path);
    // Runs a user action and shows a failure it raises through Messages.
    void Guarded(const std::function<void()>& action);

    bool FSaveDialog;
    QPointer<skin::TSkinData> FCtrlSkinData;
    QString FResultPath;
    TFolderHistory FHistory;
};

}  // namespace dorvanel::skindialogs
