#pragma once
// The live skin: its pictures and the description objects every skinned control and window frame draws
// from. Applying an archive replaces all of it in one step and announces the change to every window.
#include "skin/compressed_stored_skin.h"
#include "skin/data_skin_controls.h"
#include "skin/data_skin_objects.h"
#include "skin/skin_events.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dorvanel::skin {

// An owned list of description objects in entry order; lookups scan it by exact, case-sensitive name and
// allocate nothing.
template <class T>
class TDataSkinList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // The object at index, or null when index is out of range.
    T* Items(int index) const {
        return index >= 0 && index < Count() ? FItems[static_cast<std::size_t>(index)].get() : nullptr;
    }
    T* operator[](int index) const { return Items(index); }
    int IndexOf(std::string_view name) const {
        for (int i = 0; i < Count(); ++i)
            if (FItems[static_cast<std::size_t>(i)]->IDName == name) return i;
        return -1;
    }
    int IndexOf(const QString& name) const {
        for (int i = 0; i < Count(); ++i)
            if (QLatin1StringView(FItems[static_cast<std::size_t>(i)]->IDName) == name) return i;
        return -1;
    }
    void Add(std::unique_ptr<T> item) { FItems.push_back(std::move(item)); }
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<T>> FItems;
};

class TDataSkinControlList : public TDataSkinList<TDataSkinControl> {
public:
    int IndexOfControl(std::string_view name) const { return IndexOf(name); }
    int IndexOfControl(const char* name) const { return IndexOf(std::string_view(name)); }
    int IndexOfControl(const QString& name) const { return IndexOf(name); }
};

class TDataSkinObjectList : public TDataSkinList<TDataSkinObject> {
public:
    int IndexOfObject(std::string_view name) const { return IndexOf(name); }
    int IndexOfObject(const char* name) const { return IndexOf(std::string_view(name)); }
    int IndexOfObject(const QString& name) const { return IndexOf(name); }
};

// User-interface strings a skin may carry (menu captions and the like), with their character set.
class TResourceStrData : public QObject {
    Q_OBJECT
public:
    explicit TResourceStrData(QObject* owner = nullptr) : QObject(owner) {}
    // The text of a resource string by name ("MI_CLOSECAPTION"), or an empty text.
    QString GetResStr(const QString& name) const;
    void SetResStr(const QString& name, const QString& value);
    int CharSet = 1;  // default character set

private:
    std::vector<std::pair<QString, QString>> FStrings;
};

class TSkinData : public QObject {
    Q_OBJECT
public:
    // The owner's window, when the owner is a widget, hears every notification first.
    explicit TSkinData(QObject* owner = nullptr);
    ~TSkinData() override;

    // ---- carriers ----
    TCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
    // Stores the reference and applies that skin at once.
    void SetCompressedStoredSkin(TCompressedStoredSkin* stored);
    TResourceStrData* ResourceStrData() const { return FResourceStrData; }
    // Stores the reference and broadcasts SKIN_MSG_STRINGS.
    void SetResourceStrData(TResourceStrData* strings);

    // ---- loading ----
    // Loads a skin archive file (raises EFOpenError, EReadError, EDecompressionError, EInvalidGraphic,
    // EConvertError as the archive gives cause).
    void LoadSkinArchiveFile(const QString& path);
    // Replaces the live skin with a stored archive; an empty one changes nothing.
    void ApplyStoredSkin(const TCompressedStoredSkin& stored);
    // Frees every description and picture and marks the skin empty.
    void ClearSkin();
    // Clears the live skin and tells every window (SKIN_MSG_PREPARE, then SKIN_MSG_APPLY and
    // SKIN_MSG_APPLIED with the skin empty), so that every control returns to its plain look.
    void UnloadSkin();
    // Sends one notification to the owner's window first, then to every other top-level window.
    void BroadcastSkinMessage(int message);

    // ---- state ----
    bool SkinEmpty() const { return FSkinEmpty; }
    bool Empty() const { return FSkinEmpty; }

