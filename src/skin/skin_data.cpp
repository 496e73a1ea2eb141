#include "skin/skin_data.h"
namespace dorvanel::skin {
QString TResourceStrData::GetResStr(const QString&) const { return {}; }
void TResourceStrData::SetResStr(const QString&, const QString&) {}
TSkinData::TSkinData(QObject* owner) : QObject(owner) {}
TSkinData::~TSkinData() = default;
void TSkinData::SetCompressedStoredSkin(TCompressedStoredSkin* stored) { FCompressedStoredSkin = stored; }
void TSkinData::SetResourceStrData(TResourceStrData* strings) { FResourceStrData = strings; }
void TSkinData::LoadSkinArchiveFile(const QString&) {}
void TSkinData::ApplyStoredSkin(const TCompressedStoredSkin&) {}
void TSkinData::ClearSkin() {}
void TSkinData::BroadcastSkinMessage(int) {}
}  // namespace dorvanel::skin
