#include "skindialogs/dialog_combos.h"

#include "skindialogs/folder_listing.h"

#include <QApplication>
#include <QCollator>
#include <QDir>
#include <QStyle>

namespace dorvanel::skindialogs {

namespace {

QString DisplayName(const QString& path) {
    if (path == QLatin1String("/")) return path;
    return NamePart(path);
}

// Whether ancestor is folder itself or one of the folders above it.
bool IsAncestorOrSame(const QString& ancestor, const QString& folder) {
    if (ancestor == folder) return true;
    if (ancestor == QLatin1String("/")) return folder.startsWith(QLatin1Char('/'));
    return folder.startsWith(ancestor + QLatin1Char('/'));
}

}  // namespace

QList<TFolderComboEntry> BaseFolderEntries(const QStringList& roots) {
    QList<TFolderComboEntry> entries;
    for (const QString& root : roots) {
        const QString path = NormalFolder(root);
        entries.append({path, DisplayName(path), 0});
        if (path != QLatin1String("/")) continue;
        QStringList children = QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::sort(children.begin(), children.end(), collator);
        for (const QString& child : children)
            if (!child.startsWith(QLatin1Char('.'))) entries.append({QLatin1Char('/') + child, child, 1});
    }
    return entries;
}

QList<TFolderComboEntry> FolderEntriesFor(const QList<TFolderComboEntry>& base, const QString& folder, int& chosen) {
    QList<TFolderComboEntry> entries = base;
    chosen = -1;
    int ancestor = -1;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries[i].Path == folder) {
            chosen = i;
            return entries;
        }
        if (IsAncestorOrSame(entries[i].Path, folder) &&
            (ancestor < 0 || entries[i].Path.size() > entries[ancestor].Path.size()))
            ancestor = i;
    }
    if (ancestor < 0) return entries;
    // The folders between the ancestor and folder, top down.
    QStringList chain;
    for (QString path = folder; path != entries[ancestor].Path && !path.isEmpty(); path = FolderPart(path)) {
        chain.prepend(path);
        if (path == QLatin1String("/")) break;
    }
    int at = ancestor + 1;
    int depth = entries[ancestor].Depth + 1;
    for (const QString& path : chain) entries.insert(at++, {path, DisplayName(path), depth++});
    chosen = at - 1;
    return entries;
}

TSkinShellComboBox::TSkinShellComboBox(QWidget* parent) : TSkinComboBox(parent) {
    SetDropDownCount(10);
    OnChange = [this] {
        if (OnFolderChosen && ItemIndex() >= 0) OnFolderChosen(Folder());
    };
    SetRoots({QDir::homePath(), QStringLiteral("/")});
}

void TSkinShellComboBox::SetRoots(const QStringList& roots) {
    FRoots = roots;
    FBase = BaseFolderEntries(roots);
    ShowFolder(Folder());
}

QString TSkinShellComboBox::Folder() const { return ItemIndex() >= 0 ? Item(ItemIndex()).Data.toString() : QString(); }

void TSkinShellComboBox::ShowFolder(const QString& folder) {
    int chosen = -1;
    const QList<TFolderComboEntry> entries = FolderEntriesFor(FBase, NormalFolder(folder), chosen);
    QStyle* style = QApplication::style();
    const QString home = NormalFolder(QDir::homePath());
    Clear();
    for (const TFolderComboEntry& entry : entries) {
        QStyle::StandardPixmap icon = QStyle::SP_DirIcon;
        if (entry.Path == home) icon = QStyle::SP_DirHomeIcon;
        else if (entry.Path == QLatin1String("/")) icon = QStyle::SP_DriveHDIcon;
        AddItem({entry.Name, style->standardIcon(icon), entry.Depth, entry.Path});
    }
    SetItemIndex(chosen);
}

TSkinFilterComboBox::TSkinFilterComboBox(QWidget* parent) : TSkinComboBox(parent) {}

void TSkinFilterComboBox::SetFilter(const QString& filter) {
    FFilter = filter;
    FEntries = ParseFilter(filter);
    Clear();
    for (const TFilterEntry& entry : FEntries) AddItem({entry.Description, {}, 0, entry.Mask});
    SetItemIndex(FEntries.isEmpty() ? -1 : 0);
}

}  // namespace dorvanel::skindialogs
