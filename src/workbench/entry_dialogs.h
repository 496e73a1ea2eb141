#pragma once
// The three small dialogs that feed the workbench: Main Keyword, Enter Keyword(s) and Select Search Type.
// Each is created when its command runs, shown modally, read and destroyed. Their messages go through the
// main window's message component.
#include "skindialogs/file_dialog.h"
#include "skindialogs/skin_message.h"
#include "skin/skin_data.h"
#include "skinctrls/skin_button.h"
#include "skinctrls/skin_edit.h"
#include "skinctrls/skin_form.h"
#include "skinctrls/skin_labels.h"

#include <functional>

namespace dorvanel::skinctrls {
class TSkinCheckRadioBox;
}  // namespace dorvanel::skinctrls

namespace dorvanel::workbench {

// What the entry dialogs share: the main window's skin and message component, and the dialog look.
class TEntryDialog : public skinctrls::TSkinForm {
    Q_OBJECT
public:
    TEntryDialog(skin::TSkinData* skinData, skindialogs::TSkinMessage* msg, QWidget* parent);

protected:
    // Shows a message of the dialog's checks: information, the OK button, help context 0.
    void Inform(const QString& text);
    skinctrls::TSkinStdLabel* AddLabel(const QString& caption, int left, int top, int width, int height);
    skinctrls::TSkinEdit* AddEdit(const char* name, int left, int top, int width, int height);
    // A button with its modal result (0: its handler decides).
    skinctrls::TSkinButton* AddButton(const char* name, const QString& caption, QRect bounds, int modalResult = 0);
    // Enter (key code 13 in any shift state) runs the action and goes no further.
    static void EnterDoes(int& key, const std::function<void()>& action);

    skin::TSkinData* FSkinData;
    skindialogs::TSkinMessage* FMessage;
};

class TfrmMainKeyword : public TEntryDialog {
    Q_OBJECT
public:
    TfrmMainKeyword(skin::TSkinData* skinData, skindialogs::TSkinMessage* msg, QWidget* parent = nullptr);

    void btnOkClick();
    void edtMainKeywordKeyDown(int& key, Qt::KeyboardModifiers shift);

    skinctrls::TSkinStdLabel* SkinStdLabel1;
    skinctrls::TSkinEdit* edtMainKeyword;
    skinctrls::TSkinButton* btnOk;
    skinctrls::TSkinButton* btnCancel;
};

class TfrmAddKeywords : public TEntryDialog {
    Q_OBJECT
public:
    TfrmAddKeywords(skin::TSkinData* skinData, skindialogs::TSkinMessage* msg, QWidget* parent = nullptr);

    void btnOkClick();
    void btnBrowseClick();
    void edtAddKeywordKeyDown(int& key, Qt::KeyboardModifiers shift);
    void edtListKeyDown(int& key, Qt::KeyboardModifiers shift);

    skindialogs::TSkinOpenDialog* SkinOpenDialog1;
    skinctrls::TSkinStdLabel* SkinStdLabel1;
    skinctrls::TSkinEdit* edtAddKeyword;
    skinctrls::TSkinStdLabel* SkinStdLabel2;
    skinctrls::TSkinEdit* edtList;
    skinctrls::TSkinButton* btnBrowse;
    skinctrls::TSkinButton* btnOk;
    skinctrls::TSkinButton* btnCancel;
};

class TfrmSelSearch : public TEntryDialog {
    Q_OBJECT
public:
    TfrmSelSearch(skin::TSkinData* skinData, skindialogs::TSkinMessage* msg, QWidget* parent = nullptr);

    // 0 (precise) when the first box is ticked, else 1 (broad); the second box plays no part.
    int SearchType() const;

    skinctrls::TSkinCheckRadioBox* SkinCheckRadioBox1;
    skinctrls::TSkinCheckRadioBox* SkinCheckRadioBox2;
    skinctrls::TSkinButton* btnOk;
    skinctrls::TSkinButton* btnCancel;
};

// Whether a name is that of an existing file (a folder is no file).
bool IsExistingFile(const QString& fileName);

}  // namespace dorvanel::workbench
