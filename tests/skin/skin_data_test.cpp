// Applying skin archives: layout, versions and slots, description lists, notifications, and what each
// failure leaves of the live skin.
#include "skin/skin_data.h"
#include "skin/device_picture.h"
#include "skin/skin_errors.h"
#include "skin/archive_builder.h"
#include "support/plain/temp_dir.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace dorvanel::skin;
using namespace dorvanel::skin::test;
using dorvanel::test::TempDir;
using dorvanel::test::writeFileBytes;

namespace {

const char* const kText =
    "[VERSION]\r\nskinname=Test\r\nskinauthor=Us\r\n"
    "[PICTURES]\r\npicture=frame.bmp\r\nmask=mask.bmp\r\nactivepicturescount=2\r\n0=a.bmp\r\n1=b.bmp\r\n"
    "[FORMINFO]\r\nclientrect=8,25,52,36\r\nborderwidth=4\r\n"
    "[SKINOBJECTS]\r\ncount=2\r\n0=close:stdbutton\r\n1=title:caption\r\n"
    "[close]\r\ncommand=cmclose\r\nskinrect=0,0,30,24\r\n"
    "[SKINCONTROLS]\r\ncount=5\r\n0=button\r\n1=Button:Button\r\n2=button:button\r\n3=panel:panel\r\n"
    "4=button:panel\r\n"
    "[BUTTON]\r\npictureindex=1\r\nskinrect=0,0,24,21\r\n"
    "[panel]\r\npictureindex=5\r\n";

ArchiveBuilder Sample() {
    ArchiveBuilder b;
    b.Picture = SolidPicture(60, 44, QColor(10, 20, 30));
    b.Mask = SolidPicture(60, 44, Qt::black);
    b.List = {SolidPicture(7, 3, QColor(200, 100, 50)), SolidPicture(24, 42, QColor(1, 2, 3))};
    b.Text = kText;
    return b;
}

// Records every skin notification a window receives, with the skin's emptiness at that moment.
class Recorder : public QWidget {
public:
    struct Seen {
        QWidget* Window;
        int Message;
        bool Empty;
    };
    Recorder(std::vector<Seen>& log, TSkinData*& skin) : FLog(log), FSkin(skin) {}

protected:
    bool event(QEvent* e) override {
        if (TSkinMessageEvent::IsSkinMessage(e)) {
            auto* m = static_cast<TSkinMessageEvent*>(e);
            EXPECT_EQ(m->SkinData(), FSkin);
            EXPECT_EQ(m->Param2(), 1000);
            FLog.push_back({this, m->Message(), FSkin->SkinEmpty()});
            return true;
        }
        return QWidget::event(e);
    }

private:
    std::vector<Seen>& FLog;
    TSkinData*& FSkin;
};

// A window owning a skin data, with the notifications it hears.
struct ObservedSkin {
    std::vector<Recorder::Seen> log;
    TSkinData* skinPtr = nullptr;
    Recorder window{log, skinPtr};
    TSkinData skin{&window};
    ObservedSkin() { skinPtr = &skin; }
};

void Apply(TSkinData& skin, const ArchiveBuilder& b) {
    TCompressedStoredSkin stored;
    Store(stored, b.Inner());
    skin.ApplyStoredSkin(stored);
}

}  // namespace

TEST(SkinData, ANewSkinDataIsEmpty) {
    TSkinData skin;
    EXPECT_TRUE(skin.SkinEmpty());
    EXPECT_EQ(skin.PictureCount(), 0);
    EXPECT_EQ(skin.PopupWindow().windowpictureindex, -1);
    EXPECT_EQ(skin.HintWindow().windowpictureindex, -1);
    EXPECT_EQ(skin.FormInfo().bgpictureindex, -1);
    EXPECT_EQ(skin.IndexOfControl("button"), -1);
}

