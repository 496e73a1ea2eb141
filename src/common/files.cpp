#include "common/files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvanel::common {

namespace {

std::string Reason(int error) { return std::strerror(error); }

[[noreturn]] void FailSave(int error) { throw EFileError("Could not save the file: " + Reason(error), error); }

bool WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now and tells whether the close succeeded (a delayed write error shows here).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// The file a save really writes: the target of a symbolic link (a chain of them), else the path itself.
std::string ResolvedTarget(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved)) return resolved;
    return path;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void WriteInPlace(const std::string& target, std::string_view bytes) {
    FileDescriptor fd(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (fd.Get() < 0) FailSave(errno);
    if (!WriteAll(fd.Get(), bytes) || ::fsync(fd.Get()) != 0) FailSave(errno);
    if (!fd.Close()) FailSave(errno);
}

}  // namespace

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string ReadWholeFile(const std::string& path, uint64_t maxBytes) {
    // Non-blocking open: a FIFO without a writer would otherwise hold the program here.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.Get() < 0) throw EFileError("Cannot open file \"" + path + "\". " + Reason(errno), errno);
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) throw EFileError("Cannot open file \"" + path + "\". " + Reason(errno), errno);
    if (!S_ISREG(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        throw EFileError("Cannot open file \"" + path + "\". " + Reason(error), error);
    }
    if (static_cast<uint64_t>(st.st_size) > maxBytes)
        throw EFileError("The file \"" + path + "\" is too large.", EFBIG);
    ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    std::string bytes;
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            throw EFileError("Cannot read file \"" + path + "\". " + Reason(errno), errno);
        }
        // A file that grows while it is read is still held to the limit.
        if (bytes.size() + static_cast<size_t>(n) > maxBytes)
            throw EFileError("The file \"" + path + "\" is too large.", EFBIG);
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}

void WriteFileReplacing(const std::string& path, std::string_view bytes) {
    const std::string target = ResolvedTarget(path);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) FailSave(EISDIR);
    // Whoever owns it, a file the user may not write is left as it is (root included, for a file marked
    // read-only).
    if (exists && (::access(target.c_str(), W_OK) != 0 || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0))
        FailSave(EACCES);

    std::string temp = FolderOf(target) + "/.dorvanel-save-XXXXXX";
    const int tempFd = ::mkstemp(temp.data());
    if (tempFd < 0) {
        const int error = errno;
        // No temporary file can be made in that folder: a file that is there and writable is written in place.
        if (exists && (error == EACCES || error == EPERM || error == EROFS)) return WriteInPlace(target, bytes);
        FailSave(error);
    }
    FileDescriptor fd(tempFd);
    auto abandon = [&](int error) {
        ::unlink(temp.c_str());
        FailSave(error);
    };
    if (!WriteAll(fd.Get(), bytes) || ::fsync(fd.Get()) != 0) abandon(errno);
    // The new file takes the target's permissions, or the usual ones for a new file.
    mode_t mode = 0666;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(fd.Get(), mode) != 0) abandon(errno);
    if (!fd.Close()) abandon(errno);
    if (::rename(temp.c_str(), target.c_str()) != 0) abandon(errno);
}

}  // namespace dorvanel::common
