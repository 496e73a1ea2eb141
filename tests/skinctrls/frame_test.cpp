// The window frame with the program's skin and without: where the client area lies, what each point of the
// frame is, which caption buttons a window shows, the system menu, the window states and skin changes.
#include "defaultskin/default_skin.h"
#include "skinctrls/program_skin.h"
#include "skinctrls/skin_form.h"
#include "skinctrls/skin_frame.h"
#include "skinctrls/skin_popup_menu.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace dorvanel::skinctrls {
namespace {

using skin::TStdCommand;

using test::ProgramSkin;

// A main-window-like form: sizeable, minimise and maximise, client 644 x 455.
struct MainForm {
    std::unique_ptr<skin::TSkinData> skin = ProgramSkin();
    QWidget form;
    TSkinFrame* frame = new TSkinFrame(&form, TFormBorderStyle::bsSizeable);

    explicit MainForm(bool skinned = true) {
        if (skinned) frame->SetSkinData(skin.get());
        frame->SetClientSize(644, 455);
        form.move(100, 80);
    }
    QPoint CaptionPoint() const { return frame->CaptionObject()->ObjectRect.center(); }
};

std::vector<QString> MenuCaptions(TSkinFrame& frame) {
    frame.ShowSystemMenu(frame.Form()->mapToGlobal(QPoint(0, 0)));
    std::vector<QString> captions;
    for (const TSkinMenuItem& item : frame.SystemMenu()->Items())
        captions.push_back(item.Separator ? "-" : item.Caption);
    frame.SystemMenu()->close();
    return captions;
}

TEST(SkinFrame, ClientAreaLiesInsideTheSkinnedAndThePlainFrame) {
    MainForm skinned;
    EXPECT_EQ(skinned.frame->ClientArea()->geometry(), QRect(8, 25, 644, 455));
    EXPECT_EQ(skinned.form.size(), QSize(644 + 16, 455 + 33));
    MainForm plain(false);
    EXPECT_EQ(plain.frame->ClientArea()->geometry(), QRect(3, 22, 644, 455));
    // A control keeps its position in the client area whatever frame is around it.
    auto* child = new QWidget(skinned.frame->ClientArea());
    child->setGeometry(13, 37, 280, 15);
    skinned.skin->UnloadSkin();
    EXPECT_EQ(child->geometry(), QRect(13, 37, 280, 15));
    EXPECT_EQ(skinned.frame->ClientArea()->pos(), QPoint(3, 22));
    EXPECT_FALSE(skinned.frame->SkinInUse());
}

TEST(SkinFrame, HitCodesAlongTheBorderCornersAndCaption) {
    MainForm m;
    const int w = m.form.width(), h = m.form.height();
    struct Case {
        QPoint at;
        THitCode code;
    } cases[] = {
        {{0, h / 2}, THitCode::Left},
        {{w - 1, h / 2}, THitCode::Right},
        {{w / 2, 0}, THitCode::Top},
        {{w / 2, h - 1}, THitCode::Bottom},
        {{1, 1}, THitCode::TopLeft},
        {{w - 2, 2}, THitCode::TopRight},
        {{2, h - 2}, THitCode::BottomLeft},
        {{w - 3, h - 1}, THitCode::BottomRight},
        {{3, h / 2}, THitCode::Left},    // the border zone is 4 deep
        {{4, h / 2}, THitCode::Object},  // ... and no deeper
        {{4, 4}, THitCode::TopLeft},     // in the zone only because the rounded outline is 4 away
        {{w / 2, 12}, THitCode::Caption},
        {{w / 2, h / 2}, THitCode::Client},
        {m.frame->Button(TStdCommand::cmClose)->ObjectRect.center(), THitCode::Object},
        {{w, h / 2}, THitCode::Nowhere},
    };
    for (const Case& c : cases) EXPECT_EQ(m.frame->HitTest(c.at), c.code) << c.at.x() << "," << c.at.y();
    // Without the outline the same point is nowhere near a border.
    EXPECT_EQ(SkinBorderHit(m.frame->Fit(), 4, nullptr, {4, 4}), THitCode::Nowhere);

    // A maximised window is not sized by its border.
    m.frame->Maximize();
    EXPECT_EQ(m.frame->HitTest({0, m.form.height() / 2}), THitCode::Object);
}

TEST(SkinFrame, BorderPointsAtTheHitTestPointsBelongToTheCorners) {
    // A 200 x 100 window whose corners end at x 10 / 190 and y 10 / 90; the column and row of each point are
    // part of its corner, the next ones already part of the edge.
    TFrameFit fit;
    fit.WindowSize = {200, 100};
    fit.ClientRect = {4, 20, 196, 96};
    fit.HitLTPoint = {10, 10}, fit.HitRTPoint = {190, 10}, fit.HitLBPoint = {10, 90}, fit.HitRBPoint = {190, 90};
    struct Case {
        QPoint at;
        THitCode code;
    } cases[] = {
        {{10, 0}, THitCode::TopLeft},     {{0, 10}, THitCode::TopLeft},     {{11, 0}, THitCode::Top},
        {{0, 11}, THitCode::Left},        {{190, 0}, THitCode::TopRight},   {{199, 10}, THitCode::TopRight},
        {{189, 0}, THitCode::Top},        {{199, 11}, THitCode::Right},     {{10, 99}, THitCode::BottomLeft},
        {{0, 90}, THitCode::BottomLeft},  {{11, 99}, THitCode::Bottom},     {{0, 89}, THitCode::Left},
        {{190, 99}, THitCode::BottomRight}, {{199, 90}, THitCode::BottomRight}, {{189, 99}, THitCode::Bottom},
        {{199, 89}, THitCode::Right},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SkinBorderHit(fit, 4, nullptr, c.at), c.code) << c.at.x() << "," << c.at.y();
}

TEST(SkinFrame, MainWindowAndDialogCaptionButtons) {
    MainForm m;
    const int w = m.form.width();
    const QRect close = m.frame->Button(TStdCommand::cmClose)->ObjectRect;
    const QRect max = m.frame->Button(TStdCommand::cmMaximize)->ObjectRect;
    const QRect min = m.frame->Button(TStdCommand::cmMinimize)->ObjectRect;
    const QRect sys = m.frame->Button(TStdCommand::cmSysMenu)->ObjectRect;
    // From the caption strip's right edge leftward: close, maximise, minimise; the system menu at its left.
    EXPECT_EQ(close.right(), w - 2);
    EXPECT_EQ(max.right() + 1, close.left());
    EXPECT_EQ(min.right() + 1, max.left());
    EXPECT_EQ(sys.left(), 1);
    const QRect caption = m.frame->CaptionObject()->ObjectRect;
    EXPECT_EQ(caption.left(), sys.right() + 1);
    EXPECT_EQ(caption.right() + 1, min.left());

    auto skin = ProgramSkin();
    TSkinForm dialog;
    dialog.SkinFrame1->SetSkinData(skin.get());
    dialog.SetClientSize(309, 109);
    TSkinFrame& f = *dialog.SkinFrame1;
    ASSERT_TRUE(f.Button(TStdCommand::cmClose) && f.Button(TStdCommand::cmSysMenu));
    EXPECT_EQ(f.Button(TStdCommand::cmMaximize), nullptr);
    EXPECT_EQ(f.Button(TStdCommand::cmMinimize), nullptr);
    // Where a maximise button would be is caption; the dialog's border does not size it.
    const QPoint whereMaxWas(f.Button(TStdCommand::cmClose)->ObjectRect.left() - 10, 12);
    EXPECT_EQ(f.HitTest(whereMaxWas), THitCode::Caption);
    EXPECT_EQ(f.HitTest({0, dialog.height() / 2}), THitCode::Object);
    // Its client area is the size it asked for.
    EXPECT_EQ(f.ClientSize(), QSize(309, 109));
    EXPECT_EQ(dialog.size(), QSize(309 + 16, 109 + 33));
}

TEST(SkinFrame, SystemMenuItemsFollowTheWindowState) {
    MainForm m;
    using V = std::vector<QString>;
    EXPECT_EQ(MenuCaptions(*m.frame), (V{"Mi&nimize", "Ma&ximize", "-", "&Close"}));
    m.frame->Maximize();
    EXPECT_EQ(MenuCaptions(*m.frame), (V{"Mi&nimize", "&Restore", "-", "&Close"}));
    m.frame->Minimize();
    EXPECT_EQ(MenuCaptions(*m.frame), (V{"Ma&ximize", "&Restore", "-", "&Close"}));

    TSkinForm dialog;
    EXPECT_EQ(MenuCaptions(*dialog.SkinFrame1), (V{"&Close"}));
    // The skin's own captions win.
    skin::TResourceStrData strings;
    strings.SetResStr("MI_CLOSECAPTION", "&Schliessen");
    m.skin->SetResourceStrData(&strings);
    dialog.SkinFrame1->SetSkinData(m.skin.get());
    EXPECT_EQ(MenuCaptions(*dialog.SkinFrame1), (V{"&Schliessen"}));
}

TEST(SkinFrame, MaximiseAndRestoreRoundTripKeepsTheExactBounds) {
    MainForm m;
    m.form.show();
    const QRect before = m.form.geometry();
    QTest::mouseDClick(&m.form, Qt::LeftButton, {}, m.CaptionPoint());
    EXPECT_EQ(m.frame->WindowState(), TFrameWindowState::wsMaximized);
    QScreen* screen = m.form.screen();
    QRect expected = screen->availableGeometry();
    if (expected == screen->geometry()) expected.adjust(1, 1, -1, -1);
    EXPECT_EQ(m.form.geometry(), expected);
    // Dragging the caption of a maximised window leaves it where it is.
    QTest::mousePress(&m.form, Qt::LeftButton, {}, m.CaptionPoint());
    QTest::mouseMove(&m.form, m.CaptionPoint() + QPoint(30, 30));
    QTest::mouseRelease(&m.form, Qt::LeftButton, {}, m.CaptionPoint() + QPoint(30, 30));
    EXPECT_EQ(m.form.geometry(), expected);
    QTest::mouseDClick(&m.form, Qt::LeftButton, {}, m.CaptionPoint());
    EXPECT_EQ(m.form.geometry(), before);
    EXPECT_TRUE(m.frame->RestoreBounds().isNull());

    // The same by the button, and the minimise button with the frame's own minimise (no window manager here).
    QTest::mouseClick(&m.form, Qt::LeftButton, {}, m.frame->Button(TStdCommand::cmMaximize)->ObjectRect.center());
    EXPECT_EQ(m.form.geometry(), expected);
    QTest::mouseClick(&m.form, Qt::LeftButton, {}, m.frame->Button(TStdCommand::cmMaximize)->ObjectRect.center());
    EXPECT_EQ(m.form.geometry(), before);
    QTest::mouseClick(&m.form, Qt::LeftButton, {}, m.frame->Button(TStdCommand::cmMinimize)->ObjectRect.center());
    EXPECT_EQ(m.frame->WindowState(), TFrameWindowState::wsMinimized);
    EXPECT_EQ(m.form.size(), m.frame->MinimalSize());
    EXPECT_EQ(m.form.geometry().bottomLeft(), screen->availableGeometry().bottomLeft());
    QTest::mouseDClick(&m.form, Qt::LeftButton, {}, m.CaptionPoint());
    EXPECT_EQ(m.form.geometry(), before);
}

TEST(SkinFrame, DraggingTheCaptionAndTheBorderMovesAndSizesTheWindow) {
    MainForm m;
    m.form.show();
    const QRect before = m.form.geometry();
    const QPoint grip = m.CaptionPoint();
    QTest::mousePress(&m.form, Qt::LeftButton, {}, grip);
    QTest::mouseMove(&m.form, grip + QPoint(40, 25));
    QTest::mouseRelease(&m.form, Qt::LeftButton, {}, grip + QPoint(40, 25));
    EXPECT_EQ(m.form.geometry(), before.translated(40, 25));

    const QRect moved = m.form.geometry();
    const QPoint edge(m.form.width() - 1, m.form.height() - 1);
    QTest::mousePress(&m.form, Qt::LeftButton, {}, edge);
    QTest::mouseMove(&m.form, edge + QPoint(30, 20));
    QTest::mouseRelease(&m.form, Qt::LeftButton, {}, edge + QPoint(30, 20));
    EXPECT_EQ(m.form.geometry(), moved.adjusted(0, 0, 30, 20));
    EXPECT_EQ(m.frame->ClientSize(), QSize(644 + 30, 455 + 20));
    // Sizing stops at the frame's smallest size.
    const QPoint left(0, m.form.height() / 2);
    QTest::mousePress(&m.form, Qt::LeftButton, {}, left);
    QTest::mouseMove(&m.form, left + QPoint(5000, 0));
    QTest::mouseRelease(&m.form, Qt::LeftButton, {}, left + QPoint(5000, 0));
    EXPECT_EQ(m.form.width(), m.frame->MinimalSize().width());
    EXPECT_EQ(m.form.geometry().right(), moved.right() + 30);
}

TEST(SkinFrame, CaptionButtonsRunOnlyWhenReleasedOverThemAndCloseCloses) {
    MainForm m;
    m.form.show();
    const QRect close = m.frame->Button(TStdCommand::cmClose)->ObjectRect;
    QTest::mousePress(&m.form, Qt::LeftButton, {}, close.center());
    EXPECT_TRUE(m.frame->Button(TStdCommand::cmClose)->Pressed);
    QTest::mouseMove(&m.form, close.center() - QPoint(60, 0));
    QTest::mouseRelease(&m.form, Qt::LeftButton, {}, close.center() - QPoint(60, 0));
    EXPECT_TRUE(m.form.isVisible());
    EXPECT_FALSE(m.frame->Button(TStdCommand::cmClose)->Pressed);
    QTest::mouseClick(&m.form, Qt::LeftButton, {}, close.center());
    EXPECT_FALSE(m.form.isVisible());

    // A dialog closed through its frame (button, Alt+F4) answers Cancel; double-clicking its caption does nothing.
    TSkinForm dialog;
    dialog.SetClientSize(200, 80);
    QTimer::singleShot(0, &dialog, [&] {
        const QRect before = dialog.geometry();
        QTest::mouseDClick(&dialog, Qt::LeftButton, {}, dialog.SkinFrame1->CaptionObject()->ObjectRect.center());
        EXPECT_EQ(dialog.geometry(), before);
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(&dialog, Qt::Key_F4, Qt::AltModifier);
    });
    QTimer::singleShot(10000, &dialog, [&] {
        if (dialog.isVisible()) dialog.done(99);
    });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
}

TEST(SkinFrame, SkinChangeImposesTheClientSizeAndRaisesItsEvent) {
    MainForm m(false);
    int raised = 0;
    m.frame->OnChangeSkinData = [&] { ++raised; };
    m.frame->ClientWidth = 500;
    m.frame->ClientHeight = 300;
    m.frame->SetSkinData(m.skin.get());
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(m.frame->ClientSize(), QSize(500, 300));
    EXPECT_EQ(m.form.size(), QSize(516, 333));
    // A window smaller than the skin allows is enlarged to the frame's smallest size.
    m.frame->ClientWidth = m.frame->ClientHeight = 0;
    m.form.setMinimumSize(0, 0);
    m.form.resize(20, 10);
    m.skin->UnloadSkin();
    skin::TCompressedStoredSkin stored;
    stored.CompressedData = defaultskin::DefaultSkinData();
    m.skin->ApplyStoredSkin(stored);
    EXPECT_EQ(m.form.size(), m.skin->MainPicture().size() - QSize(0, m.skin->FormInfo().clientrect.Height()));
    EXPECT_EQ(raised, 3);
}

TEST(SkinFrame, OutlineFollowsTheSizeAndInactiveButtonsUseTheirImages) {
    MainForm m;
    const QRegion& shape = m.frame->WindowShape();
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_TRUE(shape.contains(QPoint(m.form.width() / 2, 0)));
    EXPECT_TRUE(shape.contains(QPoint(m.form.width() / 2, m.form.height() / 2)));
    m.frame->SetClientSize(800, 600);
    EXPECT_FALSE(m.frame->WindowShape().contains(QPoint(m.form.width() - 1, m.form.height() - 1)));
    EXPECT_TRUE(m.frame->WindowShape().contains(QPoint(m.form.width() / 2, m.form.height() - 1)));

    // An inactive window shows each button's inactive image.
    m.form.show();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_FALSE(m.frame->Active());
    const TSkinStdButtonObject* close = m.frame->Button(TStdCommand::cmClose);
    const QImage frame = m.frame->RenderImage();
    const QImage& picture = *close->Picture(m.skin.get());
    const QPoint inside(close->ObjectRect.width() / 2, close->ObjectRect.height() / 2);
    EXPECT_EQ(frame.pixel(close->ObjectRect.topLeft() + inside),
              picture.pixel(close->Button()->inactiveskinrect.ToQRect().topLeft() + inside));
}

// The window can be moved by its caption and closed by its close button, and every pixel of its frame is
// drawn (a frame rendered over transparency leaves none of it transparent).
void ExpectUsable(TSkinFrame& frame) {
    const TSkinCaptionObject* caption = frame.CaptionObject();
    ASSERT_NE(caption, nullptr);
    const QRegion& shape = frame.WindowShape();
    EXPECT_TRUE(shape.isEmpty() || shape.contains(caption->ObjectRect.center()));
    EXPECT_EQ(frame.HitTest(caption->ObjectRect.center()), THitCode::Caption);
    const TSkinStdButtonObject* close = frame.Button(TStdCommand::cmClose);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(frame.HitTest(close->ObjectRect.center()), THitCode::Object);
    EXPECT_TRUE(shape.isEmpty() || shape.contains(close->ObjectRect.center()));
    const QImage image = frame.RenderImage();
    const QRect client = frame.ClientArea()->geometry();
    int unwritten = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!client.contains(x, y) && qAlpha(image.pixel(x, y)) != 255) ++unwritten;
    EXPECT_EQ(unwritten, 0);
}

