// The chunked-body reader fed exact bytes from RFC 9112's grammar, whole and split at every point, with
// what it leaves of the input after the body, and the framing faults a peer can send.
#include "http/chunked_reader.h"

#include <gtest/gtest.h>

#include "http/exceptions.h"
#include "support/plain/failure_text.h"

namespace dorvanel::http {
namespace {

constexpr size_t kLine = 64;
constexpr size_t kTrailers = 100;

// Feeds `bytes` in two slices cut at `cut` (as a connection would: what was not taken comes again with
// more); returns the body and what was left after its end.
std::pair<std::string, std::string> readSplit(const std::string& bytes, size_t cut) {
    TNetChunkedReader reader(kLine, kTrailers);
    std::string body;
    const auto sink = [&body](const char* data, size_t count) { body.append(data, count); };
    std::string pending = bytes.substr(0, cut);
    size_t next = cut;
    while (!reader.Done()) {
        const size_t used = reader.Feed(pending, sink);
        pending.erase(0, used);
        if (used == 0 || pending.empty()) {
            if (next >= bytes.size()) break;
            pending += bytes.substr(next);
            next = bytes.size();
        }
    }
    return {body, pending + (next < bytes.size() ? bytes.substr(next) : std::string())};
}

TEST(ChunkedReader, SplitAnywhereReadsTheSameAndStopsAtTheEnd) {
    const std::string after = "HTTP/1.1 200 OK\r\n";
    const struct {
        std::string bytes;
        std::string body;
    } cases[] = {
        {"5\r\nhello\r\n3\r\nabc\r\n0\r\n\r\n", "helloabc"},
        {"a\r\n0123456789\r\nA\r\nABCDEFGHIJ\r\n0\r\n\r\n", "0123456789ABCDEFGHIJ"},  // hex in either case
        {"5;name=value\r\nhello\r\n0\r\nTrailer: x\r\n\r\n", "hello"},                // extension and trailer
        {"5 ;ext\nhello\n0\n\n", "hello"},                                            // bare LF line ends
        {"0000000000000003\r\nabc\r\n0\r\n\r\n", "abc"},                              // sixteen digits
    };
    for (const auto& c : cases) {
        const std::string input = c.bytes + after;
        for (size_t cut = 0; cut <= input.size(); ++cut) {
            const auto [body, left] = readSplit(input, cut);
            ASSERT_EQ(body, c.body) << c.bytes << " cut at " << cut;
            ASSERT_EQ(left, after) << c.bytes << " cut at " << cut;
        }
    }
}

TEST(ChunkedReader, FramingFaultsNameTheLine) {
    const struct {
        std::string bytes;
        std::string failure;
    } cases[] = {
        {"\r\n", "Unreadable chunk size line: ''"},
        {"zz\r\n", "Unreadable chunk size line: 'zz'"},
        {"-1\r\n", "Unreadable chunk size line: '-1'"},
        {"5 5\r\n", "Unreadable chunk size line: '5 5'"},
        {"00000000000000003\r\n", "Chunk size line '00000000000000003' has more than 16 hex digits."},
        {"8000000000000000\r\n", "Chunk size line '8000000000000000' does not fit."},
        {"5\r\nhello!\r\n", "Chunk data not followed by a line end."},
        {"5\r\nhello\rX", "Chunk data not followed by a line end."},
        {"0\r\n" + std::string(kTrailers, 'T') + "\r\n\r\n", "Response header too large."},
    };
    for (const auto& c : cases) {
        TNetChunkedReader reader(kLine * 4, kTrailers);
        const auto ignore = [](const char*, size_t) {};
        EXPECT_EQ(test::FailureText<ENetProtocolError>([&] { reader.Feed(c.bytes, ignore); }), c.failure) << c.bytes;
    }
}

TEST(ChunkedReader, AnEndlessSizeLineFailsAtTheLineLimitWithoutItsEnd) {
    TNetChunkedReader reader(kLine, kTrailers);
    EXPECT_EQ(reader.Feed(std::string(kLine, '1'), {}), 0u);  // at the limit: waits for more
    EXPECT_THROW(reader.Feed(std::string(kLine + 1, '1'), {}), ENetReadLnMaxLineLengthExceeded);
}

TEST(ChunkedReader, DataMovedByTheCallerIsSkipped) {
    TNetChunkedReader reader(kLine, kTrailers);
    EXPECT_EQ(reader.Feed("7FFFFFFFFFFFFFFF\r\n", {}), 18u);
    EXPECT_EQ(reader.DataRemaining(), INT64_MAX);
    reader.SkipData(INT64_MAX);
    EXPECT_EQ(reader.DataRemaining(), 0);
    EXPECT_EQ(reader.Feed("\r\n0\r\n\r\n", {}), 7u);
    EXPECT_TRUE(reader.Done());
}

}  // namespace
}  // namespace dorvanel::http
