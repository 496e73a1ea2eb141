// The body streams: positions, sizes and the three ways of opening a file.
#include <gtest/gtest.h>

#include "http/net_errors.h"
#include "http/net_stream.h"
#include "support/plain/temp_dir.h"

namespace dorvanel::http {
namespace {

TEST(NetStream, MemoryStreamWritesAtItsPosition) {
    TNetMemoryStream stream("abcdef");
    stream.SetPosition(2);
    stream.Write(std::string("XY"));
    EXPECT_EQ(stream.DataString(), "abXYef");
    EXPECT_EQ(stream.Position(), 4);
    stream.SetSize(3);
    EXPECT_EQ(stream.DataString(), "abX");
    char buffer[8];
    stream.SetPosition(1);
    EXPECT_EQ(stream.Read(buffer, 8), 2);
}

TEST(NetStream, FileOpenModes) {
    test::TempDir dir;
    const std::string path = dir.file("page.html");
    test::writeFileBytes(path, "old content");
    {
        TNetFileStream kept(path, TNetFileStream::TOpenMode::OpenOrCreate);
        EXPECT_EQ(kept.Size(), 11);
        kept.Write(std::string("new"));
        kept.SetSize(kept.Position());
    }
    EXPECT_EQ(test::readFileBytes(path), "new");
    {
        TNetFileStream fresh(path, TNetFileStream::TOpenMode::Create);
        EXPECT_EQ(fresh.Size(), 0);
    }
    TNetFileStream created(dir.file("other.html"), TNetFileStream::TOpenMode::OpenOrCreate);
    EXPECT_EQ(created.Size(), 0);
    EXPECT_THROW(TNetFileStream(dir.file("missing.html"), TNetFileStream::TOpenMode::OpenExisting), ENetStreamError);
    EXPECT_THROW(TNetFileStream(dir.file("no/such/folder.html"), TNetFileStream::TOpenMode::Create), ENetStreamError);
}

}  // namespace
}  // namespace dorvanel::http
