#include "skindialogs/dialog_combos.h"
#include "skindialogs/folder_listing.h"
#include "support/plain/temp_dir.h"

#include "support/qt/qt_print.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

using namespace dorvanel::skin;
using namespace dorvanel::skindialogs;
namespace fs = std::filesystem;

namespace {

QStringList Names(const std::vector<TFileEntry>& entries) {
    QStringList names;
    for (const auto& e : entries) names.append(e.Name + (e.IsFolder ? "/" : ""));
    return names;
}

QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

}  // namespace

TEST(FolderListing, FoldersFirstThenMatchingFilesEachInNameOrder) {
    dorvanel::test::TempDir dir;
    for (const char* name :
         {"b.txt", "a.TXT", "c.csv", "Z.txt", "file10.txt", "file9.txt", ".hidden.txt", "archive.ZIP"})
        dorvanel::test::writeFileBytes(dir.file(name), "x");
    fs::create_directory(dir.path() / "sub");
    fs::create_directory(dir.path() / "Alpha.txt.d");
    fs::create_directory(dir.path() / ".git");

    // A folder whose name starts with "." is listed like any folder (before the files); such files stay out.
    auto listed = [&dir](const char* mask) {
        QStringList names = Names(ListFolder(Q(dir.path()), mask));
        EXPECT_TRUE(names.contains(".git/")) << mask;
        EXPECT_FALSE(names.contains(".hidden.txt")) << mask;
        names.removeAll(".git/");
        return names;
    };
    EXPECT_EQ(listed("*.txt"),
              QStringList({"Alpha.txt.d/", "sub/", "a.TXT", "b.txt", "file10.txt", "file9.txt", "Z.txt"}));
    EXPECT_EQ(listed("*.txt;*.csv"),
              QStringList({"Alpha.txt.d/", "sub/", "a.TXT", "b.txt", "c.csv", "file10.txt", "file9.txt", "Z.txt"}));
    // "*" lists no files, folders always; a zip archive is a file.
    EXPECT_EQ(listed("*"), QStringList({"Alpha.txt.d/", "sub/"}));
    EXPECT_EQ(listed("*.zip"), QStringList({"Alpha.txt.d/", "sub/", "archive.ZIP"}));
    const auto all = ListFolder(Q(dir.path()), "*.*");
    EXPECT_EQ(all.size(), 10u);
    EXPECT_EQ(all.back().Name, "Z.txt");
    EXPECT_EQ(all.back().Size, 1);
}

TEST(FolderListing, AFolderThatCannotBeShownRaisesInvalidPath) {
    dorvanel::test::TempDir dir;
    const QString missing = Q(dir.path() / "missing");
    try {
        ListFolder(missing, "*.*");
        FAIL() << "no failure";
    } catch (const EInvalidPath& e) {
        EXPECT_EQ(std::string(e.what()), "Error setting path: \"" + missing.toStdString() + "\"");
    }
    dorvanel::test::writeFileBytes(dir.file("plain"), "x");
    EXPECT_THROW(ListFolder(Q(dir.path() / "plain"), "*.*"), EInvalidPath);
    EXPECT_THROW(ListFolder(QString(), "*.*"), EInvalidPath);
}

TEST(FolderListing, PathParts) {
    EXPECT_EQ(FolderPart("/a/b/c.txt"), "/a/b");
    EXPECT_EQ(FolderPart("/c.txt"), "/");
    EXPECT_EQ(FolderPart("c.txt"), "");
    EXPECT_EQ(NamePart("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(NamePart("c.txt"), "c.txt");
    EXPECT_EQ(ParentFolder("/a/b"), "/a");
    EXPECT_EQ(ParentFolder("/a"), "/");
    EXPECT_EQ(ParentFolder("/"), "/");
    EXPECT_EQ(NormalFolder("/a/b/../c/"), "/a/c");
    EXPECT_EQ(NormalFolder("/"), "/");
}

TEST(FolderListing, NewFolderIsCreatedOnceAndAFailureCarriesTheReason) {
    dorvanel::test::TempDir dir;
    const QString folder = Q(dir.path());
    CreateNewFolder(folder, "New Folder");
    EXPECT_TRUE(fs::is_directory(dir.path() / "New Folder"));
    dorvanel::test::writeFileBytes(dir.file("New Folder/keep"), "x");
    CreateNewFolder(folder, "New Folder");  // already there: left alone
    EXPECT_TRUE(fs::exists(dir.path() / "New Folder" / "keep"));

    // A file of that name is in the way: the system's refusal is reported.
    dorvanel::test::writeFileBytes(dir.file("Blocked"), "x");
    try {
        CreateNewFolder(folder, "Blocked");
        FAIL() << "no failure";
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), std::strerror(EEXIST));
    }
    if (::geteuid() != 0) {
        fs::create_directory(dir.path() / "ro");
        ::chmod((dir.path() / "ro").c_str(), 0555);
        EXPECT_THROW(CreateNewFolder(Q(dir.path() / "ro"), "New Folder"), EInOutError);
        ::chmod((dir.path() / "ro").c_str(), 0755);
    }
}

TEST(FolderCombo, ChainBelowTheNearestListedAncestor) {
    const QList<TFolderComboEntry> base = {
        {"/home/u", "u", 0}, {"/", "/", 0}, {"/home", "home", 1}, {"/tmp", "tmp", 1}};
    int chosen = -1;
    auto entries = FolderEntriesFor(base, "/home/u/docs/work", chosen);
    ASSERT_EQ(entries.size(), 6);
    EXPECT_EQ(entries[1].Path, "/home/u/docs");
    EXPECT_EQ(entries[1].Depth, 1);
    EXPECT_EQ(entries[2].Path, "/home/u/docs/work");
    EXPECT_EQ(entries[2].Name, "work");
    EXPECT_EQ(entries[2].Depth, 2);
    EXPECT_EQ(chosen, 2);

    entries = FolderEntriesFor(base, "/tmp/x", chosen);
    EXPECT_EQ(entries[4].Path, "/tmp/x");
    EXPECT_EQ(entries[4].Depth, 2);
    EXPECT_EQ(chosen, 4);

    // A listed folder is only chosen; a folder under "/" alone goes right below it.
    entries = FolderEntriesFor(base, "/tmp", chosen);
    EXPECT_EQ(entries.size(), 4);
    EXPECT_EQ(chosen, 3);
    entries = FolderEntriesFor(base, "/opt", chosen);
    EXPECT_EQ(entries[2].Path, "/opt");
    EXPECT_EQ(chosen, 2);
}

TEST(FolderCombo, BaseListsTheRootsAndTheChildrenOfTheRoot) {
    const auto base = BaseFolderEntries({QDir::homePath(), "/"});
    ASSERT_GE(base.size(), 3);
    EXPECT_EQ(base[0].Path, QDir::cleanPath(QDir::homePath()));
    EXPECT_EQ(base[1].Path, "/");
    EXPECT_EQ(base[1].Depth, 0);
    bool hasTmp = false;
    for (int i = 2; i < base.size(); ++i) {
        EXPECT_EQ(base[i].Depth, 1);
        hasTmp = hasTmp || base[i].Path == "/tmp";
    }
    EXPECT_TRUE(hasTmp);
}
