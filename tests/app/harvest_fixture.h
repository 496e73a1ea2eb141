#pragma once
// The real main window against the stand-in services on loopback, with the answers tests give its dialogs.
#include "app/main_window.h"
#include "app/window_access.h"
#include "harvest/captcha_dialog.h"
#include "skinctrls/skin_checkbox.h"
#include "skinctrls/skin_edit.h"
#include "standin/pages.h"
#include "support/plain/temp_dir.h"
#include "support/qt/modal.h"
#include "standin/standin_process.h"
#include "workbench/keyword_table.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

namespace dorvanel::test {

using dorvanel::app::TfrmMain;
using standin::StandinServer;

inline void Click(QWidget* dlg, const char* name) {
    QTest::mouseClick(dlg->findChild<skinctrls::TSkinButton*>(QString::fromLatin1(name)), Qt::LeftButton, {},
                      QPoint(5, 5));
}

inline std::function<void(QWidget*)> TypeCaptcha(const char* text) {
    return [text](QWidget* dlg) {
        dlg->findChild<skinctrls::TSkinEdit*>(QStringLiteral("edtPassword"))->SetText(QString::fromLatin1(text));
        Click(dlg, "btnOk");
    };
}

inline std::function<void(QWidget*)> Answer(int key, QString* text = nullptr) {
    return [key, text](QWidget* box) {
        if (text) *text = box->findChild<skinctrls::TSkinStdLabel*>(QStringLiteral("Message"))->Caption();
        PressKey(box, key);
    };
}

// Chooses the search type in the Select Search Type dialog.
inline std::function<void(QWidget*)> ChooseSearch(bool precise) {
    return [precise](QWidget* dlg) {
        dlg->findChild<skinctrls::TSkinCheckRadioBox*>(QStringLiteral("SkinCheckRadioBox1"))->SetChecked(precise);
        Click(dlg, "btnOk");
    };
}

class HarvestTest : public ::testing::Test {
protected:
    // A dialog the test expected may never have come (a window closed first): its answer must not reach
    // the next test's dialogs.
    void TearDown() override { CancelModalWatches(); }
    void Open(const std::vector<std::string>& options) {
        standin = std::make_unique<StandinServer>(options);
        window = std::make_unique<TfrmMain>();
        const std::string host = standin->hostPort();
        window->Fetcher().ServiceHosts = pages::TServiceHosts::AllAt(host);
        window->Fetcher().ScratchFileName = QString::fromStdString(dir.file("test.html"));
    }
    QString Cell(int row, int cell) const { return window->Items().Item(row).SubItem(cell); }

    test::TempDir dir;
    std::unique_ptr<StandinServer> standin;
    std::unique_ptr<TfrmMain> window;
};

inline std::string Std(const QString& s) { return s.toStdString(); }

}  // namespace dorvanel::test
