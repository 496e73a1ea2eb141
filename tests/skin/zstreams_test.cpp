// The zlib stream wrappers: round trips, the operations they refuse, and the inflation cap.
#include "skin/skin_errors.h"
#include "skin/zstreams.h"

#include <zlib.h>

#include <gtest/gtest.h>

using namespace dorvanel::skin;

namespace {

QByteArray Deflate(const QByteArray& plain) {
    TMemoryStream source(plain), packed;
    DeflateStream(source, packed);
    return packed.Data();
}

QByteArray Inflate(const QByteArray& packed, std::int64_t limit = kMaxInflatedSkinSize) {
    TMemoryStream source(packed), plain;
    InflateStream(plain, source, limit);
    return plain.Data();
}

QByteArray Pattern(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) bytes[i] = char((i * 7919) >> 3);
    return bytes;
}

template <class E>
void ExpectMessage(const std::function<void()>& f, const char* message) {
    try {
        f();
        FAIL() << "no error";
    } catch (const E& e) {
        EXPECT_STREQ(e.what(), message);
    }
}

}  // namespace

TEST(ZStreams, DeflateWritesAZlibStreamAtLevelNine) {
    const QByteArray packed = Deflate("hello hello hello");
    ASSERT_GE(packed.size(), 2);
    EXPECT_EQ(uchar(packed[0]), 0x78);
    EXPECT_EQ(uchar(packed[1]), 0xDA);  // maximum compression
    EXPECT_EQ(Inflate(packed), QByteArray("hello hello hello"));
}

TEST(ZStreams, RoundTripAcrossManyBlocks) {
    const QByteArray plain = Pattern(100000);
    EXPECT_EQ(Inflate(Deflate(plain)), plain);
    EXPECT_EQ(Inflate(Deflate({})), QByteArray());
}

TEST(ZStreams, InflationEndsAtTheEndOfTheZlibStream) {
    QByteArray packed = Deflate("abc");
    packed += QByteArray(10000, 'x');
    EXPECT_EQ(Inflate(packed), QByteArray("abc"));
}

TEST(ZStreams, RejectedDataIsACompressionError) {
    ExpectMessage<EDecompressionError>([] { Inflate("not a zlib stream at all"); }, "compression error");
    QByteArray damaged = Deflate(Pattern(5000));
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x55);
    damaged[damaged.size() / 2 + 1] = char(damaged[damaged.size() / 2 + 1] ^ 0xAA);
    EXPECT_THROW(Inflate(damaged), EDecompressionError);
}

TEST(ZStreams, ATruncatedStreamReadsWhatWasInflatedButIsNoArchive) {
    const QByteArray plain = Pattern(50000);
    const QByteArray packed = Deflate(plain);
    // Read through the stream, a cut source gives what could be inflated and then the end...
    TMemoryStream source(packed.left(packed.size() / 2));
    TDecompressionStream z(source);
    QByteArray part(plain.size(), '\0');
    const std::int64_t n = z.Read(part.data(), part.size());
    EXPECT_GT(n, 0);
    EXPECT_LT(n, plain.size());
    EXPECT_EQ(part.left(n), plain.left(n));
    EXPECT_FALSE(z.Ended());
    // ...but inflating an archive that is cut short, anywhere, fails as a whole.
    for (int keep : {2, 10, int(packed.size()) / 2, int(packed.size()) - 1})
        ExpectMessage<EDecompressionError>([&] { Inflate(packed.left(keep)); }, "Invalid stream operation");
    EXPECT_EQ(Inflate(packed), plain);
}

TEST(ZStreams, ABombStopsAtTheLimit) {
    // 64 MiB + 1 of zeros deflates to a few kilobytes.
    const std::int64_t limit = 1 << 20;
    EXPECT_NO_THROW(Inflate(Deflate(QByteArray(limit, '\0')), limit));
    ExpectMessage<EDecompressionError>([&] { Inflate(Deflate(QByteArray(limit + 1, '\0')), limit); },
                                       "compression error");
}

TEST(ZStreams, CompressionStreamRefusesReadsAndSeeks) {
    TMemoryStream out;
    TCompressionStream z(9, out);
    z.WriteBuffer("abcd", 4);
    EXPECT_EQ(z.Seek(0, TSeekOrigin::soCurrent), 4);
    EXPECT_EQ(z.Seek(4, TSeekOrigin::soBeginning), 4);
    char b[4];
    ExpectMessage<ECompressionError>([&] { z.Read(b, 4); }, "Invalid stream operation");
    ExpectMessage<ECompressionError>([&] { z.Seek(0, TSeekOrigin::soBeginning); }, "Invalid stream operation");
    ExpectMessage<ECompressionError>([&] { z.Seek(1, TSeekOrigin::soCurrent); }, "Invalid stream operation");
}

TEST(ZStreams, DecompressionStreamSeeksForwardAndRewindsOnly) {
    const QByteArray plain = Pattern(20000);
    TMemoryStream packed(Deflate(plain));
    TDecompressionStream z(packed);
    char b[16];
    EXPECT_EQ(z.Seek(10000, TSeekOrigin::soBeginning), 10000);
    z.ReadBuffer(b, 16);
    EXPECT_EQ(QByteArray(b, 16), plain.mid(10000, 16));
    EXPECT_EQ(z.Seek(100, TSeekOrigin::soCurrent), 10116);
    ExpectMessage<EDecompressionError>([&] { z.Seek(5, TSeekOrigin::soBeginning); }, "Invalid stream operation");
    ExpectMessage<EDecompressionError>([&] { z.Write("x", 1); }, "Invalid stream operation");
    EXPECT_EQ(z.Seek(0, TSeekOrigin::soBeginning), 0);
    z.ReadBuffer(b, 16);
    EXPECT_EQ(QByteArray(b, 16), plain.left(16));
}

TEST(ZStreams, ReadBufferPastTheEndIsAStreamReadError) {
    TMemoryStream s(QByteArray("abc"));
    char b[4];
    ExpectMessage<EReadError>([&] { s.ReadBuffer(b, 4); }, "Stream read error");
    TMemoryStream little;
    little.WriteInt32(-2);
    little.WriteInt32(0x01020304);
    EXPECT_EQ(little.Data(), QByteArray("\xFE\xFF\xFF\xFF\x04\x03\x02\x01", 8));
    little.Seek(0, TSeekOrigin::soBeginning);
    EXPECT_EQ(little.ReadInt32(), -2);
}