TEST(SkinFrame, AHostileSkinGivesAUsableWindow) {
    // A client rectangle past and inside out of its picture, points and rectangles past every picture, offsets
    // and a border width past any coordinate, a mask and an inactive picture of other sizes.
    skin::test::ArchiveBuilder b;
    b.Picture = skin::test::SolidPicture(40, 30, Qt::darkBlue);
    b.InactivePicture = skin::test::SolidPicture(7, 3, Qt::gray);
    b.Mask = skin::test::SolidPicture(5, 5, Qt::black);
    b.List = {skin::test::SolidPicture(16, 16, Qt::darkGreen)};
    b.Text =
        "[VERSION]\r\nskinname=Hostile\r\n[PICTURES]\r\npicture=f.bmp\r\ninactivepicture=i.bmp\r\nmask=m.bmp\r\n"
        "activepicturescount=1\r\n0=a.bmp\r\n[FORMINFO]\r\nclientrect=30,99999,2,1\r\nlefttoppoint=99999,0\r\n"
        "rightbottompoint=99999,99999\r\ncaptionrect=9,9,1,1\r\nbuttonsrect=0,0,99999,99999\r\n"
        "buttonsoffset=-2000000000\r\nborderwidth=2000000000\r\nautorenderinginactiveimage=1\r\n"
        "inactiveeffect=iesplitblur\r\n[SKINOBJECTS]\r\ncount=3\r\n0=caption:caption\r\n1=close:stdbutton\r\n"
        "2=max:stdbutton\r\n[caption]\r\nskinrectinapicture=1\r\nactivepictureindex=0\r\nskinrect=0,0,99999,3\r\n"
        "textrect=900,0,3,2\r\nfontheight=2000000\r\nframerect=0,0,99999,99999\r\n[close]\r\ncommand=cmclose\r\n"
        "skinrectinapicture=1\r\nactivepictureindex=0\r\nskinrect=0,0,99999,99999\r\n[max]\r\ncommand=cmmaximize\r\n"
        "skinrectinapicture=0\r\nskinrect=5,5,99999,99999\r\n";
    skin::TSkinData data;
    test::ApplyArchive(data, b);
    ASSERT_FALSE(data.SkinEmpty());
    QWidget form;
    TSkinFrame frame(&form, TFormBorderStyle::bsSizeable);
    frame.SetSkinData(&data);
    frame.SetClientSize(300, 200);
    form.show();
    EXPECT_EQ(frame.ClientSize(), QSize(300, 200));
    EXPECT_LE(form.width(), skin::kMaxPaintSide);
    EXPECT_LE(form.height(), skin::kMaxPaintSide);
    for (int y = 0; y < form.height(); y += 7)
        for (int x = 0; x < form.width(); x += 7) frame.HitTest({x, y});
    frame.Maximize();
    frame.RenderImage();
    frame.Restore();
    ExpectUsable(frame);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(frame.RenderImage().isNull());
}

