// The animator control: size, timer interval, frame advance and looping, painting over its parent, and the
// image control's click.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPainter>
#include <QTest>
#include <QThread>

#include <sstream>

#include "images/gif/gif_bytes.h"
#include "images/gif/gif_errors.h"
#include "images/gif_animator.h"
#include "support/plain/imagemagick.h"
#include "support/plain/temp_dir.h"

namespace dorvanel::images {
namespace {

using gif::testing::GifBuilder;
using gif::testing::LiteralImageData;

// Global table: 0 white, 1 red, 2 green, 3 blue.
const std::vector<std::uint8_t> kColours = {255, 255, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255};

// A 4 x 2 animation: frame i is filled with colour index i + 1, shown for delays[i] hundredths.
std::string Animation(const std::vector<int>& delays, int loopCount = -1) {
    GifBuilder b;
    b.Header(4, 2, 2, 0, "GIF89a", kColours);
    if (loopCount >= 0) b.Loop(loopCount);
    for (std::size_t i = 0; i < delays.size(); ++i) {
        b.GraphicControl(1, delays[i]);
        b.Image(0, 0, 4, 2, LiteralImageData(std::vector<std::uint8_t>(8, static_cast<std::uint8_t>(1 + i % 3)), 2));
    }
    return b.Trailer().bytes;
}

void Load(TGIFAnimator& a, const std::string& bytes) {
    std::istringstream in(bytes);
    a.LoadFromStream(in);
}

// A parent with a colour of its own, the animator on it, shown.
struct Stage {
    Stage() {
        parent.resize(40, 30);
        QPalette pal = parent.palette();
        pal.setColor(QPalette::Window, QColor(200, 0, 200));
        parent.setPalette(pal);
        parent.setAutoFillBackground(true);
        animator = new TGIFAnimator(&parent);
        parent.show();
    }
    QRgb PixelAt(int x, int y) { return parent.grab().toImage().pixel(x, y); }

    QWidget parent;
    TGIFAnimator* animator;
};

TEST(GifAnimator, Defaults) {
    TGIFAnimator a;
    EXPECT_FALSE(a.Animate());
    EXPECT_FALSE(a.AsyncDrawing());
    EXPECT_TRUE(a.AutoSize());
    EXPECT_FALSE(a.Center());
    EXPECT_TRUE(a.Loop());
    EXPECT_FALSE(a.Stretch());
    EXPECT_TRUE(a.Transparent());
    EXPECT_EQ(a.FrameIndex(), -1);
    EXPECT_EQ(a.size(), QSize(105, 105));
}

TEST(GifAnimator, LoadingSetsSizeFrameAndInterval) {
    TGIFAnimator a;
    int changes = 0;
    a.OnChange = [&] { ++changes; };
    Load(a, Animation({0, 4, 7, 2000}));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(a.size(), QSize(4, 2));
    EXPECT_EQ(a.FrameIndex(), 0);
    EXPECT_EQ(a.Timer().Interval(), 50);
    const int played[] = {50, 50, 70, 10000};
    for (int i = 1; i < 4; ++i) {
        a.SetFrameIndex(i);
        EXPECT_EQ(a.Timer().Interval(), played[i]);
    }
}

TEST(GifAnimator, BannerOf468By60TakesItsSize) {
    DORVANEL_REQUIRE_IMAGEMAGICK();
    test::TempDir dir;
    const std::string path = dir.file("banner.gif");
    ASSERT_TRUE(test::RunConvert({"-size", "468x60", "-delay", "10", "xc:red", "xc:blue", path}));
    TGIFAnimator a;
    a.LoadFromFile(path);
    EXPECT_EQ(a.size(), QSize(468, 60));
    EXPECT_EQ(a.sizeHint(), QSize(468, 60));
    a.SetAutoSize(false);
    a.resize(100, 100);
    a.LoadFromFile(path);
    EXPECT_EQ(a.size(), QSize(100, 100));
}

TEST(GifAnimator, OneFrameStopsTheTimer) {
    Stage s;
    Load(*s.animator, Animation({10}));
    s.animator->SetAnimate(true);
    EXPECT_TRUE(s.animator->Animate());
    EXPECT_EQ(s.animator->Timer().Interval(), 0);
    EXPECT_FALSE(s.animator->Timer().Ticking());
}

TEST(GifAnimator, PlaysOnceThroughWithoutLoop) {
    Stage s;
    Load(*s.animator, Animation({5, 5, 5}));
    std::vector<int> seen;
    int starts = 0, stops = 0;
    s.animator->OnFrameChanged = [&] { seen.push_back(s.animator->FrameIndex()); };
    s.animator->OnStart = [&] { ++starts; };
    s.animator->OnStop = [&] { ++stops; };
    s.animator->SetLoop(false);
    s.animator->SetAnimate(true);
    EXPECT_EQ(starts, 1);
    QTRY_VERIFY_WITH_TIMEOUT(stops == 1, 5000);
    EXPECT_FALSE(s.animator->Animate());
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0}));
    EXPECT_FALSE(s.animator->Timer().Ticking());
}

TEST(GifAnimator, LoopsForeverWhateverTheFileAsks) {
    Stage s;
    Load(*s.animator, Animation({5, 5}, 3));
    ASSERT_EQ(s.animator->Image().RepeatCount(), 3);
    int changed = 0;
    s.animator->OnFrameChanged = [&] { ++changed; };
    s.animator->SetAnimate(true);
    QTRY_VERIFY_WITH_TIMEOUT(changed >= 10, 10000);  // five times round two frames
    EXPECT_TRUE(s.animator->Animate());
    s.animator->SetAnimate(false);
    EXPECT_FALSE(s.animator->Timer().Ticking());
}

