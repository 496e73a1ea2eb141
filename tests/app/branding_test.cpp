// LoadBranding in a temporary program folder, on the controls the main window has: caption, banners of every
// kind, the banner area, cursors, footer links, skin and icon; failures and what they leave; stored files
// keeping their names.
#include "app/branding.h"

#include "images/gif/gif_bytes.h"
#include "images/gif_animator.h"
#include "platform/align.h"
#include "skin/skin_data.h"
#include "skinctrls/skin_labels.h"
#include "skinctrls/skin_panel.h"
#include "support/plain/temp_dir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>

#include <deque>
#include <filesystem>
#include <set>

namespace dorvanel::app {
namespace {

namespace fs = std::filesystem;
using gif::testing::GifBuilder;
using gif::testing::LiteralImageData;

// The main window's banner area, table area and footer links, laid out as the window lays them out.
struct BrandedWindow {
    QWidget form;
    skinctrls::TSkinPanel* panBanner = new skinctrls::TSkinPanel(&form);
    QLabel* imgBanner = new QLabel(panBanner);
    images::TGIFAnimator* gifBanner = new images::TGIFAnimator(panBanner);
    skinctrls::TSkinPanel* table = new skinctrls::TSkinPanel(&form);
    skinctrls::TSkinLinkLabel* lblLink1URL = new skinctrls::TSkinLinkLabel(&form);
    skinctrls::TSkinLinkLabel* lblLink2URL = new skinctrls::TSkinLinkLabel(&form);
    skin::TSkinData* SkinData1 = new skin::TSkinData(&form);
    TBrandingControls target{{&form, panBanner, imgBanner, gifBanner, lblLink1URL, lblLink2URL, SkinData1}};
    TBrandingFields fields;

    BrandedWindow() {
        form.resize(644, 455);
        form.setWindowTitle("Dorvanel");
        panBanner->SetBounds(0, 0, 644, 65);
        panBanner->SetAlign(platform::TAlign::alTop);
        table->SetBounds(0, 65, 644, 300);
        table->SetAlign(platform::TAlign::alClient);
        imgBanner->setGeometry(144, -8, 105, 105);
        gifBanner->setGeometry(imgBanner->geometry());
        for (auto* label : {lblLink1URL, lblLink2URL}) {
            label->SetCaption("Google");
            label->SetURL("https://www.google.com/");
        }
        platform::AlignControls(&form);
    }
    int TableTop() const { return table->geometry().top(); }
};

// A seed source that hands out the given seeds one per pick, then 0.
TRandomPick Seeds(std::deque<std::uint32_t> seeds) {
    return TRandomPick([seeds]() mutable {
        if (seeds.empty()) return std::uint32_t{0};
        const std::uint32_t s = seeds.front();
        seeds.pop_front();
        return s;
    });
}

// A seed whose pick among n is k.
std::uint32_t SeedFor(int k, int n) {
    for (std::uint32_t s = 0;; s += 7919) {
        std::uint32_t probe = s;
        if (TRandomPick::Next(probe, n) == k) return s;
    }
}

class Branding : public ::testing::Test {
protected:
    // The application's icon is shared by every window; each case starts without one.
    void SetUp() override { QApplication::setWindowIcon(QIcon()); }

    QString Folder() const { return QString::fromStdString(dir_.path().string()); }
    std::string File(const std::string& name) const { return dir_.file(name); }
    void Config(const std::string& text) { test::writeFileBytes(File("dbconfig.dat"), text); }
    void Picture(const std::string& name, int w, int h, const char* format, QColor colour = Qt::red) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString(File(name)), format)) << name;
    }
    void AnimatedGif(const std::string& name, int w, int h) {
        GifBuilder b;
        const std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w * h), 1);
        b.Header(w, h, 2).Loop(0).GraphicControl(1, 10).Image(0, 0, w, h, LiteralImageData(pixels, 2));
        b.GraphicControl(1, 10).Image(0, 0, 2, 2, LiteralImageData({2, 2, 2, 2}, 2)).Trailer();
        test::writeFileBytes(File(name), b.bytes);
    }
    std::set<std::string> Listing() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_.path())) names.insert(e.path().filename().string());
        return names;
    }
    // Runs LoadBranding and checks that the folder holds exactly the same files afterwards; returns the
    // failure's message, or "" when it succeeded.
    std::string Load(BrandedWindow& w, TRandomPick random = Seeds({})) {
        const std::set<std::string> before = Listing();
        std::string failure;
        try {
            LoadBranding(Folder(), w.target, w.fields, random);
        } catch (const std::exception& e) {
            failure = e.what();
        }
        EXPECT_EQ(Listing(), before) << "the folder's files changed";
        return failure;
    }

    test::TempDir dir_;
};

