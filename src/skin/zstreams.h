#pragma once
// Byte streams and the zlib wrappers the skin archives travel through. A compression stream only takes
// writes (and reports its position); a decompression stream only gives reads, rewinds by starting over and
// seeks forward by inflating and discarding.
#include <QByteArray>

#include <cstdint>
#include <memory>

namespace dorvanel::skin {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;
    // Reads up to count bytes; returns how many were read (0 at the end).
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    // Reads exactly count bytes or raises EReadError.
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);
    std::int32_t ReadInt32();  // little-endian
    void WriteInt32(std::int32_t value);
};

// A stream over a growable byte array.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(QByteArray data) : FData(std::move(data)) {}

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

    const QByteArray& Data() const { return FData; }
    QByteArray& Data() { return FData; }
    std::int64_t Size() const { return FData.size(); }
    void Clear() {
        FData.clear();
        FPosition = 0;
    }

private:
    QByteArray FData;
    std::int64_t FPosition = 0;
};

// Deflates what is written to it into a destination stream, in 4096-byte output blocks.
class TCompressionStream : public TStream {
public:
    TCompressionStream(int level, TStream& destination);
    ~TCompressionStream() override;  // finishes the zlib stream

    std::int64_t Read(void* buffer, std::int64_t count) override;  // ECompressionError
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;  // current position only
    void Finish();

private:
    struct State;
    std::unique_ptr<State> FState;
};

// Inflates a source stream on reading, taking its input 4096 bytes at a time. Inflation stops at the end of
// the zlib stream; input after it is left unread.
class TDecompressionStream : public TStream {
public:
    explicit TDecompressionStream(TStream& source);
    ~TDecompressionStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;  // EDecompressionError
    // Whether the end of the zlib stream was reached (a source that ends first leaves it false).
    bool Ended() const;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

private:
    struct State;
    std::unique_ptr<State> FState;
};

// The most an archive may inflate to: a stream that inflates further fails with "compression error".
inline constexpr std::int64_t kMaxInflatedSkinSize = 64 * 1024 * 1024;

// Rewinds source and deflates all of it into destination at level 9.
void DeflateStream(TStream& source, TStream& destination);
// Rewinds source and inflates it, appending to destination in 4096-byte chunks, at most limit bytes. A
// source that ends before the zlib stream does raises "Invalid stream operation".
void InflateStream(TStream& destination, TStream& source, std::int64_t limit = kMaxInflatedSkinSize);

}  // namespace dorvanel::skin
