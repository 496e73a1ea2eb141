#include "skindialogs/confirm_rules.h"

#include <QFileInfo>

namespace dorvanel::skindialogs {

QString JoinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(QLatin1Char('/'))) return folder + name;
    return folder + QLatin1Char('/') + name;
}

std::optional<QString> ConfirmedPath(const TConfirmState& state) {
    const bool checkOpen = !state.SaveDialog && state.CheckFileExists;
    if (checkOpen && state.SelectedFile.isEmpty()) return std::nullopt;
    if (state.EditText.isEmpty()) return std::nullopt;
    if (state.SaveDialog) {
        if (state.EditText.contains(QLatin1Char('*'))) return std::nullopt;
        // A typed absolute name is used as it stands.
        if (QFileInfo(state.EditText).isAbsolute()) return state.EditText;
        return JoinPath(state.Folder, state.EditText);
    }
    if (checkOpen) {
        const QFileInfo file(state.SelectedFile);
        if (file.exists() && !file.isDir()) return state.SelectedFile;
        return std::nullopt;
    }
    if (!state.SelectedFile.isEmpty()) return state.SelectedFile;
    return JoinPath(state.Folder, state.EditText);
}

}  // namespace dorvanel::skindialogs
