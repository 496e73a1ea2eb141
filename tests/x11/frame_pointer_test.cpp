// The window frame on a real X server, driven by real pointer and key events (xdotool), once with no window
// manager (the frame moves, sizes and minimises the window itself) and once under openbox (the window system
// moves and sizes it). Run through run_on_xvfb.sh, which says which of the two it set up.
#include "platform/window_manager.h"
#include "skinctrls/program_skin.h"
#include "skinctrls/skin_frame.h"
#include "skinctrls/skin_popup_menu.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace dorvanel::skinctrls {
namespace {

using skin::TStdCommand;

bool UnderOpenbox() { return qgetenv("DORVANEL_EXPECT_WM") == "openbox"; }

// Waits, handling events, until the condition holds; false if it never does.
bool WaitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 1000 && !condition(); ++i) QTest::qWait(10);
    return condition();
}

// Runs xdotool while the program goes on handling its events, as it does while a hand moves the mouse.
void Xdo(const QStringList& arguments) {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    QDeadlineTimer deadline(10000);
    while (!xdotool.waitForFinished(1) && !deadline.hasExpired()) QCoreApplication::processEvents();
    ASSERT_EQ(xdotool.state(), QProcess::NotRunning) << arguments.join(' ').toStdString();
    ASSERT_EQ(xdotool.exitCode(), 0) << xdotool.readAllStandardError().toStdString();
}

void PointerTo(QPoint global) { Xdo({"mousemove", QString::number(global.x()), QString::number(global.y())}); }

// The program's main window as far as the frame goes: sizeable, minimise and maximise, the program's skin.
struct Window {
    std::unique_ptr<skin::TSkinData> skin = test::ProgramSkin();
    QWidget form;
    TSkinFrame* frame = new TSkinFrame(&form, TFormBorderStyle::bsSizeable);

    Window() {
        form.setWindowTitle(QStringLiteral("Frame under test"));
        frame->SetSkinData(skin.get());
        frame->ApplicationWindow = true;
        frame->SetClientSize(500, 300);
        form.move(200, 150);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        EXPECT_TRUE(WaitFor([&] { return form.isActiveWindow(); }));
    }
    QPoint Global(QPoint local) const { return form.mapToGlobal(local); }
    QPoint Caption() const { return Global(frame->CaptionObject()->ObjectRect.center()); }
    QPoint ButtonCentre(TStdCommand command) const { return Global(frame->Button(command)->ObjectRect.center()); }
    // A drag in small steps, as a hand makes it: the first lets the frame hand the move to the window system,
    // if there is one, which must then count every step from the press. A window manager may report where
    // the window went only when the button is released: the position is awaited after the release.
    void Drag(QPoint from, QPoint by, const std::function<bool()>& arrived, int steps = 10) {
        PointerTo(from);
        Xdo({"mousedown", "1"});
        ASSERT_TRUE(WaitFor([] { return QGuiApplication::mouseButtons() & Qt::LeftButton; }));
        for (int i = 1; i <= steps; ++i) PointerTo(from + by * i / steps);
        Xdo({"mouseup", "1"});
        EXPECT_TRUE(WaitFor(arrived));
    }
    void Click(QPoint at, int count = 1) {
        PointerTo(at);
        Xdo({"click", "--repeat", QString::number(count), "--delay", "60", "1"});
    }
};

QRect MaximisedBounds(const QWidget& form) {
    const QScreen* screen = form.screen();
    QRect area = screen->availableGeometry();
    if (area == screen->geometry()) area.adjust(1, 1, -1, -1);
    return area;
}

TEST(FramePointer, TheWindowManagerIsTheOneExpected) { EXPECT_EQ(platform::WindowManagerRunning(), UnderOpenbox()); }

