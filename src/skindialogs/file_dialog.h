#pragma once
// The open and save dialog components. The program sets their properties once, calls RunDialog and reads
// FileName after a true result; between calls they keep the file name, the file type, the window size and
// the view of the list, so the next call opens where the last one ended.
#include "skindialogs/file_list_view.h"
#include "skin/skin_data.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

namespace dorvanel::skindialogs {

using skin::TSkinData;

class TOpenDlgForm;
class TSkinMessage;

class TSkinOpenDialog : public QObject {
    Q_OBJECT
public:
    explicit TSkinOpenDialog(QObject* owner = nullptr);
    ~TSkinOpenDialog() override;

    // ---- properties ----
    int DialogWidth = 0;  // client size; 0 or less means 450 by 290; after each call the size left
    int DialogHeight = 0;
    int DialogMinWidth = 0;
    int DialogMinHeight = 0;
    bool CheckFileExists = true;
    bool MultiSelection = false;
    bool AlphaBlend = false;
    int AlphaBlendValue = 225;
    bool AlphaBlendAnimation = false;
    bool CtrlAlphaBlend = false;
    int CtrlAlphaBlendValue = 225;
    bool CtrlAlphaBlendAnimation = false;
    QString LVHeaderSkinDataName = QStringLiteral("resizebutton");
    QFont DefaultFont;
    QString Title = QStringLiteral("Open file");
    QString InitialDir;
    QString Filter = QStringLiteral("All files|*.*");
    int FilterIndex = 1;
    // After a confirmed call, the chosen file's full path.
    QString FileName;
    // After a confirmed call, the full paths of the files selected in the list.
    QStringList SelectedFiles;
    // The list's view, kept between calls.
    TViewStyle ViewStyle = TViewStyle::vsList;
    // Raised when the list shows another folder or its selection changes.
    std::function<void()> OnFolderChange;

    skin::TSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(skin::TSkinData* data) { FSkinData = data; }
    skin::TSkinData* CtrlSkinData() const { return FCtrlSkinData; }
    void SetCtrlSkinData(skin::TSkinData* data) { FCtrlSkinData = data; }
    // The message component failures are shown through (the program's msgMain); a private one when unset.
    TSkinMessage* Messages() const;
    void SetMessages(TSkinMessage* messages) { FMessages = messages; }

    bool IsSaveDialog() const { return FSaveDialog; }

    // Shows the dialog modally; true when the user confirmed a file (then FileName holds its path), false
    // when it was cancelled (FileName unchanged).
    bool RunDialog();

    // Called with each window just before it is shown modally (tests answer the dialog through it).
    static std::function<void(TOpenDlgForm*)> OnDialogShown;

protected:
    TSkinOpenDialog(bool saveDialog, QObject* owner);

private:
    QString StartFolder() const;

    bool FSaveDialog;
    QPointer<skin::TSkinData> FSkinData;
    QPointer<skin::TSkinData> FCtrlSkinData;
    QPointer<TSkinMessage> FMessages;
    TSkinMessage* FOwnMessages = nullptr;
};

class TSkinSaveDialog : public TSkinOpenDialog {
    Q_OBJECT
public:
    explicit TSkinSaveDialog(QObject* owner = nullptr);
};

}  // namespace dorvanel::skindialogs
