#include "workbench/entry_dialogs.h"

#include "skindialogs/open_dlg_form.h"
#include "skinctrls/skin_checkbox.h"
#include "support/plain/temp_dir.h"
#include "support/qt/modal.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace dorvanel;
using namespace dorvanel::workbench;
using dorvanel::test::PressKey;
using dorvanel::test::WhenModals;

namespace {

// The text of the message the dialog showed, read and answered with Enter.
std::function<void(QWidget*)> ReadMessage(QString& into) {
    return [&into](QWidget* box) {
        if (auto* label = box->findChild<skinctrls::TSkinStdLabel*>(QStringLiteral("Message"))) into = label->Caption();
        PressKey(box, Qt::Key_Return);
    };
}

void Click(skinctrls::TSkinButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5)); }

}  // namespace

TEST(MainKeywordDialog, LayoutAndCaption) {
    skindialogs::TSkinMessage msg;
    TfrmMainKeyword dlg(nullptr, &msg);
    EXPECT_EQ(dlg.windowTitle(), "Main Keyword");
    EXPECT_EQ(dlg.SkinFrame1->ClientSize(), QSize(309, 109));
    EXPECT_EQ(dlg.SkinStdLabel1->Caption(), "Please type the main keyword(s) Eg: golf, soccer:");
    EXPECT_EQ(dlg.btnOk->geometry(), QRect(68, 67, 82, 21));
    EXPECT_EQ(dlg.btnCancel->Caption(), "Cancel");
    EXPECT_TRUE(dlg.edtMainKeyword->Text().isEmpty());
}

TEST(MainKeywordDialog, EmptyFieldIsRefusedByOkAndByEnter) {
    skindialogs::TSkinMessage msg;
    TfrmMainKeyword dlg(nullptr, &msg);
    QString first, second;
    WhenModals({
        [&](QWidget*) { Click(dlg.btnOk); },
        ReadMessage(first),
        [&](QWidget* w) {
            PressKey(dlg.edtMainKeyword->LineEdit(), Qt::Key_Enter);
            (void)w;
        },
        ReadMessage(second),
        [&](QWidget*) {
            dlg.edtMainKeyword->SetText(QStringLiteral("   "));  // blanks count as a keyword
            PressKey(dlg.edtMainKeyword->LineEdit(), Qt::Key_Return);
        },
    });
    EXPECT_EQ(dlg.ShowModal(), skinctrls::mrOk);
    EXPECT_EQ(first, "Please add a Main Keyword.");
    EXPECT_EQ(second, "Please add a Main Keyword.");
    EXPECT_EQ(dlg.edtMainKeyword->Text(), "   ");
}

TEST(MainKeywordDialog, CancelAndFrameCloseGiveCancel) {
    skindialogs::TSkinMessage msg;
    {
        TfrmMainKeyword dlg(nullptr, &msg);
        WhenModals({[&](QWidget*) { Click(dlg.btnCancel); }});
        EXPECT_EQ(dlg.ShowModal(), skinctrls::mrCancel);
    }
    {
        TfrmMainKeyword dlg(nullptr, &msg);
        WhenModals({[&](QWidget* w) { w->close(); }});
        EXPECT_EQ(dlg.ShowModal(), skinctrls::mrCancel);
    }
}

TEST(AddKeywordsDialog, ChecksInOrder) {
    test::TempDir dir;
    const QString file = QString::fromStdString(dir.file("list.txt"));
    test::writeFileBytes(file.toStdString(), "a\n");
    skindialogs::TSkinMessage msg;
    TfrmAddKeywords dlg(nullptr, &msg);
    EXPECT_EQ(dlg.windowTitle(), "Enter Keyword(s)");
    EXPECT_EQ(dlg.SkinFrame1->ClientSize(), QSize(426, 147));
    QString both, missing, folder;
    WhenModals({
        [&](QWidget*) {
            // Both fields, even with a file that does not exist: only one way is allowed.
            dlg.edtAddKeyword->SetText(QStringLiteral("golf"));
            dlg.edtList->SetText(QStringLiteral("/no/such/file"));
            Click(dlg.btnOk);
        },
        ReadMessage(both),
        [&](QWidget*) {
            dlg.edtAddKeyword->SetText(QString());
            PressKey(dlg.edtList->LineEdit(), Qt::Key_Return);
        },
        ReadMessage(missing),
        [&](QWidget*) {
            dlg.edtList->SetText(QString::fromStdString(dir.path().string()));
            Click(dlg.btnOk);
        },
        ReadMessage(folder),
        [&](QWidget*) {
            dlg.edtList->SetText(file);
            PressKey(dlg.edtList->LineEdit(), Qt::Key_Return);
        },
    });
    EXPECT_EQ(dlg.ShowModal(), skinctrls::mrOk);
    EXPECT_EQ(both, "Please select only one way to add keywords.");
    EXPECT_EQ(missing, "Please select a valid file.");
    EXPECT_EQ(folder, "Please select a valid file.");
}