TEST(FramePointer, DraggingTheCaptionMovesByTheDragDistanceAndTheBorderSizes) {
    Window w;
    const QRect start = w.form.geometry();
    w.Drag(w.Caption(), {80, 60}, [&] { return w.form.pos() == start.topLeft() + QPoint(80, 60); });
    EXPECT_EQ(w.form.geometry(), start.translated(80, 60));

    const QRect moved = w.form.geometry();
    const QPoint rightEdge = w.Global({w.form.width() - 2, w.form.height() / 2});
    w.Drag(rightEdge, {48, 0}, [&] { return w.form.width() == moved.width() + 48; });
    EXPECT_EQ(w.form.geometry(), moved.adjusted(0, 0, 48, 0));
    EXPECT_TRUE(WaitFor([&] { return w.frame->ClientSize().width() == 500 + 48; }));
}

TEST(FramePointer, DoubleClickAndTheButtonMaximiseAndRestore) {
    Window w;
    const QRect before = w.form.geometry();
    const QRect maximised = MaximisedBounds(w.form);
    w.Click(w.Caption(), 2);
    EXPECT_TRUE(WaitFor([&] { return w.form.geometry() == maximised; }));
    EXPECT_EQ(w.frame->WindowState(), TFrameWindowState::wsMaximized);
    w.Click(w.Caption(), 2);
    EXPECT_TRUE(WaitFor([&] { return w.form.geometry() == before; }));

    w.Click(w.ButtonCentre(TStdCommand::cmMaximize));
    EXPECT_TRUE(WaitFor([&] { return w.form.geometry() == maximised; }));
    w.Click(w.ButtonCentre(TStdCommand::cmMaximize));
    EXPECT_TRUE(WaitFor([&] { return w.form.geometry() == before; }));
}

TEST(FramePointer, MinimiseButtonMinimisesAndTheWindowComesBack) {
    Window w;
    const QRect before = w.form.geometry();
    w.Click(w.ButtonCentre(TStdCommand::cmMinimize));
    if (UnderOpenbox()) {
        // The window system takes the window off the screen and gives it back.
        EXPECT_TRUE(WaitFor([&] { return w.form.windowHandle()->visibility() == QWindow::Minimized; }));
        w.form.showNormal();
        EXPECT_TRUE(WaitFor([&] { return w.form.windowHandle()->visibility() == QWindow::Windowed; }));
    } else {
        // With nobody to take it away, the window shrinks to its caption at the bottom-left of the screen.
        EXPECT_TRUE(WaitFor([&] { return w.frame->WindowState() == TFrameWindowState::wsMinimized; }));
        EXPECT_EQ(w.form.geometry().bottomLeft(), w.form.screen()->availableGeometry().bottomLeft());
        w.Click(w.Caption(), 2);
    }
    EXPECT_TRUE(WaitFor([&] { return w.form.geometry() == before; }));
}

TEST(FramePointer, CloseButtonAltF4AndTheSystemMenuClose) {
    {
        Window w;
        w.Click(w.ButtonCentre(TStdCommand::cmClose));
        EXPECT_TRUE(WaitFor([&] { return !w.form.isVisible(); }));
    }
    {
        Window w;
        Xdo({"key", "alt+F4"});
        EXPECT_TRUE(WaitFor([&] { return !w.form.isVisible(); }));
    }
    {
        // A right click on the caption opens the system menu at the pointer; its last item closes.
        Window w;
        PointerTo(w.Caption());
        Xdo({"click", "3"});
        TSkinPopupMenu* menu = w.frame->SystemMenu();
        ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }));
        const int close = static_cast<int>(menu->Items().size()) - 1;
        w.Click(menu->mapToGlobal(menu->ItemRect(close).center()));
        EXPECT_TRUE(WaitFor([&] { return !w.form.isVisible(); }));
    }
    if (!UnderOpenbox()) {
        // Alt+Space is openbox's own window menu; with no window manager it opens the frame's.
        Window w;
        Xdo({"key", "alt+space"});
        ASSERT_TRUE(WaitFor([&] { return w.frame->SystemMenu()->isVisible(); }));
        Xdo({"key", "c"});
        EXPECT_TRUE(WaitFor([&] { return !w.form.isVisible(); }));
    }
}

}  // namespace
}  // namespace dorvanel::skinctrls
