// The replacing write and the whole-file read against the file system's awkward cases.
#include "common/files.h"

#include "support/plain/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace dorvanel;
using common::EFileError;
using common::ReadWholeFile;
using common::WriteFileReplacing;
namespace fs = std::filesystem;

namespace {

size_t Entries(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

std::string SaveFailure(const std::string& path, const std::string& bytes) {
    try {
        WriteFileReplacing(path, bytes);
    } catch (const EFileError& e) {
        return e.what();
    }
    return "saved";
}

}  // namespace

TEST(Files, ReplacesAnExistingFileWholeAndKeepsItsMode) {
    test::TempDir dir;
    const std::string path = dir.file("out.csv");
    test::writeFileBytes(path, std::string(10000, 'x'));
    ::chmod(path.c_str(), 0640);
    WriteFileReplacing(path, "short\r\n");
    EXPECT_EQ(test::readFileBytes(path), "short\r\n");
    EXPECT_EQ(Entries(dir.path()), 1u);  // no temporary left
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(Files, RefusedTargetsAreReportedAndLeftIntact) {
    test::TempDir dir;
    const std::string locked = dir.file("locked.csv");
    test::writeFileBytes(locked, "precious");
    ::chmod(locked.c_str(), 0444);
    EXPECT_EQ(SaveFailure(locked, "new"), "Could not save the file: Permission denied");
    EXPECT_EQ(test::readFileBytes(locked), "precious");
    EXPECT_EQ(SaveFailure(dir.file("no/such/folder/out.csv"), "x"),
              "Could not save the file: No such file or directory");
    EXPECT_EQ(SaveFailure(dir.path().string(), "x"), "Could not save the file: Is a directory");
    EXPECT_NE(SaveFailure("/proc/dorvanel-test.csv", "x"), "saved");  // refuses new files even to root
    EXPECT_EQ(Entries(dir.path()), 1u);
}

TEST(Files, LinkIsFollowedAndStaysALink) {
    test::TempDir dir;
    const std::string real = dir.file("real.csv");
    const std::string link = dir.file("link.csv");
    test::writeFileBytes(real, "old");
    fs::create_symlink(real, link);
    WriteFileReplacing(link, "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::readFileBytes(real), "new");
}

TEST(Files, WritableFileInALockedFolderIsWrittenInPlace) {
    if (geteuid() == 0) GTEST_SKIP() << "root may create files in any folder";
    test::TempDir dir;
    const std::string folder = dir.file("ro");
    fs::create_directory(folder);
    const std::string path = folder + "/out.csv";
    test::writeFileBytes(path, "old content");
    ::chmod(folder.c_str(), 0555);
    WriteFileReplacing(path, "new");
    EXPECT_EQ(test::readFileBytes(path), "new");
    EXPECT_EQ(SaveFailure(folder + "/other.csv", "x"), "Could not save the file: Permission denied");
    ::chmod(folder.c_str(), 0755);
}

TEST(Files, ReadsOnlyRegularFilesWithinTheLimit) {
    test::TempDir dir;
    const std::string path = dir.file("list.txt");
    test::writeFileBytes(path, std::string("a\0b", 3));
    EXPECT_EQ(ReadWholeFile(path), std::string("a\0b", 3));
    EXPECT_THROW(ReadWholeFile(path, 2), EFileError);
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(common::IsRegularFile(fifo));
    EXPECT_THROW(ReadWholeFile(fifo), EFileError);  // does not wait for a writer
    EXPECT_THROW(ReadWholeFile(dir.path().string()), EFileError);
    EXPECT_THROW(ReadWholeFile(dir.file("missing")), EFileError);
}
