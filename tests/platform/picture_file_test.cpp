// Still pictures by extension, icons with every size they hold, and the name parts that choose them.
#include "platform/picture_file.h"

#include "support/plain/imagemagick.h"
#include "support/plain/temp_dir.h"

#include <gtest/gtest.h>

namespace dorvanel::platform {
namespace {

TEST(PictureFile, NameParts) {
    const struct {
        const char* path;
        const char* name;
        const char* extension;
    } cases[] = {
        {"C:\\pics\\promo.JPG", "promo.JPG", "jpg"},
        {"/srv/a.b/c.Gif", "c.Gif", "gif"},
        {"mixed\\dir/x.png", "x.png", "png"},
        {"C:\\x.gif\\noext", "noext", ""},
        {"trailing\\", "", ""},
        {"archive.tar.gz", "archive.tar.gz", "gz"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileNamePart(c.path), c.name) << c.path;
        EXPECT_EQ(PictureExtension(FileNamePart(c.path)), c.extension) << c.path;
    }
}

TEST(PictureFile, IconKeepsEverySize) {
    DORVANEL_REQUIRE_IMAGEMAGICK();
    test::TempDir dir;
    const std::string ico = dir.file("two.ico");
    ASSERT_TRUE(test::RunConvert({"-size", "16x16", "xc:red", "-size", "32x32", "xc:blue", ico}));
    const QIcon icon = LoadIconFile(QString::fromStdString(ico));
    EXPECT_EQ(icon.availableSizes().size(), 2);
    EXPECT_EQ(icon.pixmap(32).toImage().pixelColor(4, 4), QColor(Qt::blue));
    // The same file read as a still banner shows its first picture.
    EXPECT_EQ(LoadPictureFile(QString::fromStdString(ico), "ico").size(), QSize(16, 16));
}

TEST(PictureFile, FormatComesFromTheExtensionNotTheContent) {
    test::TempDir dir;
    const QString path = QString::fromStdString(dir.file("picture"));
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(path, "BMP"));
    EXPECT_EQ(LoadPictureFile(path, "bmp").size(), QSize(8, 4));
    for (const char* other : {"png", "jpg", "ico"})
        EXPECT_THROW(LoadPictureFile(path, other), EInvalidPicture) << other;
    EXPECT_THROW(LoadIconFile(path), EInvalidPicture);
}

}  // namespace
}  // namespace dorvanel::platform