    // ---- description lookups (while SkinEmpty, treat every lookup as giving nothing) ----
    const TDataSkinControlList& SkinControls() const { return FControls; }
    const TDataSkinObjectList& SkinObjects() const { return FObjects; }
    int IndexOfControl(std::string_view name) const { return FControls.IndexOfControl(name); }
    int IndexOfControl(const char* name) const { return FControls.IndexOfControl(name); }
    int IndexOfControl(const QString& name) const { return FControls.IndexOfControl(name); }
    int IndexOfObject(std::string_view name) const { return FObjects.IndexOfObject(name); }
    int IndexOfObject(const char* name) const { return FObjects.IndexOfObject(name); }
    int IndexOfObject(const QString& name) const { return FObjects.IndexOfObject(name); }
    TDataSkinControl* Control(int index) const { return FControls.Items(index); }
    TDataSkinObject* Object(int index) const { return FObjects.Items(index); }

    // ---- pictures ----
    // Picture list entries are Format_RGB32 (Format_ARGB32 when the bitmap carried alpha).
    const std::vector<QImage>& ActivePictures() const { return FActivePictures; }
    int PictureCount() const { return static_cast<int>(FActivePictures.size()); }
    // The list picture at index, or null for -1 or any index not below the list's length.
    const QImage* Picture(int index) const {
        return index >= 0 && index < PictureCount() ? &FActivePictures[static_cast<std::size_t>(index)] : nullptr;
    }
    const QImage& MainPicture() const { return FPicture; }  // null image when absent
    const QImage& InactivePicture() const { return FInactivePicture; }
    const QImage& Mask() const { return FMask; }
    // Names of the list's "name@2x" pictures that were not twice the size of their "name" picture (or had
    // none): they are drawn from nothing, and "name" is drawn alone.
    const std::vector<std::string>& RefusedDetailedPictures() const { return FRefusedDetailed; }

    // ---- names and frame values ----
    const std::string& PictureName() const { return FPictureName; }
    const std::string& InactivePictureName() const { return FInactivePictureName; }
    const std::string& MaskName() const { return FMaskName; }
    const std::vector<std::string>& ActivePictureNames() const { return FActivePictureNames; }
    const std::string& SkinName() const { return FSkinName; }
    const std::string& SkinAuthor() const { return FSkinAuthor; }
    const std::string& AuthorEmail() const { return FAuthorEmail; }
    const std::string& AuthorURL() const { return FAuthorURL; }
    const std::string& SkinComments() const { return FSkinComments; }
    const TSkinFormInfo& FormInfo() const { return FFormInfo; }
    const TDataSkinPopupWindow& PopupWindow() const { return FPopupWindow; }
    const TDataSkinHintWindow& HintWindow() const { return FHintWindow; }

private:
    // False when the archive is of a version this program cannot read.
    bool ReadArchive(TMemoryStream& archive);
    void ReadDescriptionText(std::string_view text);
    // Pairs every "name@2x" list picture with its "name" picture, for screens of more than one device pixel
    // per logical pixel.
    void AttachDetailedPictures();
    void DetachDetailedPictures();

    bool FSkinEmpty = true;
    QPointer<TCompressedStoredSkin> FCompressedStoredSkin;
    QPointer<TResourceStrData> FResourceStrData;
    QImage FPicture, FInactivePicture, FMask;
    std::vector<QImage> FActivePictures;
    std::string FPictureName, FInactivePictureName, FMaskName;
    std::vector<std::string> FActivePictureNames;
    std::vector<std::string> FRefusedDetailed;
    std::string FSkinName, FSkinAuthor, FAuthorEmail, FAuthorURL, FSkinComments;
    TSkinFormInfo FFormInfo;
    TDataSkinPopupWindow FPopupWindow;
    TDataSkinHintWindow FHintWindow;
    TDataSkinControlList FControls;
    TDataSkinObjectList FObjects;
};

}  // namespace dorvanel::skin
