// The main window and a message dialog on a real X server (no window manager) at the device pixel ratio
// QT_SCALE_FACTOR gives (1, 1.5 or 2): each window is its logical size times the ratio on the screen, its
// layout unchanged, its outline still cut round by the mask; at 2 the frame's pictures are the 1x ones with
// every pixel repeated, while the caption's text is drawn at the screen's resolution (it differs from the 1x
// rendering enlarged); maximised, the window starts at the screen's corner. The screen captures are saved
// (DORVANEL_SCREENS_DIR) to be looked at.
#include "app/main_window.h"
#include "skindialogs/skin_message.h"
#include "skinctrls/skin_frame.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace dorvanel {
namespace {

qreal Ratio() {
    bool ok = false;
    const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok && ratio > 0 ? ratio : 1.0;
}

QString RatioName() { return QString::number(Ratio()).replace(QLatin1Char('.'), QLatin1Char('_')); }

// The window's place and size on the X server, in device pixels, as xdotool reads them from the server.
QRect ServerGeometry(QWidget& window) {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"),
                  {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::number(window.winId())});
    EXPECT_TRUE(xdotool.waitForFinished(10000));
    QRect geometry;
    for (const QString& line : QString::fromLatin1(xdotool.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("X="))) geometry.moveLeft(line.mid(2).toInt());
        if (line.startsWith(QLatin1String("Y="))) geometry.moveTop(line.mid(2).toInt());
        if (line.startsWith(QLatin1String("WIDTH="))) geometry.setWidth(line.mid(6).toInt());
        if (line.startsWith(QLatin1String("HEIGHT="))) geometry.setHeight(line.mid(7).toInt());
    }
    return geometry;
}

// The whole screen in device pixels.
QImage Screen(QWidget& window) {
    QImage whole = window.screen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    whole.setDevicePixelRatio(1);
    return whole;
}

// The window as the screen shows it, in device pixels (the whole screen grabbed, then the window cut out).
QImage Capture(QWidget& window, const QString& name) {
    QImage shot = Screen(window).copy(ServerGeometry(window));
    const QString folder = qEnvironmentVariable("DORVANEL_SCREENS_DIR", QDir::tempPath());
    QDir().mkpath(folder);
    shot.save(folder + QStringLiteral("/%1_%2.png").arg(name, RatioName()));
    return shot;
}

void Show(QWidget& window, QPoint at) {
    window.move(at);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(200);  // the X server has the last paint
    QApplication::processEvents();
}

