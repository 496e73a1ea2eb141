#include "skin/zstreams.h"

#include "skin/skin_errors.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace dorvanel::skin {

namespace {

constexpr int kBlock = 4096;

}  // namespace

// ---- TStream ----

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
    auto* out = static_cast<char*>(buffer);
    while (count > 0) {
        const std::int64_t n = Read(out, count);
        if (n <= 0) throw EReadError();
        out += n;
        count -= n;
    }
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
    if (Write(buffer, count) != count) throw dorvanel::Exception("Stream write error");
}

std::int32_t TStream::ReadInt32() {
    unsigned char b[4];
    ReadBuffer(b, 4);
    return static_cast<std::int32_t>(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
                                     std::uint32_t(b[3]) << 24);
}

void TStream::WriteInt32(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    WriteBuffer(b, 4);
}

// ---- TMemoryStream ----

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
    const std::int64_t n = std::clamp<std::int64_t>(FData.size() - FPosition, 0, std::max<std::int64_t>(count, 0));
    if (n > 0) std::memcpy(buffer, FData.constData() + FPosition, std::size_t(n));
    FPosition += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    const std::int64_t end = FPosition + count;
    if (end > FData.size()) FData.resize(qsizetype(end));
    std::memcpy(FData.data() + FPosition, buffer, std::size_t(count));
    FPosition = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    const std::int64_t base = origin == TSeekOrigin::soBeginning ? 0
                              : origin == TSeekOrigin::soCurrent ? FPosition
                                                                 : FData.size();
    FPosition = std::max<std::int64_t>(0, base + offset);
    return FPosition;
}

// ---- TCompressionStream ----

struct TCompressionStream::State {
    TStream& Destination;
    z_stream Z{};
    unsigned char Out[kBlock];
    bool Finished = false;

    explicit State(TStream& d) : Destination(d) {}
    void Flush() {
        const std::int64_t n = kBlock - std::int64_t(Z.avail_out);
        if (n > 0) Destination.WriteBuffer(Out, n);
        Z.next_out = Out;
        Z.avail_out = kBlock;
    }
};

TCompressionStream::TCompressionStream(int level, TStream& destination) : FState(std::make_unique<State>(destination)) {
    if (deflateInit(&FState->Z, level) != Z_OK) throw ECompressionError();
    FState->Z.next_out = FState->Out;
    FState->Z.avail_out = kBlock;
}

TCompressionStream::~TCompressionStream() {
    try {
        Finish();
    } catch (...) {
        // A destination that fails while the stream is dropped has nothing left to report to.
    }
    deflateEnd(&FState->Z);
}

std::int64_t TCompressionStream::Read(void*, std::int64_t) { throw ECompressionError(kInvalidStreamOperation); }

std::int64_t TCompressionStream::Write(const void* buffer, std::int64_t count) {
    State& s = *FState;
    if (s.Finished) throw ECompressionError(kInvalidStreamOperation);
    auto* in = static_cast<const unsigned char*>(buffer);
    std::int64_t left = count;
    while (left > 0) {
        const auto chunk = static_cast<uInt>(std::min<std::int64_t>(left, std::numeric_limits<uInt>::max()));
        s.Z.next_in = const_cast<unsigned char*>(in);
        s.Z.avail_in = chunk;
        while (s.Z.avail_in > 0) {
            if (deflate(&s.Z, Z_NO_FLUSH) == Z_STREAM_ERROR) throw ECompressionError();
            if (s.Z.avail_out == 0) s.Flush();
        }
        in += chunk;
        left -= chunk;
    }
    return count;
}

std::int64_t TCompressionStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    const auto position = static_cast<std::int64_t>(FState->Z.total_in);
    if ((origin == TSeekOrigin::soCurrent && offset == 0) || (origin == TSeekOrigin::soBeginning && offset == position))
        return position;
    throw ECompressionError(kInvalidStreamOperation);
}

void TCompressionStream::Finish() {
    State& s = *FState;
    if (s.Finished) return;
    s.Finished = true;
    s.Z.next_in = nullptr;
    s.Z.avail_in = 0;
    for (;;) {
        const int rc = deflate(&s.Z, Z_FINISH);
        if (rc == Z_STREAM_ERROR) throw ECompressionError();
        if (s.Z.avail_out == 0) s.Flush();
        if (rc == Z_STREAM_END) break;
    }
    s.Flush();
}

