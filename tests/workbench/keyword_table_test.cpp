#include "workbench/keyword_table.h"

#include "common/exception.h"
#include "support/plain/temp_dir.h"
#include "workbench/table_operations.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace dorvanel;
using namespace dorvanel::workbench;
using skinctrls::TListItems;

namespace {

QStringList Keywords(const TListItems& items) {
    QStringList out;
    for (int i = 0; i < items.Count(); ++i) out << items.Item(i).SubItem(cellKeyword);
    return out;
}

QStringList Captions(const TListItems& items) {
    QStringList out;
    for (int i = 0; i < items.Count(); ++i) out << items.Item(i).Caption;
    return out;
}

}  // namespace

TEST(KeywordTable, ColumnsHaveTheirCaptionsAndWidths) {
    TListItems items;
    SetupKeywordColumns(items);
    ASSERT_EQ(items.ColumnCount(), 6);
    const char* captions[] = {"No", "Keywords", "Searches", "Google", "Yahoo", "Msn"};
    const int widths[] = {49, 132, 132, 104, 104, 104};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(items.Column(i).Caption, QString::fromLatin1(captions[i]));
        EXPECT_EQ(items.Column(i).Width, widths[i]);
    }
}

TEST(KeywordTable, AppendedRowIsNumberedFromTheCountAndKeepsTheTextAsTyped) {
    TListItems items;
    auto& row = AppendKeywordRow(items, QStringLiteral("golf, soccer"));
    EXPECT_EQ(row.Caption, "1");
    ASSERT_EQ(row.SubItems.size(), 5);
    EXPECT_EQ(row.SubItems[0], "golf, soccer");
    for (int i = 1; i < 5; ++i) EXPECT_TRUE(row.SubItems[i].isEmpty());
    EXPECT_FALSE(row.Checked);
    EXPECT_EQ(ItemsListedText(items.Count()), "1 items listed");
    EXPECT_EQ(ItemsListedText(0), "0 items listed");
    EXPECT_EQ(TotalText(12), "Total: 12");

    auto& suggested = AppendKeywordRow(items, QStringLiteral(" padded "), QStringLiteral("1,234"));
    EXPECT_EQ(suggested.SubItems[0], " padded ");
    EXPECT_EQ(suggested.SubItems[1], "1,234");
}

TEST(KeywordTable, NumbersAreLabelsThatRepeatAfterDeletion) {
    TListItems items;
    for (const char* k : {"a", "b", "c"}) AppendKeywordRow(items, QString::fromLatin1(k));
    items.SetChecked(0, true);
    DeleteSelected(items);
    AppendKeywordRow(items, QStringLiteral("d"));
    EXPECT_EQ(Captions(items), (QStringList{"2", "3", "3"}));
}

TEST(KeywordTable, ImportAppendsAfterExistingRowsAndReportsTheTotal) {
    test::TempDir dir;
    const std::string path = dir.file("list.txt");
    test::writeFileBytes(path, "a\r\n\r\nb\r\n");
    TListItems items;
    AppendKeywordRow(items, QStringLiteral("first"));
    QStringList statuses;
    ASSERT_TRUE(ImportKeywordList(items, QString::fromStdString(path), [&](const QString& s) { statuses << s; }));
    EXPECT_EQ(Keywords(items), (QStringList{"first", "a", "", "b"}));
    EXPECT_EQ(Captions(items), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(statuses.back(), "Total: 4");
}

TEST(KeywordTable, ImportOfAnEmptyFileStillReportsTheTotal) {
    test::TempDir dir;
    const std::string path = dir.file("empty.txt");
    test::writeFileBytes(path, "");
    TListItems items;
    AppendKeywordRow(items, QStringLiteral("x"));
    QString status;
    ASSERT_TRUE(ImportKeywordList(items, QString::fromStdString(path), [&](const QString& s) { status = s; }));
    EXPECT_EQ(items.Count(), 1);
    EXPECT_EQ(status, "Total: 1");
}

TEST(KeywordTable, ImportOfNoFileOrAFolderAddsNothingAndSaysNothing) {
    test::TempDir dir;
    TListItems items;
    bool called = false;
    auto status = [&](const QString&) { called = true; };
    EXPECT_FALSE(ImportKeywordList(items, QString(), status));
    EXPECT_FALSE(ImportKeywordList(items, QString::fromStdString(dir.file("missing.txt")), status));
    EXPECT_FALSE(ImportKeywordList(items, QString::fromStdString(dir.path().string()), status));
    EXPECT_EQ(items.Count(), 0);
    EXPECT_FALSE(called);
}

TEST(KeywordTable, OnlyARegularFileWithinTheLimitIsAList) {
    // A socket, a FIFO or a folder is no list file: nothing is added and nothing blocks.
    test::TempDir dir;
    const std::string socketPath = dir.file("list.sock");
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    const std::string fifo = dir.file("list.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    TListItems items;
    AppendKeywordRow(items, QStringLiteral("kept"));
    for (const std::string& path : {socketPath, fifo, dir.path().string()})
        EXPECT_FALSE(ImportKeywordList(items, QString::fromStdString(path), {})) << path;
    close(fd);

    // A file past the limit is refused before it is read (a sparse file takes no disk space).
    const std::string huge = dir.file("huge.txt");
    std::filesystem::resize_file((test::writeFileBytes(huge, "a\n"), huge), kMaxListFileBytes + 1);
    EXPECT_THROW(ImportKeywordList(items, QString::fromStdString(huge), {}), dorvanel::Exception);
    EXPECT_EQ(items.Count(), 1);
}

TEST(TableOperations, TickUntickAndDeleteKeepTheOthersInOrder) {
    TListItems items;
    for (const char* k : {"a", "b", "c", "d"}) AppendKeywordRow(items, QString::fromLatin1(k));
    SelectAll(items);
    for (int i = 0; i < items.Count(); ++i) EXPECT_TRUE(items.Item(i).Checked);
    ClearSelection(items);
    for (int i = 0; i < items.Count(); ++i) EXPECT_FALSE(items.Item(i).Checked);

    DeleteSelected(items);  // nothing ticked: nothing goes
    EXPECT_EQ(items.Count(), 4);

    items.SetChecked(1, true);
    items.SetChecked(3, true);
    DeleteSelected(items);
    EXPECT_EQ(Keywords(items), (QStringList{"a", "c"}));
    EXPECT_EQ(Captions(items), (QStringList{"1", "3"}));

    SelectAll(items);
    DeleteSelected(items);
    EXPECT_EQ(items.Count(), 0);

    AppendKeywordRow(items, QStringLiteral("z"));
    DeleteAll(items);
    EXPECT_EQ(items.Count(), 0);
}

TEST(TableOperations, HandleOfADeletedRowReportsItGone) {
    TListItems items;
    for (const char* k : {"a", "b"}) AppendKeywordRow(items, QString::fromLatin1(k));
    auto handle = items.Handle(0);
    items.SetChecked(0, true);
    DeleteSelected(items);
    EXPECT_TRUE(handle.expired());
    auto kept = items.Handle(0);
    EXPECT_EQ(items.IndexOf(kept.lock().get()), 0);
}
