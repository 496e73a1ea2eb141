#pragma once
// The byte streams a response body is written into and a request body is read from: an interface with a
// position and a size, an in-memory stream and a file stream. The engine writes a body block by block, so a
// file stream never holds more than one block in memory.
#include <cstdint>
#include <string>

namespace dorvanel::http {

class TNetStream {
public:
    virtual ~TNetStream() = default;

    // Reads up to `count` bytes at the position and moves past them; returns how many were read.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    // Writes `count` bytes at the position (growing the stream as needed) and moves past them. Fails with
    // ENetStreamError when the bytes cannot be stored.
    virtual void Write(const void* buffer, int64_t count) = 0;

    virtual int64_t Size() const = 0;
    // Cuts or extends the stream; the position is left alone.
    virtual void SetSize(int64_t size) = 0;
    virtual int64_t Position() const = 0;
    virtual void SetPosition(int64_t position) = 0;

    void Write(const std::string& bytes) { Write(bytes.data(), static_cast<int64_t>(bytes.size())); }
};

class TNetMemoryStream : public TNetStream {
public:
    TNetMemoryStream() = default;
    explicit TNetMemoryStream(std::string bytes) : data_(std::move(bytes)) {}

    int64_t Read(void* buffer, int64_t count) override;
    void Write(const void* buffer, int64_t count) override;
    using TNetStream::Write;
    int64_t Size() const override { return static_cast<int64_t>(data_.size()); }
    void SetSize(int64_t size) override;
    int64_t Position() const override { return position_; }
    void SetPosition(int64_t position) override;

    const std::string& DataString() const { return data_; }

private:
    std::string data_;
    int64_t position_ = 0;
};

// A file opened for reading and writing. `Create` makes it empty (creating it when missing); `OpenOrCreate`
// keeps what an existing file holds; `OpenExisting` needs the file to exist. Fails with ENetStreamError when
// the file cannot be opened.
//
// A scratch file that every fetch rewrites is best opened with OpenOrCreate: a body read cuts the file at
// its own end, and the file system is spared the flush it does when a file is emptied and written again
// (ext4 does that on truncation to zero, at a cost of milliseconds per fetch).
class TNetFileStream : public TNetStream {
public:
    enum class TOpenMode { Create, OpenOrCreate, OpenExisting };
    TNetFileStream(const std::string& path, TOpenMode mode);
    ~TNetFileStream() override;
    TNetFileStream(const TNetFileStream&) = delete;
    TNetFileStream& operator=(const TNetFileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    void Write(const void* buffer, int64_t count) override;
    using TNetStream::Write;
    int64_t Size() const override;
    void SetSize(int64_t size) override;
    int64_t Position() const override { return position_; }
    void SetPosition(int64_t position) override;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
    int64_t position_ = 0;
};

}  // namespace dorvanel::http