// ---- TDecompressionStream ----

struct TDecompressionStream::State {
    TStream& Source;
    std::int64_t SourceStart;
    z_stream Z{};
    unsigned char In[kBlock];
    bool Ended = false;
    std::int64_t Position = 0;

    explicit State(TStream& s) : Source(s), SourceStart(s.Position()) {}
};

TDecompressionStream::TDecompressionStream(TStream& source) : FState(std::make_unique<State>(source)) {
    if (inflateInit(&FState->Z) != Z_OK) throw EDecompressionError();
}

TDecompressionStream::~TDecompressionStream() { inflateEnd(&FState->Z); }

std::int64_t TDecompressionStream::Read(void* buffer, std::int64_t count) {
    State& s = *FState;
    auto* out = static_cast<unsigned char*>(buffer);
    std::int64_t done = 0;
    while (done < count && !s.Ended) {
        if (s.Z.avail_in == 0) {
            const std::int64_t n = s.Source.Read(s.In, kBlock);
            if (n <= 0) break;  // the source ended before the zlib stream: what was inflated is all there is
            s.Z.next_in = s.In;
            s.Z.avail_in = static_cast<uInt>(n);
        }
        const auto want = static_cast<uInt>(std::min<std::int64_t>(count - done, std::numeric_limits<uInt>::max()));
        s.Z.next_out = out + done;
        s.Z.avail_out = want;
        const int rc = inflate(&s.Z, Z_NO_FLUSH);
        done += want - s.Z.avail_out;
        if (rc == Z_STREAM_END) {
            s.Ended = true;
        } else if (rc == Z_NEED_DICT || rc == Z_DATA_ERROR || rc == Z_MEM_ERROR || rc == Z_STREAM_ERROR) {
            throw EDecompressionError();
        }
    }
    s.Position += done;
    return done;
}

bool TDecompressionStream::Ended() const { return FState->Ended; }

std::int64_t TDecompressionStream::Write(const void*, std::int64_t) {
    throw EDecompressionError(kInvalidStreamOperation);
}

std::int64_t TDecompressionStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    State& s = *FState;
    std::int64_t target;
    if (origin == TSeekOrigin::soBeginning) target = offset;
    else if (origin == TSeekOrigin::soCurrent) target = s.Position + offset;
    else throw EDecompressionError(kInvalidStreamOperation);
    if (target == 0 && s.Position != 0) {
        // Rewinding starts inflation over from the source's start.
        if (inflateReset(&s.Z) != Z_OK) throw EDecompressionError();
        s.Source.Seek(s.SourceStart, TSeekOrigin::soBeginning);
        s.Z.avail_in = 0;
        s.Ended = false;
        s.Position = 0;
    } else if (target < s.Position) {
        throw EDecompressionError(kInvalidStreamOperation);
    }
    unsigned char discard[kBlock];
    while (s.Position < target) {
        if (Read(discard, std::min<std::int64_t>(kBlock, target - s.Position)) == 0) break;
    }
    return s.Position;
}

// ---- whole-stream helpers ----

void DeflateStream(TStream& source, TStream& destination) {
    source.Seek(0, TSeekOrigin::soBeginning);
    TCompressionStream z(Z_BEST_COMPRESSION, destination);
    unsigned char block[kBlock];
    for (std::int64_t n; (n = source.Read(block, kBlock)) > 0;) z.WriteBuffer(block, n);
    z.Finish();
}

void InflateStream(TStream& destination, TStream& source, std::int64_t limit) {
    source.Seek(0, TSeekOrigin::soBeginning);
    TDecompressionStream z(source);
    unsigned char block[kBlock];
    std::int64_t total = 0;
    for (std::int64_t n; (n = z.Read(block, kBlock)) > 0;) {
        total += n;
        // An archive that inflates past the limit is treated as damaged rather than filling memory.
        if (total > limit) throw EDecompressionError();
        destination.WriteBuffer(block, n);
    }
    // A stream cut short is a damaged archive, not a partly loaded skin.
    if (!z.Ended()) throw EDecompressionError(kInvalidStreamOperation);
}

}  // namespace dorvanel::skin