// A small skin whose frame is usable as it stands; each case below spoils one thing of its [FORMINFO].
std::string FrameSkinText(const std::string& forminfo, const std::string& closeRect = "44,2,56,14") {
    return "[VERSION]\r\nskinname=Frame\r\n[PICTURES]\r\npicture=f.bmp\r\n[FORMINFO]\r\n" + forminfo +
           "captionrect=4,2,40,18\r\nborderwidth=3\r\n[SKINOBJECTS]\r\ncount=2\r\n0=caption:caption\r\n"
           "1=close:stdbutton\r\n[caption]\r\nskinrectinapicture=0\r\nskinrect=4,2,40,18\r\n"
           "[close]\r\ncommand=cmclose\r\nskinrectinapicture=0\r\nskinrect=" + closeRect + "\r\n";
}

TEST(SkinFrame, FramesThatWouldLeaveTheWindowUnusableAreRefusedOnce) {
    const std::string points = "lefttoppoint=10,10\r\nrighttoppoint=50,10\r\nleftbottompoint=10,30\r\n";
    const struct {
        const char* what;
        std::string text;
        bool usable;
    } cases[] = {
        {"usable", FrameSkinText(points + "rightbottompoint=50,30\r\nclientrect=4,20,56,36\r\n"), true},
        {"no middle across", FrameSkinText(points + "rightbottompoint=10,30\r\nclientrect=4,20,56,36\r\n"), false},
        {"no middle down", FrameSkinText(points + "rightbottompoint=50,10\r\nclientrect=4,20,56,36\r\n"), false},
        {"caption strip too low", FrameSkinText(points + "rightbottompoint=50,30\r\nclientrect=4,7,56,36\r\n"), false},
        {"no left border", FrameSkinText(points + "rightbottompoint=50,30\r\nclientrect=0,20,56,36\r\n"), false},
        {"no bottom border", FrameSkinText(points + "rightbottompoint=50,30\r\nclientrect=4,20,56,40\r\n"), false},
        {"close button off the window",
         FrameSkinText(points + "rightbottompoint=50,30\r\nclientrect=4,20,56,36\r\n", "99990,2,99999,14"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        skin::test::ArchiveBuilder b;
        b.Picture = skin::test::SolidPicture(60, 40, Qt::darkBlue);
        b.Text = c.text;
        skin::TSkinData data;
        test::ApplyArchive(data, b);
        ASSERT_FALSE(data.SkinEmpty());
        QWidget form;
        TSkinFrame frame(&form, TFormBorderStyle::bsSizeable);
        int refused = 0;
        frame.OnSkinRefused = [&] { ++refused; };
        frame.SetSkinData(&data);
        frame.SetClientSize(300, 200);
        EXPECT_EQ(frame.SkinInUse(), c.usable);
        EXPECT_EQ(refused, c.usable ? 0 : 1);
        ExpectUsable(frame);
    }
}

TEST(SkinFrame, Screenshots) {
    const QString shots = qEnvironmentVariable("DORVANEL_SCREENSHOTS");
    if (shots.isEmpty()) GTEST_SKIP() << "set DORVANEL_SCREENSHOTS to a folder to take them";
    for (const bool skinned : {true, false}) {
        MainForm m(skinned);
        m.form.setWindowTitle(QStringLiteral("Dorvanel"));
        m.form.show();
        m.form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m.form));
        const QString name = skinned ? QStringLiteral("skinned") : QStringLiteral("plain");
        m.form.grab().save(shots + "/frame_" + name + "_active.png");
        QWidget other;
        other.show();
        other.activateWindow();
        if (QTest::qWaitForWindowActive(&other)) m.form.grab().save(shots + "/frame_" + name + "_inactive.png");
    }
    // A skin whose frame points leave the nine parts without a middle: the window wears the plain frame.
    skin::test::ArchiveBuilder b;
    b.Picture = skin::test::SolidPicture(60, 40, Qt::darkBlue);
    b.Text = FrameSkinText("lefttoppoint=10,10\r\nrighttoppoint=50,10\r\nleftbottompoint=10,30\r\n"
                           "rightbottompoint=10,30\r\nclientrect=4,20,56,36\r\n");
    skin::TSkinData data;
    test::ApplyArchive(data, b);
    QWidget form;
    TSkinFrame frame(&form, TFormBorderStyle::bsSizeable);
    form.setWindowTitle(QStringLiteral("Hostile frame points"));
    frame.SetSkinData(&data);
    frame.SetClientSize(300, 160);
    form.show();
    form.grab().save(shots + "/frame_hostile.png");
}

}  // namespace
}  // namespace dorvanel::skinctrls