TEST(SkinData, AppliesPicturesNamesAndDescriptions) {
    TSkinData skin;
    Apply(skin, Sample());
    ASSERT_FALSE(skin.SkinEmpty());
    EXPECT_EQ(skin.MainPicture().size(), QSize(60, 44));
    EXPECT_EQ(skin.MainPicture().pixelColor(59, 43), QColor(10, 20, 30));
    EXPECT_TRUE(skin.InactivePicture().isNull());
    EXPECT_EQ(skin.Mask().size(), QSize(60, 44));
    ASSERT_EQ(skin.PictureCount(), 2);
    EXPECT_EQ(skin.Picture(0)->size(), QSize(7, 3));  // odd width: padded rows read back exactly
    EXPECT_EQ(skin.Picture(0)->pixelColor(6, 2), QColor(200, 100, 50));
    EXPECT_EQ(skin.Picture(1)->size(), QSize(24, 42));
    EXPECT_EQ(skin.Picture(2), nullptr);
    EXPECT_EQ(skin.Picture(-1), nullptr);
    EXPECT_EQ(skin.SkinName(), "Test");
    EXPECT_EQ(skin.SkinAuthor(), "Us");
    EXPECT_EQ(skin.PictureName(), "frame.bmp");
    EXPECT_EQ(skin.MaskName(), "mask.bmp");
    EXPECT_EQ(skin.ActivePictureNames(), (std::vector<std::string>{"a.bmp", "b.bmp"}));
    EXPECT_EQ(skin.FormInfo().borderwidth, 4);
    EXPECT_EQ(skin.FormInfo().maskrectarea, (TRect{8, 25, 52, 36}));

    ASSERT_EQ(skin.SkinObjects().Count(), 2);
    auto* close = dynamic_cast<TDataSkinStdButton*>(skin.Object(skin.IndexOfObject("close")));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->command, TStdCommand::cmClose);
    EXPECT_NE(dynamic_cast<TDataSkinCaption*>(skin.Object(1)), nullptr);
}

