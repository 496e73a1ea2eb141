#include "workbench/entry_dialogs.h"

#include "common/files.h"
#include "skinctrls/skin_checkbox.h"

#include <QFile>

namespace dorvanel::workbench {

using namespace skinctrls;

bool IsExistingFile(const QString& fileName) {
    if (fileName.isEmpty()) return false;
    // A FIFO, a device or a folder is no list file: reading one would block or never end.
    return common::IsRegularFile(QFile::encodeName(fileName).toStdString());
}

namespace {

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

TEntryDialog::TEntryDialog(skin::TSkinData* skinData, skindialogs::TSkinMessage* msg, QWidget* parent)
    : TSkinForm(parent), FSkinData(skinData), FMessage(msg) {
    // The dialogs wear the main window's skin, frame and controls alike.
    SkinFrame1->SetSkinData(skinData);
}

void TEntryDialog::Inform(const QString& text) {
    if (FMessage)
        FMessage->ShowSkinMessage(text, skindialogs::TMsgDlgType::mtInformation,
                                  skindialogs::MsgButtons({skindialogs::mbOK}), 0);
}

TSkinStdLabel* TEntryDialog::AddLabel(const QString& caption, int left, int top, int width, int height) {
    auto* label = new TSkinStdLabel(ClientArea());
    label->SetSkinData(FSkinData);
    label->SetAutoSize(false);
    label->SetCaption(caption);
    label->SetBounds(left, top, width, height);
    return label;
}

TSkinEdit* TEntryDialog::AddEdit(const char* name, int left, int top, int width, int height) {
    auto* edit = new TSkinEdit(ClientArea());
    edit->setObjectName(QString::fromLatin1(name));
    edit->SetSkinData(FSkinData);
    edit->SetBounds(left, top, width, height);
    return edit;
}

TSkinButton* TEntryDialog::AddButton(const char* name, const QString& caption, QRect bounds, int modalResult) {
    auto* button = new TSkinButton(ClientArea());
    button->setObjectName(QString::fromLatin1(name));
    button->SetSkinData(FSkinData);
    button->SetCaption(caption);
    button->SetBounds(bounds);
    button->SetModalResult(modalResult);
    // The Cancel button answers Escape.
    button->SetCancel(modalResult == mrCancel);
    return button;
}

void TEntryDialog::EnterDoes(int& key, const std::function<void()>& action) {
    if (!IsEnter(key)) return;
    key = 0;
    action();
}

// ---- Main Keyword ----

TfrmMainKeyword::TfrmMainKeyword(skin::TSkinData* skinData, skindialogs::TSkinMessage* msg, QWidget* parent)
    : TEntryDialog(skinData, msg, parent) {
    setWindowTitle(QStringLiteral("Main Keyword"));
    SetClientSize(309, 109);
    SkinStdLabel1 = AddLabel(QStringLiteral("Please type the main keyword(s) Eg: golf, soccer:"), 13, 13, 292, 16);
    edtMainKeyword = AddEdit("edtMainKeyword", 13, 37, 280, 15);
    btnOk = AddButton("btnOk", QStringLiteral("Ok"), {68, 67, 82, 21});
    btnCancel = AddButton("btnCancel", QStringLiteral("Cancel"), {157, 67, 82, 21}, mrCancel);

    btnOk->OnClick = [this] { btnOkClick(); };
    edtMainKeyword->OnKeyDown = [this](int& key, Qt::KeyboardModifiers shift) { edtMainKeywordKeyDown(key, shift); };
    setTabOrder(edtMainKeyword, btnOk);
    setTabOrder(btnOk, btnCancel);
    edtMainKeyword->setFocus();
}

void TfrmMainKeyword::btnOkClick() {
    // Text of blanks only is a keyword too; only an empty field is refused.
    if (edtMainKeyword->Text().isEmpty()) Inform(QStringLiteral("Please add a Main Keyword."));
    else SetModalResult(mrOk);
}

void TfrmMainKeyword::edtMainKeywordKeyDown(int& key, Qt::KeyboardModifiers) {
    EnterDoes(key, [this] { btnOkClick(); });
}

// ---- Enter Keyword(s) ----

TfrmAddKeywords::TfrmAddKeywords(skin::TSkinData* skinData, skindialogs::TSkinMessage* msg, QWidget* parent)
    : TEntryDialog(skinData, msg, parent) {
    setWindowTitle(QStringLiteral("Enter Keyword(s)"));
    SetClientSize(426, 147);
    SkinStdLabel1 = AddLabel(QStringLiteral("Please type keyword(s) Eg: golf, soccer:"), 9, 13, 239, 16);
    edtAddKeyword = AddEdit("edtAddKeyword", 9, 33, 326, 15);
    SkinStdLabel2 =
        AddLabel(QStringLiteral("Or add a file with a keyword list (one group of keywords per line):"), 9, 59, 378, 16);
    edtList = AddEdit("edtList", 9, 78, 326, 15);
    btnBrowse = AddButton("btnBrowse", QStringLiteral("Browse"), {344, 77, 63, 21});
    btnOk = AddButton("btnOk", QStringLiteral("Ok"), {102, 107, 82, 21});
    btnCancel = AddButton("btnCancel", QStringLiteral("Cancel"), {190, 107, 82, 21}, mrCancel);
    SkinOpenDialog1 = new skindialogs::TSkinOpenDialog(this);
    SkinOpenDialog1->setObjectName(QStringLiteral("SkinOpenDialog1"));
    SkinOpenDialog1->Title = QStringLiteral("Open file");
    SkinOpenDialog1->Filter = QStringLiteral("Text files (*.txt)|*.txt");
    SkinOpenDialog1->FilterIndex = 1;
    SkinOpenDialog1->CheckFileExists = true;
    SkinOpenDialog1->SetSkinData(skinData);
    SkinOpenDialog1->SetCtrlSkinData(skinData);
    SkinOpenDialog1->SetMessages(msg);

    btnOk->OnClick = [this] { btnOkClick(); };
    btnBrowse->OnClick = [this] { btnBrowseClick(); };
    edtAddKeyword->OnKeyDown = [this](int& key, Qt::KeyboardModifiers shift) { edtAddKeywordKeyDown(key, shift); };
    edtList->OnKeyDown = [this](int& key, Qt::KeyboardModifiers shift) { edtListKeyDown(key, shift); };
    // Tab order: keyword, Ok, Cancel, list file, Browse.
    setTabOrder(edtAddKeyword, btnOk);
    setTabOrder(btnOk, btnCancel);
    setTabOrder(btnCancel, edtList);
    setTabOrder(edtList, btnBrowse);
    edtAddKeyword->setFocus();
}

void TfrmAddKeywords::btnOkClick() {
    const QString keyword = edtAddKeyword->Text();
    const QString list = edtList->Text();
    if (!keyword.isEmpty() && !list.isEmpty()) Inform(QStringLiteral("Please select only one way to add keywords."));
    else if (!list.isEmpty() && !IsExistingFile(list)) Inform(QStringLiteral("Please select a valid file."));
    else SetModalResult(mrOk);
}

void TfrmAddKeywords::btnBrowseClick() {
    if (SkinOpenDialog1->RunDialog()) edtList->SetText(SkinOpenDialog1->FileName);
}

void TfrmAddKeywords::edtAddKeywordKeyDown(int& key, Qt::KeyboardModifiers) {
    EnterDoes(key, [this] { btnOkClick(); });
}

void TfrmAddKeywords::edtListKeyDown(int& key, Qt::KeyboardModifiers shift) { edtAddKeywordKeyDown(key, shift); }

// ---- Select Search Type ----

TfrmSelSearch::TfrmSelSearch(skin::TSkinData* skinData, skindialogs::TSkinMessage* msg, QWidget* parent)
    : TEntryDialog(skinData, msg, parent) {
    setWindowTitle(QStringLiteral("Select Search Type"));
    SetClientSize(480, 114);
    auto addBox = [this](const QString& caption, int left, int top, int width, int height, bool checked) {
        auto* box = new TSkinCheckRadioBox(ClientArea());
        box->SetSkinData(FSkinData);
        box->SetRadio(false);
        box->SetFlat(true);
        box->SetCaption(caption);
        box->SetChecked(checked);
        box->SetBounds(left, top, width, height);
        return box;
    };
    SkinCheckRadioBox1 =
        addBox(QStringLiteral("Precise Search Eg: \"golf clubs\" Should appear the word in the same order."), 11, 15,
               397, 20, true);
    SkinCheckRadioBox1->setObjectName(QStringLiteral("SkinCheckRadioBox1"));
    SkinCheckRadioBox2 =
        addBox(QStringLiteral("Broad Search Eg: golf clubs, any word no matther the order or position in the text."),
               11, 41, 446, 20, false);
    SkinCheckRadioBox2->setObjectName(QStringLiteral("SkinCheckRadioBox2"));
    btnOk = AddButton("btnOk", QStringLiteral("Ok"), {161, 75, 81, 21}, mrOk);
    btnCancel = AddButton("btnCancel", QStringLiteral("Cancel"), {251, 75, 82, 21}, mrCancel);
}

int TfrmSelSearch::SearchType() const { return SkinCheckRadioBox1->Checked() ? 0 : 1; }

}  // namespace dorvanel::workbench