TEST(GifAnimator, HiddenControlDoesNotAdvance) {
    Stage s;
    Load(*s.animator, Animation({5, 5}));
    s.animator->hide();
    s.animator->SetAnimate(true);
    QTest::qWait(200);
    EXPECT_EQ(s.animator->FrameIndex(), 0);
    s.animator->show();
    QTRY_VERIFY_WITH_TIMEOUT(s.animator->FrameIndex() == 1, 5000);
}

TEST(GifAnimator, AsyncDrawingComposesOnTheTimersThreadAndReportsOnTheUiThread) {
    Stage s;
    Load(*s.animator, Animation({5, 5, 5}));
    int changed = 0;
    bool offUiThread = false;
    s.animator->OnFrameChanged = [&] {
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) offUiThread = true;
        ++changed;
    };
    s.animator->SetAsyncDrawing(true);
    s.animator->SetAnimate(true);
    QTRY_VERIFY_WITH_TIMEOUT(changed >= 4, 5000);
    EXPECT_FALSE(offUiThread);
    s.animator->SetAnimate(false);
}

TEST(GifAnimator, ReloadingWhileTheTimersThreadComposes) {
    Stage s;
    s.animator->SetAsyncDrawing(true);
    Load(*s.animator, Animation({5, 5, 5}));
    s.animator->SetAnimate(true);
    for (int i = 0; i < 20; ++i) {
        std::istringstream in(Animation({5, 5, 5, 5}));
        s.animator->LoadFromStream(in);
        QTest::qWait(15);
    }
    EXPECT_EQ(s.animator->Image().FrameCount(), 4);
    s.animator->SetAnimate(false);
}

TEST(GifAnimator, SettingFrameIndexFromOutside) {
    TGIFAnimator a;
    Load(a, Animation({5, 5, 5}));
    int changed = 0;
    a.OnFrameChanged = [&] { ++changed; };
    a.SetFrameIndex(0);  // unchanged
    a.SetFrameIndex(3);  // out of range
    a.SetFrameIndex(-1);
    EXPECT_EQ(changed, 0);
    a.SetFrameIndex(2);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(a.FrameIndex(), 2);
}

TEST(GifAnimator, FailedLoadEmptiesTheControl) {
    TGIFAnimator a;
    Load(a, Animation({5, 5}));
    int changes = 0;
    a.OnChange = [&] { ++changes; };
    EXPECT_THROW(Load(a, "GIF88a"), gif::EGIFUnknownVersion);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(a.FrameIndex(), -1);
    EXPECT_EQ(a.Timer().Interval(), 0);
}

TEST(GifAnimator, TransparentPixelsShowTheParent) {
    Stage s;
    GifBuilder b;
    b.Header(4, 2, 2, 0, "GIF89a", kColours).GraphicControl(1, 0, 0);
    b.Image(0, 0, 4, 2, LiteralImageData({1, 0, 3, 0, 0, 2, 0, 1}, 2)).Trailer();
    Load(*s.animator, b.bytes);
    s.animator->move(5, 6);
    EXPECT_EQ(s.PixelAt(5, 6), qRgb(255, 0, 0));
    EXPECT_EQ(s.PixelAt(6, 6), qRgb(200, 0, 200));
    EXPECT_EQ(s.PixelAt(7, 6), qRgb(0, 0, 255));
    EXPECT_EQ(s.PixelAt(6, 7), qRgb(0, 255, 0));
    // With Transparent off, the transparent colour (white) is painted.
    s.animator->SetTransparent(false);
    EXPECT_EQ(s.PixelAt(6, 6), qRgb(255, 255, 255));
}

TEST(GifAnimator, OpaquePictureAtTheTopLeftCentredOrStretched) {
    Stage s;
    Load(*s.animator, Animation({5}));  // 4 x 2 red
    s.animator->SetAutoSize(false);
    s.animator->setGeometry(0, 0, 9, 8);
    EXPECT_EQ(s.PixelAt(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(s.PixelAt(3, 1), qRgb(255, 0, 0));
    EXPECT_EQ(s.PixelAt(4, 0), qRgb(200, 0, 200));  // the control's colour, its parent's

    s.animator->SetCenter(true);  // offsets (9 - 4) / 2 = 2 and (8 - 2) / 2 = 3
    EXPECT_EQ(s.PixelAt(1, 3), qRgb(200, 0, 200));
    EXPECT_EQ(s.PixelAt(2, 3), qRgb(255, 0, 0));
    EXPECT_EQ(s.PixelAt(5, 4), qRgb(255, 0, 0));
    EXPECT_EQ(s.PixelAt(6, 4), qRgb(200, 0, 200));
    EXPECT_EQ(s.PixelAt(2, 5), qRgb(200, 0, 200));

    s.animator->SetStretch(true);
    EXPECT_EQ(s.PixelAt(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(s.PixelAt(8, 7), qRgb(255, 0, 0));
}

TEST(GifAnimator, EmptyControlShowsItsParent) {
    Stage s;
    EXPECT_EQ(s.PixelAt(10, 10), qRgb(200, 0, 200));
}

TEST(GifAnimator, ClickReachesOnClick) {
    Stage s;
    Load(*s.animator, Animation({5}));
    int clicks = 0;
    s.animator->OnClick = [&] { ++clicks; };
    QTest::mouseClick(s.animator, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace dorvanel::images