TEST(SkinData, EntryListsAndCaseRules) {
    TSkinData skin;
    Apply(skin, Sample());
    // "0=button" has no colon and "Button:Button" names an unknown kind: three controls remain.
    ASSERT_EQ(skin.SkinControls().Count(), 3);
    EXPECT_EQ(skin.IndexOfControl("button"), 0);
    EXPECT_EQ(skin.IndexOfControl(QStringLiteral("button")), 0);
    EXPECT_EQ(skin.IndexOfControl("BUTTON"), -1);
    EXPECT_EQ(skin.IndexOfControl("Button"), -1);
    // The section "[BUTTON]" was found for the entry "button:button".
    auto* button = dynamic_cast<TDataSkinButtonControl*>(skin.Control(0));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->skinrect, (TRect{0, 0, 24, 21}));
    // The second "button" entry (a panel) is in the list but never found by name.
    EXPECT_NE(dynamic_cast<TDataSkinPanelControl*>(skin.Control(2)), nullptr);
    // With two list pictures, index 5 names no picture.
    auto* panel = skin.Control(skin.IndexOfControl("panel"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(skin.Picture(panel->pictureindex), nullptr);
}

TEST(SkinData, VersionTwoExtraSlotsAreSkipped) {
    TSkinData v3, v2;
    Apply(v3, Sample());
    ArchiveBuilder b = Sample();
    b.Version = 2;
    b.ExtraSlots = {SolidPicture(5, 5, Qt::red), std::nullopt};
    Apply(v2, b);
    ASSERT_FALSE(v2.SkinEmpty());
    EXPECT_EQ(v2.PictureCount(), v3.PictureCount());
    EXPECT_EQ(*v2.Picture(1), *v3.Picture(1));
    EXPECT_EQ(v2.SkinControls().Count(), v3.SkinControls().Count());
}

TEST(SkinData, AnEmptySlotCarriesNoBytes) {
    ArchiveBuilder b = Sample();
    b.InactivePicture.reset();
    b.Picture.reset();
    TSkinData skin;
    Apply(skin, b);
    EXPECT_TRUE(skin.MainPicture().isNull());
    EXPECT_EQ(skin.Mask().size(), QSize(60, 44));  // the next byte after the flag was the mask's flag
}

TEST(SkinData, NoListPicturesLeavesEveryIndexPointingNowhere) {
    ArchiveBuilder b = Sample();
    b.List.clear();
    TSkinData skin;
    Apply(skin, b);
    EXPECT_EQ(skin.PictureCount(), 0);
    EXPECT_EQ(skin.Picture(0), nullptr);
    EXPECT_EQ(skin.IndexOfControl("button"), 0);
}

TEST(SkinData, NotificationsReachEveryWindowOnceOwnerFirst) {
    std::vector<Recorder::Seen> log;
    TSkinData* skinPtr = nullptr;
    Recorder a(log, skinPtr), owner(log, skinPtr), c(log, skinPtr);
    auto* skin = new TSkinData(&owner);  // owned by the middle window
    skinPtr = skin;
    Apply(*skin, Sample());
    Apply(*skin, Sample());
    int perMessage[3] = {};
    ASSERT_EQ(log.size() % 3, 0u);
    for (std::size_t i = 0; i < log.size(); ++i) {
        const auto& seen = log[i];
        if (seen.Window == &owner) {
            // The owner opens each run of one message.
            ASSERT_TRUE(i == 0 || log[i - 1].Message != seen.Message || log[i - 1].Window != &owner);
        }
        if (seen.Window == &a) ++perMessage[0];
        if (seen.Window == &owner) ++perMessage[1];
        if (seen.Window == &c) ++perMessage[2];
    }
    // Our three windows each hear PREPARE, APPLY and APPLIED once per load.
    EXPECT_EQ(perMessage[0], 6);
    EXPECT_EQ(perMessage[1], 6);
    EXPECT_EQ(perMessage[2], 6);
    std::vector<int> ownerSeq;
    for (const auto& seen : log)
        if (seen.Window == &owner) ownerSeq.push_back(seen.Message);
    EXPECT_EQ(ownerSeq, (std::vector<int>{SKIN_MSG_PREPARE, SKIN_MSG_APPLY, SKIN_MSG_APPLIED, SKIN_MSG_PREPARE,
                                          SKIN_MSG_APPLY, SKIN_MSG_APPLIED}));
    // Owner first for every message; the skin is empty during PREPARE and complete from APPLY on.
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (i == 0 || log[i].Message != log[i - 1].Message) {
            EXPECT_EQ(log[i].Window, &owner) << i;
        }
        EXPECT_EQ(log[i].Empty, log[i].Message == SKIN_MSG_PREPARE) << i;
    }
    // Loading twice ends with the same skin.
    EXPECT_EQ(skin->SkinControls().Count(), 3);
    EXPECT_EQ(skin->PictureCount(), 2);
}

TEST(SkinData, AnEmptyStoredSkinChangesNothingAndSendsNothing) {
    ObservedSkin o;
    auto& [log, skinPtr, window, skin] = o;
    Apply(skin, Sample());
    log.clear();
    TCompressedStoredSkin empty;
    skin.SetCompressedStoredSkin(&empty);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(skin.SkinEmpty());
    EXPECT_EQ(skin.PictureCount(), 2);
}

TEST(SkinData, AssigningAStoredSkinAppliesItAndForgetsItWhenDestroyed) {
    TSkinData skin;
    auto stored = std::make_unique<TCompressedStoredSkin>();
    Store(*stored, Sample().Inner());
    skin.SetCompressedStoredSkin(stored.get());
    EXPECT_FALSE(skin.SkinEmpty());
    EXPECT_EQ(skin.CompressedStoredSkin(), stored.get());
    stored.reset();
    EXPECT_EQ(skin.CompressedStoredSkin(), nullptr);
}

