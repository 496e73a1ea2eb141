#include "http/net_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "http/net_errors.h"

namespace dorvanel::http {

int64_t TNetMemoryStream::Read(void* buffer, int64_t count) {
    const int64_t n = std::max<int64_t>(0, std::min(count, Size() - position_));
    if (n > 0) std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

void TNetMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return;
    const auto end = static_cast<size_t>(position_ + count);
    if (end > data_.size()) data_.resize(end);
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ += count;
}

void TNetMemoryStream::SetSize(int64_t size) { data_.resize(static_cast<size_t>(std::max<int64_t>(0, size))); }

void TNetMemoryStream::SetPosition(int64_t position) { position_ = std::max<int64_t>(0, position); }

namespace {

std::string fileFailure(const std::string& what, const std::string& path) {
    return "Cannot " + what + " the file " + path + ": " + std::strerror(errno);
}

}  // namespace

TNetFileStream::TNetFileStream(const std::string& path, TOpenMode mode) : path_(path) {
    int flags = O_RDWR | O_CLOEXEC;
    if (mode == TOpenMode::Create) flags |= O_CREAT | O_TRUNC;
    if (mode == TOpenMode::OpenOrCreate) flags |= O_CREAT;
    fd_ = ::open(path.c_str(), flags, 0644);
    if (fd_ < 0) throw ENetStreamError(fileFailure("open", path));
}

TNetFileStream::~TNetFileStream() {
    if (fd_ >= 0) ::close(fd_);
}

int64_t TNetFileStream::Read(void* buffer, int64_t count) {
    int64_t total = 0;
    while (total < count) {
        const ssize_t n =
            ::pread(fd_, static_cast<char*>(buffer) + total, static_cast<size_t>(count - total), position_ + total);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw ENetStreamError(fileFailure("read", path_));
        if (n == 0) break;
        total += n;
    }
    position_ += total;
    return total;
}

void TNetFileStream::Write(const void* buffer, int64_t count) {
    int64_t total = 0;
    while (total < count) {
        const ssize_t n = ::pwrite(fd_, static_cast<const char*>(buffer) + total, static_cast<size_t>(count - total),
                                   position_ + total);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw ENetStreamError(fileFailure("write", path_));
        total += n;
    }
    position_ += total;
}

int64_t TNetFileStream::Size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) throw ENetStreamError(fileFailure("examine", path_));
    return st.st_size;
}

void TNetFileStream::SetSize(int64_t size) {
    if (::ftruncate(fd_, std::max<int64_t>(0, size)) != 0) throw ENetStreamError(fileFailure("resize", path_));
}

void TNetFileStream::SetPosition(int64_t position) { position_ = std::max<int64_t>(0, position); }

}  // namespace dorvanel::http