// Every picture pixel repeated factor times each way.
QImage Replicated(const QImage& image, int factor) {
    QImage copy = image.convertToFormat(QImage::Format_RGB32);
    copy.setDevicePixelRatio(1);
    return copy.scaled(copy.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

int Differing(const QImage& a, const QImage& b, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) ++count;
    return count;
}

// Size, outline and layout of a window at the ratio; bare is the screen before any window showed. Returns
// the capture.
QImage CheckWindow(QWidget& window, skinctrls::TSkinFrame* frame, const QString& name, const QImage& bare) {
    const qreal ratio = Ratio();
    EXPECT_DOUBLE_EQ(window.devicePixelRatioF(), ratio);
    const QSize logical = window.size();
    const QRect place = ServerGeometry(window);
    const QSize server = place.size();
    EXPECT_NEAR(server.width(), logical.width() * ratio, 1.0) << name.toStdString();
    EXPECT_NEAR(server.height(), logical.height() * ratio, 1.0) << name.toStdString();
    const QImage shot = Capture(window, name);
    EXPECT_EQ(shot.size(), server);
    // The outline stays round: the mask leaves the corners out, and the screen shows through them.
    const QRegion& shape = frame->WindowShape();
    EXPECT_FALSE(shape.isEmpty());
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    const auto bareAt = [&](int x, int y) { return bare.pixel(place.left() + x, place.top() + y) & 0xFFFFFF; };
    EXPECT_EQ(shot.pixel(0, 0) & 0xFFFFFF, bareAt(0, 0)) << name.toStdString();
    EXPECT_EQ(shot.pixel(shot.width() - 1, 0) & 0xFFFFFF, bareAt(shot.width() - 1, 0)) << name.toStdString();
    // ... while the frame covers the screen along the middle of the top edge.
    int covered = 0;
    for (int x = shot.width() / 4; x < shot.width() * 3 / 4; ++x)
        covered += (shot.pixel(x, 2) & 0xFFFFFF) != bareAt(x, 2);
    EXPECT_GT(covered, shot.width() / 4) << name.toStdString();
    return shot;
}

// At a whole ratio the border pictures are the 1x rendering with each pixel repeated (sharp), while the
// caption's text is not: it is drawn at the screen's resolution.
void CheckCaptionDrawnAtTheRatio(const QImage& shot, skinctrls::TSkinFrame* frame) {
    const qreal ratio = Ratio();
    const int whole = int(std::lround(ratio));
    if (whole < 2 || std::abs(ratio - whole) > 1e-6) return;
    const QImage enlarged = Replicated(frame->RenderImage(1.0), whole);
    ASSERT_EQ(enlarged.size(), shot.size());
    const skinctrls::TSkinCaptionObject* caption = frame->CaptionObject();
    ASSERT_NE(caption, nullptr);
    const QRect text(caption->ObjectRect.topLeft() * whole, caption->ObjectRect.size() * whole);
    EXPECT_GT(Differing(shot, enlarged, text), 20) << "the caption at " << whole << " is the 1x one enlarged";
    // The left border below the caption holds no text: there the two agree pixel for pixel.
    const QMargins m = frame->FrameMargins();
    const QRect border(0, m.top() * whole + 4 * whole, m.left() * whole, 40 * whole);
    EXPECT_EQ(Differing(shot, enlarged, border & shot.rect()), 0);
}

TEST(HiDpiScreens, MainWindowAndDialogScaleWithTheirOutlineAndCrispCaption) {
    app::TfrmMain main;
    const QImage bare = Screen(main);
    auto* frame = main.findChild<skinctrls::TSkinFrame*>(QStringLiteral("SkinFrame1"));
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(frame->SkinInUse());
    Show(main, QPoint(20, 20));
    // The layout in logical pixels is that of a ratio of 1.
    EXPECT_EQ(frame->ClientSize(), QSize(644, 455));
    const QImage mainShot = CheckWindow(main, frame, QStringLiteral("main"), bare);
    CheckCaptionDrawnAtTheRatio(mainShot, frame);

    // Maximised on a screen that is all work area, the window leaves no gap of more than one device pixel at
    // the left and top (a logical pixel is 1.5 or 2 of them).
    frame->Maximize();
    QTest::qWait(200);
    const QPoint corner = ServerGeometry(main).topLeft();
    EXPECT_EQ(corner, Ratio() > 1 ? QPoint(0, 0) : QPoint(1, 1));
    frame->Restore();
    QTest::qWait(200);
    EXPECT_EQ(ServerGeometry(main).topLeft(), QPoint(int(std::lround(20 * Ratio())), int(std::lround(20 * Ratio()))));

    skindialogs::TSkinMessage message;
    auto* skin = main.findChild<skin::TSkinData*>(QStringLiteral("SkinData1"));
    message.SetSkinData(skin);
    message.SetCtrlSkinData(skin);
    std::unique_ptr<skindialogs::TMessageForm> dialog(message.CreateMessageForm(
        QStringLiteral("The table holds 200 keywords."), skindialogs::TMsgDlgType::mtInformation, 4));
    Show(*dialog, QPoint(20 + main.width() + 10, 20));
    const QSize logical = dialog->size();
    auto* dialogFrame = dialog->SkinFrame1;
    const QImage dialogShot = CheckWindow(*dialog, dialogFrame, QStringLiteral("dialog"), bare);
    CheckCaptionDrawnAtTheRatio(dialogShot, dialogFrame);
    EXPECT_EQ(dialog->size(), logical);
}

}  // namespace
}  // namespace dorvanel
