#include "skin/skin_data.h"

#include "skin/bitmap_io.h"
#include "skin/device_picture.h"
#include "skin/skin_description.h"
#include "skin/skin_errors.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace dorvanel::skin {

namespace {

// Archives of this version carry two further frame-picture slots, which are read and dropped.
constexpr int kVersionWithExtraSlots = 2;
constexpr int kFirstUnreadableVersion = 4;

// One picture slot: a flag byte, and a bitmap only when the flag is 0.
QImage ReadPictureSlot(TMemoryStream& archive, std::int64_t& pixelBudget) {
    unsigned char flag = 0;
    archive.ReadBuffer(&flag, 1);
    return flag == 0 ? ReadBitmap(archive, pixelBudget) : QImage();
}

// "frame@2x.bmp" is the detailed twin of "frame.bmp": the name without its "@2x" before the extension, or no
// name when it has none.
std::string BaseOfDetailedName(const std::string& name) {
    static constexpr std::string_view kMark = "@2x";
    const std::size_t dot = name.rfind('.');
    const std::size_t end = dot == std::string::npos ? name.size() : dot;
    if (end < kMark.size()) return {};
    const std::size_t at = end - kMark.size();
    if (QByteArray::fromStdString(name.substr(at, kMark.size())).toLower() != kMark.data()) return {};
    return name.substr(0, at) + name.substr(end);
}

bool SameName(const std::string& a, const std::string& b) {
    return !a.empty() && QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

// Keys are found without regard to case ("msg_btn_ok" finds "MSG_BTN_OK").
QString TResourceStrData::GetResStr(const QString& name) const {
    for (const auto& [key, value] : FStrings)
        if (key.compare(name, Qt::CaseInsensitive) == 0) return value;
    return {};
}

void TResourceStrData::SetResStr(const QString& name, const QString& value) {
    for (auto& [key, old] : FStrings)
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            old = value;
            return;
        }
    FStrings.emplace_back(name, value);
}

TSkinData::TSkinData(QObject* owner) : QObject(owner) {}

TSkinData::~TSkinData() { ClearSkin(); }

void TSkinData::SetCompressedStoredSkin(TCompressedStoredSkin* stored) {
    FCompressedStoredSkin = stored;
    if (stored) ApplyStoredSkin(*stored);
}

void TSkinData::SetResourceStrData(TResourceStrData* strings) {
    FResourceStrData = strings;
    BroadcastSkinMessage(SKIN_MSG_STRINGS);
}

void TSkinData::LoadSkinArchiveFile(const QString& path) {
    TCompressedStoredSkin archive;
    archive.LoadArchiveFile(path);
    if (!archive.IsEmpty()) ApplyStoredSkin(archive);
}

void TSkinData::ApplyStoredSkin(const TCompressedStoredSkin& stored) {
    if (stored.IsEmpty()) return;
    FSkinEmpty = true;
    BroadcastSkinMessage(SKIN_MSG_PREPARE);
    ClearSkin();
    TMemoryStream archive;
    stored.ExtractArchive(archive);
    archive.Seek(0, TSeekOrigin::soBeginning);
    if (!ReadArchive(archive)) return;
    FSkinEmpty = false;
    BroadcastSkinMessage(SKIN_MSG_APPLY);
    BroadcastSkinMessage(SKIN_MSG_APPLIED);
}

bool TSkinData::ReadArchive(TMemoryStream& archive) {
    const std::int32_t version = archive.ReadInt32();
    if (version >= kFirstUnreadableVersion) return false;
    std::int64_t pixelBudget = kMaxArchivePixels;
    FPicture = ReadPictureSlot(archive, pixelBudget);
    FInactivePicture = ReadPictureSlot(archive, pixelBudget);
    FMask = ReadPictureSlot(archive, pixelBudget);
    if (version == kVersionWithExtraSlots) {
        ReadPictureSlot(archive, pixelBudget);
        ReadPictureSlot(archive, pixelBudget);
    }
    const std::int32_t count = archive.ReadInt32();
    // Every listed bitmap needs at least its two headers: a count the remaining bytes cannot hold is a lie.
    if (count > 0 && std::int64_t(count) * kMinBitmapFileSize > archive.Size() - archive.Position()) throw EReadError();
    for (std::int32_t i = 0; i < count; ++i) FActivePictures.push_back(ReadBitmap(archive, pixelBudget));
    const std::int64_t at = archive.Position();
    // Every line of the description becomes a few small objects: a cap on its length caps the memory they take.
    if (archive.Size() - at > kMaxDescriptionBytes) throw EDescriptionTooLong();
    ReadDescriptionText(std::string_view(archive.Data().constData() + at, std::size_t(archive.Size() - at)));
    AttachDetailedPictures();
    return true;
}

void TSkinData::AttachDetailedPictures() {
    const std::size_t listed = std::min(FActivePictures.size(), FActivePictureNames.size());
    for (std::size_t i = 0; i < listed; ++i) {
        const std::string base = BaseOfDetailedName(FActivePictureNames[i]);
        if (base.empty()) continue;
        // The mask is not among them: the window's shape is cut in logical pixels.
        const QImage* picture = SameName(FPictureName, base)           ? &FPicture
                                : SameName(FInactivePictureName, base) ? &FInactivePicture
                                                                       : nullptr;
        for (std::size_t j = 0; !picture && j < listed; ++j)
            if (j != i && SameName(FActivePictureNames[j], base)) picture = &FActivePictures[j];
        if (!picture || !AttachDetailedPicture(*picture, FActivePictures[i]))
            FRefusedDetailed.push_back(FActivePictureNames[i]);
    }
}

void TSkinData::DetachDetailedPictures() {
    for (const QImage* picture : {&FPicture, &FInactivePicture}) DetachDetailedPicture(*picture);
    for (const QImage& picture : FActivePictures) DetachDetailedPicture(picture);
}

void TSkinData::ReadDescriptionText(std::string_view text) {
    const TSkinDescription d(text);
    FSkinName = d.ReadString("VERSION", "skinname");
    FSkinAuthor = d.ReadString("VERSION", "skinauthor");
    FAuthorEmail = d.ReadString("VERSION", "authoremail");
    FAuthorURL = d.ReadString("VERSION", "authorurl");
    FSkinComments = d.ReadString("VERSION", "skincomments");
    FPictureName = d.ReadString("PICTURES", "picture");
    FInactivePictureName = d.ReadString("PICTURES", "inactivepicture");
    FMaskName = d.ReadString("PICTURES", "mask");
    FActivePictureNames = d.ReadNameList("PICTURES", "activepictures");
    FFormInfo.ReadDescription(d, !FMaskName.empty());
    FPopupWindow.ReadDescription(d);
    FHintWindow.ReadDescription(d);

    // Entries are "name:kind"; an unknown kind, or an entry without ":", creates nothing.
    auto readEntries = [&d](const char* section, auto create, auto& list) {
        for (auto& [index, entry] : d.ReadEntries(section, d.ReadInteger(section, "count", 0))) {
            const std::size_t colon = entry.find(':');
            if (colon == std::string::npos) continue;
            auto item = create(std::string_view(entry).substr(colon + 1), entry.substr(0, colon));
            if (!item) continue;
            auto* raw = item.get();
            list.Add(std::move(item));
            raw->ReadDescription(d);
        }
    };
    readEntries("SKINOBJECTS", CreateSkinObject, FObjects);
    readEntries("SKINCONTROLS", CreateSkinControl, FControls);
}

void TSkinData::UnloadSkin() {
    FSkinEmpty = true;
    BroadcastSkinMessage(SKIN_MSG_PREPARE);
    ClearSkin();
    BroadcastSkinMessage(SKIN_MSG_APPLY);
    BroadcastSkinMessage(SKIN_MSG_APPLIED);
}

void TSkinData::ClearSkin() {
    DetachDetailedPictures();
    FRefusedDetailed.clear();
    FControls.Clear();
    FObjects.Clear();
    FActivePictures.clear();
    FPicture = FInactivePicture = FMask = QImage();
    FPictureName.clear();
    FInactivePictureName.clear();
    FMaskName.clear();
    FActivePictureNames.clear();
    FSkinName.clear();
    FSkinAuthor.clear();
    FAuthorEmail.clear();
    FAuthorURL.clear();
    FSkinComments.clear();
    FFormInfo = TSkinFormInfo{};
    FPopupWindow = TDataSkinPopupWindow{};
    FHintWindow = TDataSkinHintWindow{};
    FSkinEmpty = true;
}

void TSkinData::BroadcastSkinMessage(int message) {
    // The owner's window hears first, then every other top-level window once. Windows closed by an earlier
    // receiver are skipped.
    QList<QPointer<QWidget>> targets;
    QWidget* owner = nullptr;
    if (auto* w = qobject_cast<QWidget*>(parent())) owner = w->window();
    if (owner) targets.append(owner);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != owner) targets.append(w);
    for (const QPointer<QWidget>& target : targets) {
        if (!target) continue;
        TSkinMessageEvent event(message, this);
        QCoreApplication::sendEvent(target, &event);
    }
}

}  // namespace dorvanel::skin