TEST_F(Branding, WithoutTheConfigurationNothingChanges) {
    Picture("dbimg1.dat", 20, 20, "PNG");
    BrandedWindow w;
    EXPECT_EQ(Load(w), "");
    EXPECT_EQ(w.form.windowTitle(), "Dorvanel");
    EXPECT_FALSE(w.panBanner->isHidden());
    EXPECT_EQ(w.TableTop(), 65);
    EXPECT_EQ(w.lblLink1URL->Caption(), "Google");
    EXPECT_EQ(w.lblLink2URL->URL(), "https://www.google.com/");
    EXPECT_TRUE(w.SkinData1->Empty());
}

TEST_F(Branding, EmptyConfigurationHidesTheBannerAndEmptiesTheLinks) {
    Config("");
    BrandedWindow w;
    EXPECT_EQ(Load(w), "");
    EXPECT_EQ(w.form.windowTitle(), "Dorvanel");
    EXPECT_TRUE(w.panBanner->isHidden());
    EXPECT_EQ(w.TableTop(), 0);  // the table takes the banner area's room
    for (auto* label : {w.lblLink1URL, w.lblLink2URL}) {
        EXPECT_EQ(label->Caption(), "");
        EXPECT_EQ(label->URL(), "");
    }
    EXPECT_EQ(w.imgBanner->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(w.SkinData1->Empty());
    EXPECT_TRUE(w.form.windowIcon().isNull());
}

TEST_F(Branding, KeysIgnoreCaseAndValuesLoseBlanksAndQuotes) {
    Config(
        "; made by hand\r\n[SETTINGS]\r\n  appname =  \"Keyword Finder Pro\"  \r\nAFILIATEID= 12345\r\n"
        "[Other]\r\nLink1URL=http://127.0.0.1/not-this-section\r\n");
    BrandedWindow w;
    EXPECT_EQ(Load(w), "");
    EXPECT_EQ(w.form.windowTitle(), "Keyword Finder Pro");
    EXPECT_EQ(w.fields.FAffiliateID, "12345");
    EXPECT_EQ(w.lblLink1URL->URL(), "");
}

// Which banner shows, how, and what the area and cursors become.
TEST_F(Branding, Banners) {
    enum Shown { Still, Animated, Hidden };
    const struct {
        const char* why;
        std::string config;
        std::vector<std::pair<std::string, std::string>> files;  // name, kind: PNG/JPEG/BMP/ICO/GIF
        Shown shown;
        QSize size;
        bool hand;
    } cases[] = {
        {"BannerPath2 alone is stored as dbimg1.dat, read as JPEG",
         "[Settings]\nBannerPath2=C:\\pics\\promo.JPG\n",
         {{"dbimg1.dat", "JPEG"}},
         Still,
         {30, 20},
         false},
        {"a .GIF name plays animated",
         "[Settings]\nBannerPath1=/srv/ad.GIF\nBannerURL1=http://127.0.0.1/ad\n",
         {{"dbimg1.dat", "GIF"}},
         Animated,
         {468, 60},
         true},
        {"a 60-pixel PNG",
         "[Settings]\nBannerPath3=wide.png\nBannerURL3=http://127.0.0.1/w\n",
         {{"dbimg1.dat", "PNG60"}},
         Still,
         {234, 60},
         true},
        {"a bitmap", "[Settings]\nBannerPath1=b.bmp\n", {{"dbimg1.dat", "BMP"}}, Still, {30, 20}, false},
        {"an icon", "[Settings]\nBannerPath1=b.ico\n", {{"dbimg1.dat", "ICO"}}, Still, {32, 32}, false},
        {"the part after the last separator counts",
         "[Settings]\nBannerPath1=C:\\x.gif\\y/banner.jpeg\n",
         {{"dbimg1.dat", "JPEG"}},
         Still,
         {30, 20},
         false},
        {"no stored file hides the area",
         "[Settings]\nBannerPath1=gone.png\nBannerURL1=http://127.0.0.1/\n",
         {},
         Hidden,
         {},
         true},
        {"a file under the configured name is shown instead",
         "[Settings]\nBannerPath1=C:\\promo.png\n",
         {{"dbimg1.dat", "GIF"}, {"promo.png", "PNG60"}},
         Still,
         {234, 60},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        for (const auto& e : fs::directory_iterator(dir_.path())) fs::remove(e.path());
        Config(c.config);
        for (const auto& [name, kind] : c.files) {
            if (kind == "GIF") AnimatedGif(name, 468, 60);
            else if (kind == "PNG60") Picture(name, 234, 60, "PNG");
            else if (kind == "ICO") Picture(name, 32, 32, "ICO");
            else Picture(name, 30, 20, kind.c_str());
        }
        BrandedWindow w;
        ASSERT_EQ(Load(w), "");
        EXPECT_EQ(w.panBanner->isHidden(), c.shown == Hidden);
        if (c.shown != Hidden) {
            QWidget* shown = c.shown == Still ? static_cast<QWidget*>(w.imgBanner) : w.gifBanner;
            QWidget* other = c.shown == Still ? static_cast<QWidget*>(w.gifBanner) : w.imgBanner;
            EXPECT_FALSE(shown->isHidden());
            EXPECT_TRUE(other->isHidden());
            EXPECT_EQ(shown->size(), c.size);
            EXPECT_EQ(w.panBanner->height(), c.size.height() + 10);
            EXPECT_EQ(w.TableTop(), c.size.height() + 10);
        }
        const Qt::CursorShape cursor = c.hand ? Qt::PointingHandCursor : Qt::ArrowCursor;
        EXPECT_EQ(w.imgBanner->cursor().shape(), cursor);
        EXPECT_EQ(w.gifBanner->cursor().shape(), cursor);
    }
}

TEST_F(Branding, GifOnlyByTheConfiguredNameNotByTheFolder) {
    // A folder whose path holds ".gif" keeps reading a JPEG banner as JPEG.
    fs::create_directories(dir_.path() / "my.gif.tools");
    const QString folder = Folder() + "/my.gif.tools";
    QImage image(40, 25, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(folder + "/dbimg1.dat", "JPEG"));
    test::writeFileBytes(dir_.file("my.gif.tools/dbconfig.dat"), "[Settings]\nBannerPath1=photo.jpg\n");
    BrandedWindow w;
    TRandomPick random = Seeds({});
    LoadBranding(folder, w.target, w.fields, random);
    EXPECT_FALSE(w.imgBanner->isHidden());
    EXPECT_EQ(w.imgBanner->size(), QSize(40, 25));
}

TEST_F(Branding, ChosenBannerTakesItsPlaceNumberAndItsURL) {
    Config(
        "[Settings]\nBannerPath1=a.png\nBannerURL1=http://127.0.0.1/a\nBannerPath3=c.jpg\n"
        "BannerURL3=http://127.0.0.1/c\n");
    Picture("dbimg1.dat", 11, 11, "PNG");
    Picture("dbimg2.dat", 22, 22, "JPEG");
    for (int k = 0; k < 2; ++k) {
        BrandedWindow w;
        ASSERT_EQ(Load(w, Seeds({SeedFor(k, 2)})), "");
        EXPECT_EQ(w.fields.FBannerPath, k == 0 ? "a.png" : "c.jpg");
        EXPECT_EQ(w.fields.FBannerURL, k == 0 ? "http://127.0.0.1/a" : "http://127.0.0.1/c");
        EXPECT_EQ(w.imgBanner->width(), k == 0 ? 11 : 22);
    }
}

// A picture that cannot be read reports and skips the rest: the links and icon stay as they were.
TEST_F(Branding, UnreadableBannerReportsAndSkipsTheRest) {
    const struct {
        const char* name;
        std::string bytes;  // of dbimg1.dat; empty: a valid PNG
        const char* message;
    } cases[] = {
        {"damaged.jpg", "\xFF\xD8\xFF\xE0 not really a JPEG", "JPEG image is not valid"},
        {"png-named.jpg", "", "JPEG image is not valid"},
        {"clip.wmf", "\xD7\xCD\xC6\x9A\x00\x00", "Metafile is not valid"},
        {"clip.EMF", "\x01\x00\x00\x00", "Metafile is not valid"},
        {"notes.txt", "hello", "Unknown picture file extension (.txt)"},
        {"noextension", "", "Unknown picture file extension (.)"},
        {"broken.gif", "GIF88a", "Неизвестная версия изображения GIF"},
        {"cut.gif", std::string("GIF89a\x02\x00\x02\x00\x80\x00", 12), "Stream read error"},
        {"empty.bmp", "", "Bitmap image is not valid"},
        // A PNG header claiming 100000 x 100000 pixels.
        {"huge.png",
         std::string("\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x01\x86\xa0\x00\x01\x86\xa0\x08\x02\x00\x00"
                     "\x00\x00\x00\x00\x00",
                     33),
         "PNG image is not valid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Config(std::string("[Settings]\nBannerPath1=") + c.name + "\nLink1URL=http://127.0.0.1/l\nIconPath=i.ico\n");
        if (c.bytes.empty() && std::string(c.name) != "empty.bmp") Picture("dbimg1.dat", 5, 5, "PNG");
        else test::writeFileBytes(File("dbimg1.dat"), c.bytes);
        Picture("i.ico", 16, 16, "ICO");
        BrandedWindow w;
        EXPECT_EQ(Load(w), c.message);
        EXPECT_EQ(w.lblLink1URL->Caption(), "Google");
        EXPECT_TRUE(w.form.windowIcon().isNull());
        EXPECT_TRUE(fs::exists(File("dbimg1.dat")));
    }
}

TEST_F(Branding, ApplyBrandingHandsTheFailureToTheReport) {
    Config("[Settings]\nAppName=Half Done\nBannerPath1=x.wmf\n");
    test::writeFileBytes(File("dbimg1.dat"), "junk");
    BrandedWindow w;
    QStringList reports;
    TRandomPick random = Seeds({});
    EXPECT_FALSE(ApplyBranding(Folder(), w.target, w.fields, random, [&](const QString& m) { reports << m; }));
    EXPECT_EQ(reports, QStringList{"Metafile is not valid"});
    EXPECT_EQ(w.form.windowTitle(), "Half Done");  // the steps before the failure stay done
}

TEST_F(Branding, FooterLinks) {
    const std::string three =
        "[Settings]\nLink1URL=http://127.0.0.1/1\nLink1Name=One\nLink2URL=http://127.0.0.1/2\n"
        "Link2Name=Two\nLink4URL=http://127.0.0.1/4\n";
    {
        SCOPED_TRACE("only Link3");
        Config("[Settings]\nLink3URL=http://127.0.0.1/3\nLink3Name=Three\nLink4Name=orphan name\n");
        BrandedWindow w;
        ASSERT_EQ(Load(w), "");
        EXPECT_EQ(w.lblLink1URL->Caption(), "Three");
        EXPECT_EQ(w.lblLink1URL->URL(), "http://127.0.0.1/3");
        EXPECT_EQ(w.lblLink2URL->Caption(), "");
        EXPECT_EQ(w.lblLink2URL->URL(), "");
    }
    // Three links: the first pick is among three, the second among the two left; they always differ, and every
    // link can come first.
    Config(three);
    std::set<QString> firsts;
    for (int k1 = 0; k1 < 3; ++k1) {
        for (int k2 = 0; k2 < 2; ++k2) {
            BrandedWindow w;
            ASSERT_EQ(Load(w, Seeds({SeedFor(k1, 3), SeedFor(k2, 2)})), "");
            EXPECT_NE(w.fields.FLink1URL, w.fields.FLink2URL);
            EXPECT_FALSE(w.fields.FLink2URL.isEmpty());
            EXPECT_EQ(w.lblLink1URL->URL(), w.fields.FLink1URL);
            EXPECT_EQ(w.lblLink2URL->Caption(), w.fields.FLink2Name);
            firsts.insert(w.fields.FLink1URL);
        }
    }
    EXPECT_EQ(firsts.size(), 3u);
    // The link without a name shows an empty caption but keeps its address.
    BrandedWindow w;
    ASSERT_EQ(Load(w, Seeds({SeedFor(2, 3)})), "");
    EXPECT_EQ(w.fields.FLink1URL, "http://127.0.0.1/4");
    EXPECT_EQ(w.lblLink1URL->Caption(), "");
}

TEST_F(Branding, SkinArchiveAndIcon) {
    Config("[Settings]\nIconPath=C:\\brand\\brand.ico\n");
    fs::copy_file(DORVANEL_BINARY_DIR "/src/defaultskin/modern/dbskin.dat", File("dbskin.dat"));
    Picture("brand.ico", 32, 32, "ICO", Qt::green);
    BrandedWindow w;
    ASSERT_EQ(Load(w), "");
    EXPECT_FALSE(w.SkinData1->Empty());
    EXPECT_EQ(w.fields.FIconPath, "C:\\brand\\brand.ico");
    EXPECT_FALSE(w.form.windowIcon().isNull());
    EXPECT_EQ(w.form.windowIcon().pixmap(32).toImage().pixelColor(5, 5), QColor(Qt::green));
}

TEST_F(Branding, IconProblems) {
    const struct {
        const char* why;
        std::string config;
        std::string iconBytes;  // written as brand.ico; "PNG" writes a PNG picture
        const char* message;
        bool icon;
    } cases[] = {
        {"icon file missing", "[Settings]\nIconPath=brand.ico\n", "", "", false},
        {"not an icon", "[Settings]\nIconPath=brand.ico\n", "PNG", "Icon image is not valid", false},
        {"garbage", "[Settings]\nIconPath=brand.ico\n", std::string("\x00\x00\x01\x00\xFF\xFF", 6),
         "Icon image is not valid", false},
        {"path ends in a separator", "[Settings]\nIconPath=C:\\icons\\\n", "", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        fs::remove(File("brand.ico"));
        Config(c.config);
        if (c.iconBytes == "PNG") Picture("brand.ico", 16, 16, "PNG");
        else if (!c.iconBytes.empty()) test::writeFileBytes(File("brand.ico"), c.iconBytes);
        BrandedWindow w;
        EXPECT_EQ(Load(w), c.message);
        EXPECT_EQ(w.form.windowIcon().isNull(), !c.icon);
        EXPECT_FALSE(w.fields.FIconPath.isEmpty());
    }
}

TEST_F(Branding, DamagedSkinArchiveReportsAndSkipsTheIcon) {
    Config("[Settings]\nIconPath=brand.ico\n");
    // Version 3, eight bytes of "compressed" data that zlib rejects.
    test::writeFileBytes(File("dbskin.dat"), std::string("\x03\0\0\0\x08\0\0\0garbage!", 16));
    Picture("brand.ico", 16, 16, "ICO");
    BrandedWindow w;
    EXPECT_EQ(Load(w), "compression error");
    EXPECT_TRUE(w.form.windowIcon().isNull());
}

// An installed program's folder cannot be written: the banners still show and keep their names.
TEST_F(Branding, ReadOnlyProgramFolder) {
    Config("[Settings]\nBannerPath1=promo.JPG\nBannerPath2=anim.gif\nAppName=Read Only\n");
    Picture("dbimg1.dat", 30, 20, "JPEG");
    AnimatedGif("dbimg2.dat", 100, 40);
    fs::permissions(dir_.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    for (int k = 0; k < 2; ++k) {
        BrandedWindow w;
        ASSERT_EQ(Load(w, Seeds({SeedFor(k, 2)})), "");
        EXPECT_EQ(w.panBanner->height(), (k == 0 ? 20 : 40) + 10);
        EXPECT_EQ(w.gifBanner->isHidden(), k == 0);
    }
    fs::permissions(dir_.path(), fs::perms::owner_all);
}

TEST_F(Branding, HostileConfiguration) {
    std::string text = "[Settings]\nAppName=" + std::string(100000, 'A') + "\nBannerPath1=\x01\x02\xff.png\n";
    text += std::string("\0\0[Settings\nLink1URL=\"\nLink2URL='x'\n", 34);
    Config(text);
    BrandedWindow w;
    EXPECT_EQ(Load(w), "");
    EXPECT_EQ(w.form.windowTitle().size(), 2047);
    EXPECT_TRUE(w.panBanner->isHidden());  // no stored file
}

}  // namespace
}  // namespace dorvanel::app