TEST(SkinData, ResourceStringsBroadcastTheirOwnMessage) {
    ObservedSkin o;
    auto& [log, skinPtr, window, skin] = o;
    TResourceStrData strings;
    strings.SetResStr("MI_CLOSECAPTION", "Close it");
    skin.SetResourceStrData(&strings);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].Message, SKIN_MSG_STRINGS);
    EXPECT_EQ(skin.ResourceStrData()->GetResStr("MI_CLOSECAPTION"), "Close it");
    EXPECT_EQ(skin.ResourceStrData()->GetResStr("MI_MINCAPTION"), "");
    // Keys are found without regard to case, and setting one in other letters replaces it.
    EXPECT_EQ(skin.ResourceStrData()->GetResStr("mi_closecaption"), "Close it");
    strings.SetResStr("Mi_CloseCaption", "Shut");
    EXPECT_EQ(skin.ResourceStrData()->GetResStr("MI_CLOSECAPTION"), "Shut");
}

TEST(SkinData, InnerVersionFourLeavesTheSkinClearedWithoutApply) {
    ObservedSkin o;
    auto& [log, skinPtr, window, skin] = o;
    Apply(skin, Sample());
    log.clear();
    ArchiveBuilder b = Sample();
    b.Version = 4;
    EXPECT_NO_THROW(Apply(skin, b));
    EXPECT_TRUE(skin.SkinEmpty());
    EXPECT_EQ(skin.PictureCount(), 0);
    EXPECT_EQ(skin.SkinControls().Count(), 0);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].Message, SKIN_MSG_PREPARE);
}

TEST(SkinData, ArchiveFiles) {
    TempDir dir;
    TSkinData skin;
    const QByteArray compressed = Compress(Sample().Inner());
    const std::string good = dir.file("good.dat");
    writeFileBytes(good, (ArchiveFile(3, compressed) + "trailing bytes").toStdString());
    skin.LoadSkinArchiveFile(QString::fromStdString(good));
    ASSERT_FALSE(skin.SkinEmpty());

    // A newer outer version is passed over: the live skin stays, nothing is raised.
    const std::string newer = dir.file("newer.dat");
    writeFileBytes(newer, ArchiveFile(4, Compress(ArchiveBuilder{}.Inner())).toStdString());
    EXPECT_NO_THROW(skin.LoadSkinArchiveFile(QString::fromStdString(newer)));
    EXPECT_EQ(skin.PictureCount(), 2);

    // A length of 0 or below carries nothing.
    const std::string zero = dir.file("zero.dat");
    writeFileBytes(zero, ArchiveFile(3, {}, 0).toStdString());
    EXPECT_NO_THROW(skin.LoadSkinArchiveFile(QString::fromStdString(zero)));
    EXPECT_EQ(skin.PictureCount(), 2);

    // A length beyond the bytes present is a read error; the live skin is untouched.
    const std::string lying = dir.file("lying.dat");
    writeFileBytes(lying, ArchiveFile(3, compressed, 0x7FFFFFFF).toStdString());
    try {
        skin.LoadSkinArchiveFile(QString::fromStdString(lying));
        FAIL() << "no error";
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
    EXPECT_FALSE(skin.SkinEmpty());

    const std::string missing = dir.file("missing.dat");
    try {
        skin.LoadSkinArchiveFile(QString::fromStdString(missing));
        FAIL() << "no error";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + missing + "\". ", 0), 0u) << e.what();
    }
    EXPECT_FALSE(skin.SkinEmpty());

    const std::string shortFile = dir.file("short.dat");
    writeFileBytes(shortFile, "\x03\x00");
    EXPECT_THROW(skin.LoadSkinArchiveFile(QString::fromStdString(shortFile)), EReadError);
    EXPECT_FALSE(skin.SkinEmpty());
}

TEST(SkinData, RejectedCompressedDataLeavesTheSkinEmpty) {
    TSkinData skin;
    Apply(skin, Sample());
    TCompressedStoredSkin stored;
    stored.CompressedData = "definitely not zlib";
    try {
        skin.ApplyStoredSkin(stored);
        FAIL() << "no error";
    } catch (const EDecompressionError& e) {
        EXPECT_STREQ(e.what(), "compression error");
    }
    EXPECT_TRUE(skin.SkinEmpty());
    EXPECT_EQ(skin.PictureCount(), 0);
}

