#include "skindialogs/folder_history.h"

namespace dorvanel::skindialogs {

void TFolderHistory::Visit(const QString& folder, bool byBack) {
    if (byBack) return;
    if (!FEntries.isEmpty() && FEntries.last() == folder) return;
    FEntries.append(folder);
}

std::optional<QString> TFolderHistory::Back() {
    if (FEntries.size() < 2) return std::nullopt;
    return FEntries.takeAt(FEntries.size() - 2);
}

}  // namespace dorvanel::skindialogs