TEST(AddKeywordsDialog, BothEmptyClosesWithOk) {
    skindialogs::TSkinMessage msg;
    TfrmAddKeywords dlg(nullptr, &msg);
    WhenModals({[&](QWidget*) { Click(dlg.btnOk); }});
    EXPECT_EQ(dlg.ShowModal(), skinctrls::mrOk);
}

TEST(AddKeywordsDialog, BrowsePutsTheChosenTextFileInTheListEdit) {
    test::TempDir dir;
    test::writeFileBytes(dir.file("list.txt"), "golf\r\n");
    skindialogs::TSkinMessage msg;
    TfrmAddKeywords dlg(nullptr, &msg);
    EXPECT_EQ(dlg.SkinOpenDialog1->Filter, "Text files (*.txt)|*.txt");
    EXPECT_EQ(dlg.SkinOpenDialog1->FilterIndex, 1);
    EXPECT_TRUE(dlg.SkinOpenDialog1->CheckFileExists);
    dlg.SkinOpenDialog1->InitialDir = QString::fromStdString(dir.path().string());

    QString title;
    WhenModals({
        [&](QWidget*) { Click(dlg.btnBrowse); },
        [&](QWidget* open) {
            title = open->windowTitle();
            auto* form = static_cast<skindialogs::TOpenDlgForm*>(open);
            // A file must be chosen in the list: a typed name alone does not confirm an open dialog.
            form->FileList->SelectRow(form->FileList->RowOf(QStringLiteral("list.txt")));
            Click(form->OpenButton);
        },
        [&](QWidget*) { Click(dlg.btnOk); },
    });
    EXPECT_EQ(dlg.ShowModal(), skinctrls::mrOk);
    EXPECT_EQ(title, "Open file");
    EXPECT_EQ(dlg.edtList->Text().toStdString(), dir.file("list.txt"));
}

TEST(SelectSearchTypeDialog, FirstBoxDecidesTheSearchType) {
    skindialogs::TSkinMessage msg;
    TfrmSelSearch dlg(nullptr, &msg);
    EXPECT_EQ(dlg.windowTitle(), "Select Search Type");
    EXPECT_EQ(dlg.SkinFrame1->ClientSize(), QSize(480, 114));
    EXPECT_TRUE(dlg.SkinCheckRadioBox1->Checked());
    EXPECT_FALSE(dlg.SkinCheckRadioBox2->Checked());
    EXPECT_EQ(dlg.SearchType(), 0);
    dlg.SkinCheckRadioBox2->SetChecked(true);  // both ticked: precise
    EXPECT_EQ(dlg.SearchType(), 0);
    dlg.SkinCheckRadioBox1->SetChecked(false);  // only the second: broad
    EXPECT_EQ(dlg.SearchType(), 1);
    dlg.SkinCheckRadioBox2->SetChecked(false);  // neither: broad
    EXPECT_EQ(dlg.SearchType(), 1);

    // The boxes toggle independently when clicked.
    QTest::mouseClick(dlg.SkinCheckRadioBox1, Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_TRUE(dlg.SkinCheckRadioBox1->Checked());
    EXPECT_FALSE(dlg.SkinCheckRadioBox2->Checked());

    WhenModals({[&](QWidget*) { Click(dlg.btnOk); }});
    EXPECT_EQ(dlg.ShowModal(), skinctrls::mrOk);
    WhenModals({[&](QWidget*) { Click(dlg.btnCancel); }});
    EXPECT_EQ(dlg.ShowModal(), skinctrls::mrCancel);
}