TEST(SkinData, AZlibBombFailsAtTheInflationCap) {
    // 64 MiB and one byte of zeros packs to about 64 KiB.
    QByteArray bomb(kMaxInflatedSkinSize + 1, '\0');
    TCompressedStoredSkin stored;
    stored.CompressedData = Compress(bomb);
    bomb.clear();
    TSkinData skin;
    EXPECT_THROW(skin.ApplyStoredSkin(stored), EDecompressionError);
    EXPECT_TRUE(skin.SkinEmpty());
}

TEST(SkinData, HostileArchivesFailCleanly) {
    const QByteArray inner = Sample().Inner();
    struct Case {
        const char* Name;
        QByteArray Bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"version only", inner.left(4)});
    cases.push_back({"cut in the main picture", inner.left(100)});
    // The list count sits after the version, the main picture's flag and bitmap, the empty slot and the mask.
    const int mainSize = BitmapBytes(*Sample().Picture).size();
    const int countAt = 4 + 1 + mainSize + 1 + 1 + BitmapBytes(*Sample().Mask).size();
    QByteArray lyingCount = inner;
    lyingCount[countAt + 3] = 0x7F;
    cases.push_back({"lying list count", lyingCount});
    QByteArray bigSize = inner;  // the main picture's file size field claims 2 GiB
    bigSize[5 + 2 + 3] = 0x7F;
    cases.push_back({"lying file size", bigSize});
    QByteArray wide = inner;  // 2^30 pixels wide
    wide[5 + 18 + 3] = 0x40;
    cases.push_back({"huge width", wide});
    QByteArray notBmp = inner;
    notBmp[5] = 'X';
    cases.push_back({"not a bitmap", notBmp});
    QByteArray negative = inner;  // negative height field of 2^31 magnitude
    negative[5 + 22 + 3] = char(0x80);
    cases.push_back({"height -2^31", negative});
    QByteArray shortInfo = inner;  // information header claims more than the file holds
    shortInfo[5 + 14 + 2] = 0x10;
    cases.push_back({"long info header", shortInfo});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TSkinData skin;
        TCompressedStoredSkin stored;
        Store(stored, c.Bytes);
        try {
            skin.ApplyStoredSkin(stored);
            ADD_FAILURE() << "no error";
        } catch (const dorvanel::Exception&) {}
        EXPECT_TRUE(skin.SkinEmpty());
    }
}

TEST(SkinData, PicturesShareOnePixelBudget) {
    // Each picture alone is within the per-picture cap; together they pass the archive's.
    const int side = 2048;
    QImage mono(side, side, QImage::Format_Indexed8);
    mono.setColorCount(1);
    mono.setColor(0, qRgb(0, 0, 0));
    mono.fill(0);
    ArchiveBuilder b = Sample();
    b.List.clear();
    const int fits = int(kMaxArchivePixels / (side * side)) - 2;  // the frame picture and mask take a little
    for (int i = 0; i < fits; ++i) b.List.push_back(mono);
    TSkinData ok;
    Apply(ok, b);
    EXPECT_EQ(ok.PictureCount(), fits);
    b.List.push_back(mono);
    b.List.push_back(mono);
    TSkinData tooMany;
    EXPECT_THROW(Apply(tooMany, b), EInvalidGraphic);
    EXPECT_TRUE(tooMany.SkinEmpty());
}

TEST(SkinData, ADescriptionPastItsCapIsRefused) {
    ArchiveBuilder b = Sample();
    b.List.clear();
    b.Text = "[VERSION]\r\nskinname=Long\r\n";
    b.Text += std::string(std::size_t(kMaxDescriptionBytes) - b.Text.size(), ';');
    TSkinData fits;
    Apply(fits, b);
    EXPECT_EQ(fits.SkinName(), "Long");
    b.Text += ";";
    TSkinData tooLong;
    try {
        Apply(tooLong, b);
        FAIL() << "no error";
    } catch (const EDescriptionTooLong& e) {
        EXPECT_STREQ(e.what(), "Skin description too long");
    }
    EXPECT_TRUE(tooLong.SkinEmpty());
}

