#pragma once
// When a file dialog may close confirmed, and with which path.
#include <QString>

#include <optional>

namespace dorvanel::skindialogs {

struct TConfirmState {
    bool SaveDialog = false;
    bool CheckFileExists = true;
    // The folder the list shows.
    QString Folder;
    // The text of the file-name edit.
    QString EditText;
    // Full path of the file selected in the list; empty when nothing or only a folder is selected.
    QString SelectedFile;
};

// The path the dialog closes with, or nothing when the confirm is refused (the window then stays open
// without a message): an open dialog that checks for the file needs a selected file that exists; an empty
// name is refused; a save name with "*" is refused.
std::optional<QString> ConfirmedPath(const TConfirmState& state);

// folder + "/" + name, without doubling a "/" the folder already ends with.
QString JoinPath(const QString& folder, const QString& name);

}  // namespace dorvanel::skindialogs
