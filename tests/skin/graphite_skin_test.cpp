// The bundled "Graphite" skin as built: it loads like any dbskin.dat, names the same sections as the default
// skin so every control finds a look, and its pictures are its own (dark faces, chamfered window corners).
#include "skin/skin_data.h"
#include "defaultskin/default_skin.h"
#include "skin/compressed_stored_skin.h"

#include <gtest/gtest.h>

namespace dorvanel::skin {
namespace {

const QString kGraphite = QStringLiteral(DORVANEL_BINARY_DIR "/skins/graphite/dbskin.dat");

bool Dark(const QColor& c) { return c.lightness() < 80; }

TEST(GraphiteSkin, LoadsWithEverySectionOfTheDefaultSkin) {
    TSkinData graphite, modern;
    graphite.LoadSkinArchiveFile(kGraphite);
    ASSERT_FALSE(graphite.Empty());
    EXPECT_EQ(graphite.SkinName(), "Graphite");
    TCompressedStoredSkin stored;
    stored.CompressedData = defaultskin::DefaultSkinData();
    modern.ApplyStoredSkin(stored);
    ASSERT_FALSE(modern.Empty());
    ASSERT_EQ(graphite.SkinControls().Count(), modern.SkinControls().Count());
    for (int i = 0; i < modern.SkinControls().Count(); ++i) {
        const std::string name = modern.Control(i)->IDName;
        EXPECT_GE(graphite.IndexOfControl(name), 0) << name;
    }
    for (const char* object : {"caption", "closebutton", "maxbutton", "minbutton", "sysmenubutton", "menuitem"})
        EXPECT_GE(graphite.IndexOfObject(object), 0) << object;
}

TEST(GraphiteSkin, DarkFacesAndChamferedCorners) {
    TSkinData graphite;
    graphite.LoadSkinArchiveFile(kGraphite);
    ASSERT_FALSE(graphite.Empty());
    const QImage& frame = graphite.MainPicture();
    const QImage& mask = graphite.Mask();
    ASSERT_FALSE(frame.isNull());
    ASSERT_EQ(mask.size(), frame.size());
    // The caption strip and the window face are dark; the mask cuts each corner diagonally.
    EXPECT_TRUE(Dark(frame.pixelColor(frame.width() / 2, 5)));
    EXPECT_TRUE(Dark(frame.pixelColor(frame.width() / 2, frame.height() / 2)));
    for (const QPoint corner : {QPoint(0, 0), QPoint(mask.width() - 1, 0), QPoint(0, mask.height() - 1),
                                QPoint(mask.width() - 1, mask.height() - 1)}) {
        EXPECT_EQ(mask.pixelColor(corner), QColor(Qt::white)) << corner.x() << "," << corner.y();
    }
    EXPECT_EQ(mask.pixelColor(6, 0), QColor(Qt::black));
    EXPECT_EQ(mask.pixelColor(mask.width() / 2, mask.height() / 2), QColor(Qt::black));
    // The button's normal face is dark, its text light.
    const int button = graphite.IndexOfControl("button");
    ASSERT_GE(button, 0);
    const QImage* buttons = graphite.Picture(0);
    ASSERT_NE(buttons, nullptr);
    EXPECT_TRUE(Dark(buttons->pixelColor(10, 10)));
}

}  // namespace
}  // namespace dorvanel::skin
