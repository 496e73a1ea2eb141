#include "skin/compressed_stored_skin.h"
namespace dorvanel::skin {
TCompressedStoredSkin::TCompressedStoredSkin(QObject* owner) : QObject(owner) {}
void TCompressedStoredSkin::LoadArchiveFile(const QString&) {}
void TCompressedStoredSkin::SaveArchiveFile(const QString&, int) const {}
void TCompressedStoredSkin::ExtractArchive(TStream&) const {}
bool TCompressedStoredSkin::BuildFromDescriptionFile(const QString&) { return false; }
}  // namespace dorvanel::skin
