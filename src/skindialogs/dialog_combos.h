#pragma once
// The file dialog's two drop-down lists: the folder combo (the root folders, the children of "/", and the
// chain down to the folder the list shows) and the file-type combo (the entries of the filter).
#include "skindialogs/file_filter.h"
#include "skinctrls/skin_combobox.h"

namespace dorvanel::skindialogs {

struct TFolderComboEntry {
    QString Path;
    QString Name;
    int Depth = 0;
};

// The entries to list: each root at depth 0 (the first roots first), the sub-folders of "/" at depth 1
// below "/" in name order.
QList<TFolderComboEntry> BaseFolderEntries(const QStringList& roots);

// The base entries with the chain from the nearest listed ancestor of folder down to folder inserted below
// that ancestor; chosen receives the position of folder.
QList<TFolderComboEntry> FolderEntriesFor(const QList<TFolderComboEntry>& base, const QString& folder, int& chosen);

class TSkinShellComboBox : public skinctrls::TSkinComboBox {
    Q_OBJECT
public:
    explicit TSkinShellComboBox(QWidget* parent = nullptr);

    // The root folders: the user's home folder and "/".
    const QStringList& Roots() const { return FRoots; }
    void SetRoots(const QStringList& roots);
    // Shows folder as the chosen entry, listing the chain down to it.
    void ShowFolder(const QString& folder);
    // The path of the chosen entry.
    QString Folder() const;

    // The user chose another entry.
    std::function<void(const QString& folder)> OnFolderChosen;

private:
    QStringList FRoots;
    QList<TFolderComboEntry> FBase;
};

class TSkinFilterComboBox : public skinctrls::TSkinComboBox {
    Q_OBJECT
public:
    explicit TSkinFilterComboBox(QWidget* parent = nullptr);

    const QString& Filter() const { return FFilter; }
    // Lists the filter's entries and chooses the first.
    void SetFilter(const QString& filter);
    const QList<TFilterEntry>& Entries() const { return FEntries; }
    // The mask of the chosen entry (the last entry when none is chosen, "*.*" with no entries).
    QString Mask() const { return MaskOfEntry(FEntries, ItemIndex()); }

private:
    QString FFilter;
    QList<TFilterEntry> FEntries;
};

}  // namespace dorvanel::skindialogs
