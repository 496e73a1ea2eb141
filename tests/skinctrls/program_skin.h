#pragma once
// Skins for the control tests: the program's own, and one built from an archive description.
#include "skin/archive_builder.h"
#include "skin/skin_data.h"
#include "defaultskin/default_skin.h"

#include <memory>

namespace dorvanel::skinctrls::test {

// A skin data of its own holding the program's skin (tests change and clear it).
inline std::unique_ptr<skin::TSkinData> ProgramSkin() {
    auto data = std::make_unique<skin::TSkinData>();
    skin::TCompressedStoredSkin stored;
    stored.CompressedData = defaultskin::DefaultSkinData();
    data->ApplyStoredSkin(stored);
    return data;
}

// Applies the archive an archive builder describes to data.
inline void ApplyArchive(skin::TSkinData& data, const skin::test::ArchiveBuilder& archive) {
    skin::TCompressedStoredSkin stored;
    skin::test::Store(stored, archive.Inner());
    data.ApplyStoredSkin(stored);
}

}  // namespace dorvanel::skinctrls::test