namespace dorvanel::skinctrls {
namespace {

TEST(SkinFrame, AMorphingCaptionBlendsBetweenItsInactiveAndActiveLooks) {
    QImage sheet = skin::test::SolidPicture(20, 40, Qt::black);
    QPainter(&sheet).fillRect(0, 20, 20, 20, Qt::white);
    skin::test::ArchiveBuilder b;
    b.Picture = skin::test::SolidPicture(60, 40, Qt::darkBlue);
    b.List = {sheet};
    b.Text = "[VERSION]\r\nskinname=Morph\r\n[PICTURES]\r\npicture=f.bmp\r\nactivepicturescount=1\r\n0=s.bmp\r\n"
             "[FORMINFO]\r\nlefttoppoint=10,10\r\nrighttoppoint=50,10\r\nleftbottompoint=10,30\r\n"
             "rightbottompoint=50,30\r\nclientrect=4,20,56,36\r\ncaptionrect=4,2,40,18\r\n[SKINOBJECTS]\r\ncount=2\r\n"
             "0=caption:caption\r\n1=close:stdbutton\r\n[caption]\r\nskinrectinapicture=1\r\nactivepictureindex=0\r\n"
             "skinrect=0,0,20,16\r\nactiveskinrect=0,20,20,36\r\ntextrect=2,2,18,14\r\nmorphing=1\r\n"
             "morphkind=mkdefault\r\n[close]\r\ncommand=cmclose\r\nskinrectinapicture=0\r\nskinrect=44,2,56,14\r\n";
    skin::TSkinData data;
    test::ApplyArchive(data, b);
    QWidget form;
    TSkinFrame frame(&form, TFormBorderStyle::bsSizeable);
    frame.SetSkinData(&data);
    frame.SetClientSize(200, 100);
    ASSERT_TRUE(frame.SkinInUse());
    TSkinCaptionObject* caption = frame.CaptionObject();
    ASSERT_NE(caption, nullptr);
    const QPoint at = caption->ObjectRect.topLeft() + QPoint(1, 1);
    EXPECT_EQ(qRed(frame.RenderImage().pixel(at)), 0);
    // Part of the way toward the active look: neither the one image nor the other.
    caption->Blend.MoveTo(true, true);
    caption->Blend.Tick();
    ASSERT_TRUE(caption->Blend.InProgress());
    const int red = qRed(frame.RenderImage().pixel(at));
    EXPECT_GT(red, 20);
    EXPECT_LT(red, 235);
}

}  // namespace
}  // namespace dorvanel::skinctrls
