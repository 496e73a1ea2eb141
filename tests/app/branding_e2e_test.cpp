// The branded main window end to end, through real clicks: a program folder with dbconfig.dat, a banner and
// dbservices.dat, and a recording browser installed as the desktop's default for HTML pages and addresses.
#include "app/main_window.h"

#include "app/window_access.h"
#include "images/gif/gif_bytes.h"
#include "images/gif_animator.h"
#include "skin/archive_builder.h"
#include "skinctrls/skin_button.h"
#include "skinctrls/skin_frame.h"
#include "skinctrls/skin_labels.h"
#include "support/plain/temp_dir.h"
#include "support/qt/modal.h"
#include "support/qt/recording_browser.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QTest>

#include <algorithm>

namespace dorvanel::app {
namespace {

using test::Control;
using Args = std::vector<std::string>;

const std::string kBannerURL = "http://127.0.0.1/banner?a=\"1\";b=$(touch x)&c='2'";

class BrandedWindowE2E : public ::testing::Test {
protected:
    void WriteFolder(const std::string& bannerName) {
        test::writeFileBytes(dir_.file("dbconfig.dat"),
                             "[Settings]\r\nAppName=Keyword Finder Pro\r\nAfiliateID=12345\r\nBannerPath1=C:\\ads\\" +
                                 bannerName + "\r\nBannerURL1=" + kBannerURL +
                                 "\r\nLink1URL=http://127.0.0.1/one\r\nLink1Name=One\r\n"
                                 "Link2URL=http://127.0.0.1/two\r\nLink2Name=Two\r\n");
        test::writeFileBytes(dir_.file("dbservices.dat"), "[Services]\r\nAffiliateHost=127.0.0.1:9\r\n");
    }
    QString Folder() const { return QString::fromStdString(dir_.path().string()); }

    test::TempDir dir_;
};

// Shows the window and answers the first message it shows once it runs; that message's text.
QString MessageOnceShown(TfrmMain& w) {
    QString shown;
    test::WhenModal([&](QWidget* box) {
        shown = box->findChild<skinctrls::TSkinStdLabel*>(QStringLiteral("Message"))->Caption();
        test::PressKey(box, Qt::Key_Return);
    });
    w.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 10000));
    return shown;
}

bool Has(const std::vector<std::vector<std::string>>& calls, const std::string& url) {
    return std::find(calls.begin(), calls.end(), Args{url}) != calls.end();
}

TEST_F(BrandedWindowE2E, BannerMakeMoneyAndFooterLinkStartTheBrowser) {
    WriteFolder("promo.png");
    QImage picture(200, 60, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(QString::fromStdString(dir_.file("dbimg1.dat")), "PNG"));
    // Only the address on the Exec line: xdg-open passes a desktop entry's options on, the browser launcher not.
    test::TRecordingBrowser browser("%u");

    TfrmMain w(nullptr, Folder());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.windowTitle(), "Keyword Finder Pro");
    auto* banner = Control<QLabel>(w, "imgBanner");
    EXPECT_EQ(Control<QWidget>(w, "panBanner")->height(), 70);
    EXPECT_EQ(banner->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(banner, Qt::LeftButton, {}, banner->rect().center());
    EXPECT_TRUE(Has(browser.WaitForCalls(1), kBannerURL));
    QTest::mouseClick(Control<QWidget>(w, "btnMakeMoney"), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(Has(browser.WaitForCalls(2), "http://127.0.0.1:9/likes/QOLVA12345"));
    auto* link = Control<skinctrls::TSkinLinkLabel>(w, "lblLink2URL");
    const std::string linkURL = link->URL().toStdString();
    EXPECT_TRUE(linkURL == "http://127.0.0.1/one" || linkURL == "http://127.0.0.1/two") << linkURL;
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(3, 3));
    const auto calls = browser.WaitForCalls(3);
    EXPECT_TRUE(Has(calls, linkURL));
    EXPECT_EQ(calls.size(), 3u);
}

TEST_F(BrandedWindowE2E, AnimatedBannerClick) {
    WriteFolder("spin.GIF");
    gif::testing::GifBuilder b;
    b.Header(40, 20, 2).Loop(0).GraphicControl(1, 10).Image(
        0, 0, 40, 20, gif::testing::LiteralImageData(std::vector<std::uint8_t>(800, 1), 2));
    b.GraphicControl(1, 10).Image(0, 0, 2, 2, gif::testing::LiteralImageData({2, 2, 2, 2}, 2)).Trailer();
    test::writeFileBytes(dir_.file("dbimg1.dat"), b.bytes);
    test::TRecordingBrowser browser;

    TfrmMain w(nullptr, Folder());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* gifBanner = Control<images::TGIFAnimator>(w, "gifBanner");
    EXPECT_TRUE(gifBanner->isVisible());
    EXPECT_EQ(gifBanner->size(), QSize(40, 20));
    QTest::mouseClick(gifBanner, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(browser.WaitForCalls(1), (std::vector<Args>{{kBannerURL}}));
}

TEST_F(BrandedWindowE2E, DamagedBannerIsReportedOnceTheWindowRuns) {
    WriteFolder("promo.jpg");
    test::writeFileBytes(dir_.file("dbimg1.dat"), "not a JPEG");
    TfrmMain w(nullptr, Folder());
    EXPECT_EQ(w.windowTitle(), "Keyword Finder Pro");  // the steps before the failure stay done
    // The footer links come after the banner and keep their first captions.
    EXPECT_EQ(Control<skinctrls::TSkinLinkLabel>(w, "lblLink1URL")->Caption(), "Google");
    EXPECT_EQ(MessageOnceShown(w), "JPEG image is not valid");
}

TEST_F(BrandedWindowE2E, ASkinWhoseFrameCannotServeIsRefusedAndReported) {
    // Frame points that leave the nine parts without a middle: no border and no caption would be drawn.
    test::writeFileBytes(dir_.file("dbconfig.dat"), "[Settings]\r\nAppName=Hostile\r\n");
    skin::test::ArchiveBuilder b;
    b.Picture = skin::test::SolidPicture(60, 40, Qt::darkBlue);
    b.Text = "[VERSION]\r\nskinname=Hostile\r\n[PICTURES]\r\npicture=f.bmp\r\n[FORMINFO]\r\nlefttoppoint=10,10\r\n"
             "righttoppoint=50,10\r\nleftbottompoint=10,30\r\nrightbottompoint=10,30\r\nclientrect=4,20,56,36\r\n"
             "captionrect=4,2,40,18\r\n";
    test::writeFileBytes(dir_.file("dbskin.dat"),
                         skin::test::ArchiveFile(3, skin::test::Compress(b.Inner())).toStdString());
    TfrmMain w(nullptr, Folder());
    auto* frame = w.findChild<skinctrls::TSkinFrame*>(QStringLiteral("SkinFrame1"));
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->SkinInUse());
    ASSERT_NE(frame->Button(skin::TStdCommand::cmClose), nullptr);
    EXPECT_EQ(MessageOnceShown(w), "Skin frame is not valid");
}

}  // namespace
}  // namespace dorvanel::app
