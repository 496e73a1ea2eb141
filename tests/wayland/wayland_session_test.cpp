// The program as a native Wayland client of weston (headless), run through run_on_weston.sh: the main window
// shows frameless with the skin's frame over a transparent background, maximise and restore go through the
// compositor, a dialog is transient for the main window, and Gather Keywords against the stand-in completes.
// A screen capture of the session is saved (DORVANEL_SCREENS_DIR) to be looked at.
#include "app/harvest_fixture.h"
#include "platform/window_manager.h"
#include "skinctrls/skin_frame.h"
#include "skinctrls/skin_form.h"

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QWindow>

#include <functional>

using namespace dorvanel;
using namespace dorvanel::test;

namespace {

bool WaitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 1000 && !condition(); ++i) QTest::qWait(10);
    return condition();
}

// weston-screenshooter writes the whole output into the folder it runs in.
void SaveScreenshot(const QString& name) {
    const QString folder = qEnvironmentVariable("DORVANEL_SCREENS_DIR", QDir::tempPath());
    QDir().mkpath(folder);
    QDir out(folder);
    const QStringList before = out.entryList({QStringLiteral("wayland-screenshot*.png")});
    QProcess shooter;
    shooter.setWorkingDirectory(folder);
    shooter.start(QStringLiteral("weston-screenshooter"), {});
    // The compositor answers through the program's own connection too: events keep flowing meanwhile.
    for (int i = 0; i < 500 && !shooter.waitForFinished(10); ++i) QCoreApplication::processEvents();
    for (const QString& file : out.entryList({QStringLiteral("wayland-screenshot*.png")}))
        if (!before.contains(file)) {
            out.remove(name);
            out.rename(file, name);
            return;
        }
    ADD_FAILURE() << "weston-screenshooter saved nothing: " << shooter.readAllStandardError().toStdString();
}

class WaylandSession : public HarvestTest {};

TEST_F(WaylandSession, MainWindowDialogAndHarvestAsANativeClient) {
    ASSERT_TRUE(QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        << QGuiApplication::platformName().toStdString();
    ASSERT_TRUE(platform::CompositorPlacesWindows());
    Open({"--captcha", "never"});
    TfrmMain& w = *window;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    skinctrls::TSkinFrame* frame = test::Frame(w);
    ASSERT_TRUE(frame->SkinInUse());
    // Frameless, the skin's frame drawn over a transparent background; the mask is only where the pointer goes.
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(w.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_FALSE(frame->WindowShape().isEmpty());
    const QImage drawn = frame->RenderImage();
    EXPECT_EQ(qAlpha(drawn.pixel(0, 0)), 0) << "the outline's corner is not transparent";

    // Maximise and restore ask the compositor.
    const QSize normal = w.size();
    frame->Maximize();
    EXPECT_TRUE(WaitFor([&] { return w.windowState() & Qt::WindowMaximized; }));
    EXPECT_EQ(frame->WindowState(), skinctrls::TFrameWindowState::wsMaximized);
    EXPECT_TRUE(WaitFor([&] { return w.width() > normal.width(); })) << w.width();
    frame->Restore();
    EXPECT_TRUE(WaitFor([&] { return !(w.windowState() & Qt::WindowMaximized); }));
    EXPECT_EQ(frame->WindowState(), skinctrls::TFrameWindowState::wsNormal);
    EXPECT_TRUE(WaitFor([&] { return w.size() == normal; })) << w.width() << "x" << w.height();

    // A dialog belongs to the main window; the compositor places it.
    bool transient = false, exposed = false;
    QString text;
    WhenModals({[&](QWidget* box) {
        exposed = QTest::qWaitForWindowExposed(box);
        transient = box->windowHandle() && box->windowHandle()->transientParent() == w.windowHandle();
        QTest::qWait(300);
        SaveScreenshot(QStringLiteral("wayland_dialog.png"));
        Answer(Qt::Key_Return, &text)(box);
    }});
    w.btnGatherKeywordClick();  // no main keyword: the program asks for one
    EXPECT_TRUE(exposed);
    EXPECT_TRUE(transient);
    EXPECT_EQ(text, "Please enter a main keyword before gather keywords.");

    // A harvest against the stand-in.
    w.SetMainKeyword(QStringLiteral("golf clubs"));
    w.btnGatherKeywordClick();
    const auto expected = standin::SuggestionsFor("golf clubs");
    ASSERT_GE(expected.size(), 10u);
    EXPECT_EQ(w.Items().Count(), static_cast<int>(expected.size()));
    EXPECT_EQ(test::Control<skinctrls::TSkinStatusPanel>(w, "MainStatusPanel")->Caption(),
              "Process completed sucessfull!");
    QTest::qWait(300);
    SaveScreenshot(QStringLiteral("wayland_main.png"));
}

}  // namespace