TEST(SkinData, ABadRectangleEndsTheLoadWithWhatWasRead) {
    ArchiveBuilder b = Sample();
    b.Text = "[SKINCONTROLS]\r\ncount=3\r\n0=a:button\r\n1=b:button\r\n2=c:button\r\n[b]\r\nskinrect=1,,3,4\r\n";
    TSkinData skin;
    try {
        Apply(skin, b);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    EXPECT_TRUE(skin.SkinEmpty());
    EXPECT_EQ(skin.SkinControls().Count(), 2);
    EXPECT_EQ(skin.IndexOfControl("c"), -1);
}

TEST(SkinData, ALyingEntryCountCostsNothing) {
    ArchiveBuilder b = Sample();
    b.Text = "[SKINCONTROLS]\r\ncount=2147483647\r\n0=a:button\r\n2000000000=z:panel\r\n";
    TSkinData skin;
    Apply(skin, b);
    EXPECT_EQ(skin.SkinControls().Count(), 2);
    EXPECT_EQ(skin.IndexOfControl("z"), 1);
}

TEST(SkinData, PackThenLoadGivesBackTheSameSkin) {
    TempDir dir;
    const QImage frame = SolidPicture(60, 44, QColor(1, 2, 3));
    QImage list0(13, 7, QImage::Format_RGB32);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) list0.setPixelColor(x, y, QColor(x * 19, y * 30, (x + y) * 7));
    QImage indexed = list0.convertToFormat(QImage::Format_Indexed8);
    ASSERT_TRUE(frame.save(QString::fromStdString(dir.file("frame.bmp"))));
    ASSERT_TRUE(frame.save(QString::fromStdString(dir.file("mask.bmp"))));
    ASSERT_TRUE(list0.save(QString::fromStdString(dir.file("a.bmp"))));
    ASSERT_TRUE(indexed.save(QString::fromStdString(dir.file("b.bmp"))));
    const std::string description = dir.file("test.skn");
    writeFileBytes(description, std::string(kText) + "[HINTWINDOW]\nfontheight=9\n");

    TCompressedStoredSkin stored;
    ASSERT_TRUE(stored.BuildFromDescriptionFile(QString::fromStdString(description)));
    EXPECT_EQ(stored.FileName, QString::fromStdString(description));
    TSkinData skin;
    skin.ApplyStoredSkin(stored);
    ASSERT_EQ(skin.PictureCount(), 2);
    EXPECT_EQ(*skin.Picture(0), list0);
    EXPECT_EQ(*skin.Picture(1), indexed.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(skin.MainPicture(), frame);
    EXPECT_TRUE(skin.InactivePicture().isNull());
    EXPECT_EQ(skin.HintWindow().fontheight, 9);
    EXPECT_EQ(skin.SkinControls().Count(), 3);
    EXPECT_EQ(skin.SkinObjects().Count(), 2);

    // The packed text is the file's lines, each ended by CR LF.
    TMemoryStream archive;
    stored.ExtractArchive(archive);
    EXPECT_TRUE(archive.Data().endsWith("[HINTWINDOW]\r\nfontheight=9\r\n"));

    // Written to an archive file and read back, the same bytes travel.
    const QString file = QString::fromStdString(dir.file("dbskin.dat"));
    stored.SaveArchiveFile(file);
    TCompressedStoredSkin again;
    again.LoadArchiveFile(file);
    EXPECT_EQ(again.CompressedData, stored.CompressedData);
    EXPECT_EQ(again.CompressedFileName, file);
}

TEST(SkinData, PackingNeedsAllFiveSections) {
    TempDir dir;
    const std::string description = dir.file("partial.skn");
    writeFileBytes(description, "[VERSION]\n[PICTURES]\n[FORMINFO]\n[SKINCONTROLS]\n");
    TCompressedStoredSkin stored;
    stored.CompressedData = "keep";
    EXPECT_FALSE(stored.BuildFromDescriptionFile(QString::fromStdString(description)));
    EXPECT_EQ(stored.CompressedData, QByteArray("keep"));
    // A named picture that is missing is reported.
    writeFileBytes(description, "[VERSION]\n[PICTURES]\npicture=none.bmp\n[FORMINFO]\n[SKINOBJECTS]\n[SKINCONTROLS]\n");
    EXPECT_THROW(stored.BuildFromDescriptionFile(QString::fromStdString(description)), EFOpenError);
}

namespace {

// A skin whose main picture is "frame.bmp" and whose list holds a.bmp, its twin and the given further twin.
ArchiveBuilder WithTwins(QSize frameTwin, QSize listTwin, const char* extraName) {
    ArchiveBuilder b;
    b.Picture = SolidPicture(60, 44, QColor(10, 20, 30));
    b.List = {SolidPicture(7, 3, QColor(200, 100, 50)), SolidPicture(listTwin.width(), listTwin.height(), Qt::red),
              SolidPicture(frameTwin.width(), frameTwin.height(), Qt::green), SolidPicture(2, 2, Qt::blue)};
    b.Text = std::string(
                 "[VERSION]\r\nskinname=Twins\r\n[PICTURES]\r\npicture=Frame.bmp\r\nactivepicturescount=4\r\n"
                 "0=a.bmp\r\n1=a@2x.bmp\r\n2=frame@2X.bmp\r\n3=") +
             extraName +
             "\r\n[FORMINFO]\r\nclientrect=8,25,52,36\r\n[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=0\r\n";
    return b;
}

}  // namespace

TEST(SkinData, PicturesNamedWithAt2xAreTheDetailedTwinsOfTheirNamesakes) {
    TSkinData skin;
    Apply(skin, WithTwins({120, 88}, {14, 6}, "b.bmp"));
    ASSERT_FALSE(skin.SkinEmpty());
    const QImage* frameTwin = DetailedPicture(skin.MainPicture());
    ASSERT_NE(frameTwin, nullptr);
    EXPECT_EQ(frameTwin->pixelColor(0, 0), QColor(Qt::green));
    const QImage* listTwin = DetailedPicture(*skin.Picture(0));
    ASSERT_NE(listTwin, nullptr);
    EXPECT_EQ(listTwin->size(), QSize(14, 6));
    EXPECT_TRUE(skin.RefusedDetailedPictures().empty());
    // The list keeps its indexes: the twins stay in it.
    EXPECT_EQ(skin.PictureCount(), 4);
    skin.UnloadSkin();
    EXPECT_EQ(skin.PictureCount(), 0);
}

TEST(SkinData, ADetailedTwinOfTheWrongSizeOrWithoutANamesakeIsRefused) {
    struct Case {
        QSize FrameTwin, ListTwin;
        const char* Extra;
        std::vector<std::string> Refused;
    };
    const Case cases[] = {
        {{120, 87}, {14, 6}, "b.bmp", {"frame@2X.bmp"}},             // one row short
        {{120, 88}, {7, 3}, "b.bmp", {"a@2x.bmp"}},                  // the 1x size again
        {{240, 176}, {14, 6}, "b.bmp", {"frame@2X.bmp"}},            // four times
        {{120, 88}, {14, 6}, "nothing@2x.bmp", {"nothing@2x.bmp"}},  // no picture of that name
        {{120, 88}, {14, 6}, "a@2x.bmp", {"a@2x.bmp"}},              // a second twin of a.bmp, 2 x 2
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Extra);
        TSkinData skin;
        Apply(skin, WithTwins(c.FrameTwin, c.ListTwin, c.Extra));
        ASSERT_FALSE(skin.SkinEmpty());
        EXPECT_EQ(skin.RefusedDetailedPictures(), c.Refused);
        const bool frameTwinFits = c.FrameTwin == QSize(120, 88);
        EXPECT_EQ(DetailedPicture(skin.MainPicture()) != nullptr, frameTwinFits);
    }
}
