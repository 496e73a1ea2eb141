#pragma once
// The folders a file dialog's list has shown, for its back button.
#include <QString>
#include <QStringList>

#include <optional>

namespace dorvanel::skindialogs {

class TFolderHistory {
public:
    // Appends a folder the list came to show, unless it is the last entry already or the back button
    // itself made the change.
    void Visit(const QString& folder, bool byBack = false);
    // With at least two entries: removes the second-to-last entry and returns it as the folder to show.
    std::optional<QString> Back();
    const QStringList& Entries() const { return FEntries; }

private:
    QStringList FEntries;
};

}  // namespace dorvanel::skindialogs
