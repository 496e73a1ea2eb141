#pragma once
// The chunked transfer coding of a response body (RFC 9112 7.1), read from whatever bytes have arrived: a
// state machine fed slices of the input that takes what it can use and says how much that was, so a body
// split anywhere (inside a size line, a chunk, its line end or a trailer) reads the same. No socket here:
// the engine moves bytes, this decides what they mean.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace dorvanel::http {

class TNetChunkedReader {
public:
    static constexpr size_t kMaxChunkSizeDigits = 16;

    using TDataSink = std::function<void(const char* bytes, size_t count)>;

    // `maxLineBytes`: the longest size line (the connection's line limit); `maxTrailerBytes`: what the
    // trailer lines may hold together.
    TNetChunkedReader(size_t maxLineBytes, size_t maxTrailerBytes)
        : maxLineBytes_(maxLineBytes), maxTrailerBytes_(maxTrailerBytes) {}

    // Takes bytes from the front of `input`, chunk data going to `sink`, and returns how many it took. It
    // stops at the end of the body (never taking a byte of what follows) and before an incomplete line,
    // which it wants whole: call again with those bytes and more. Fails with ENetProtocolError (or
    // ENetReadLnMaxLineLengthExceeded for an endless line) on bytes that break the framing. Without a sink
    // it stops where chunk data begins: the caller moves DataRemaining() bytes itself, then calls SkipData.
    size_t Feed(std::string_view input, const TDataSink& sink);

    bool Done() const { return state_ == State::Done; }
    // Data bytes of the current chunk still to come: a caller may move them itself and then SkipData.
    int64_t DataRemaining() const { return state_ == State::Data ? remaining_ : 0; }
    void SkipData(int64_t count);

private:
    enum class State { SizeLine, Data, DataEnd, Trailer, Done };

    // The line at the front of `input` without its end, or false when it has not come whole yet.
    bool takeLine(std::string_view input, size_t& used, std::string_view& line) const;
    int64_t readSize(std::string_view line) const;

    size_t maxLineBytes_;
    size_t maxTrailerBytes_;
    State state_ = State::SizeLine;
    int64_t remaining_ = 0;
    size_t trailerBytes_ = 0;
};

}  // namespace dorvanel::http
