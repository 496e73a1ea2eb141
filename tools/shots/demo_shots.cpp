// Screenshots of the demo under a real X server (run it under xvfb-run, with or without a window manager):
// the main window and every dialog it opens, after Gather Keywords and Gather Data against the stand-in
// services; the main window maximised; the save dialog in its Details view with its file-type list dropped
// down. Each picture is the whole screen as the X server shows it.
// Usage: demo_shots <output folder> [skin archive to apply instead of the program's own]
#include "app/main_window.h"
#include "skindialogs/open_dlg_form.h"
#include "skinctrls/skin_checkbox.h"
#include "skinctrls/skin_edit.h"
#include "skinctrls/skin_frame.h"
#include "standin/standin_process.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace dorvanel;

namespace {

QString gOut;

void Shot(const char* name) {
    QApplication::processEvents();
    QTest::qWait(300);
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    screen.save(gOut + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
    std::printf("%s\n", name);
}

// Runs action on the next modal window once it is up.
void OnModal(std::function<void(QWidget*)> action) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            action(modal);
        }
    });
    poll->start(50);
}

void Click(QWidget* parent, const char* name) {
    auto* button = parent->findChild<skinctrls::TSkinButton*>(QString::fromLatin1(name));
    if (button) QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: demo_shots <output folder>\n");
        return 2;
    }
    gOut = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(gOut);
    standin::StandinServer standin(std::string(DORVANEL_BINARY_DIR "/tools/standin/dorvanel-standin"),
                                {"--captcha-text", "ABCDE"});
    app::TfrmMain w;
    const std::string host = standin.hostPort();
    w.Fetcher().ServiceHosts = pages::TServiceHosts::AllAt(host);
    w.Fetcher().ScratchFileName = gOut + QStringLiteral("/test.html");
    auto* frame = w.findChild<skinctrls::TSkinFrame*>(QStringLiteral("SkinFrame1"));
    if (argc > 2) frame->SkinData()->LoadSkinArchiveFile(QString::fromLocal8Bit(argv[2]));
    w.show();
    Shot("01-main-empty");

    OnModal([](QWidget* dlg) {
        dlg->findChild<skinctrls::TSkinEdit*>(QStringLiteral("edtMainKeyword"))->SetText(QStringLiteral("golf clubs"));
        Shot("02-main-keyword-dialog");
        Click(dlg, "btnOk");
    });
    Click(&w, "btnMainKeyword");

    OnModal([&standin](QWidget* dlg) {
        Shot("03-security-image-dialog");
        dlg->findChild<skinctrls::TSkinEdit*>(QStringLiteral("edtPassword"))
            ->SetText(QString::fromStdString(standin.captchaText()));
        Click(dlg, "btnOk");
    });
    Click(&w, "btnGatherKeyword");
    Shot("04-main-after-gather-keywords");

    OnModal([](QWidget* dlg) {
        Shot("05-search-type-dialog");
        dlg->findChild<skinctrls::TSkinCheckRadioBox*>(QStringLiteral("SkinCheckRadioBox1"))->SetChecked(true);
        Click(dlg, "btnOk");
    });
    Click(&w, "btnGatherData");
    Shot("06-main-after-gather-data");
    frame->Maximize();
    Shot("06b-main-maximised");
    frame->Restore();

    OnModal([](QWidget* dlg) {
        Shot("07-add-keywords-dialog");
        OnModal([](QWidget* open) {
            Shot("08-open-file-dialog");
            QTest::keyClick(open, Qt::Key_Escape);
        });
        Click(dlg, "btnBrowse");
        QTimer::singleShot(300, dlg, [dlg] { Click(dlg, "btnCancel"); });
    });
    Click(&w, "btnAddKeyword");

    OnModal([](QWidget* dlg) {
        Shot("09-save-file-dialog");
        if (auto* form = qobject_cast<skindialogs::TOpenDlgForm*>(dlg)) {
            form->SetViewStyle(skindialogs::TViewStyle::vsReport);
            Shot("09b-save-file-dialog-details");
            form->FileTypeCombo->DropDown();
            Shot("09c-save-file-dialog-type-list");
            form->FileTypeCombo->CloseUp();
            form->FolderCombo->DropDown();
            Shot("09d-save-file-dialog-folder-list");
            form->FolderCombo->CloseUp();
        }
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    Click(&w, "btnSaveResults");

    OnModal([](QWidget* box) {
        Shot("10-message-dialog");
        QTest::keyClick(box, Qt::Key_Escape);
    });
    Click(&w, "SkinButton4");
    Shot("11-main-end");
    return 0;
}
