#include "workbench/csv_export.h"

#include "common/exception.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvanel::workbench {

namespace {

void AppendField(std::string& line, const QString& field) {
    const QByteArray bytes = field.toLocal8Bit();
    line += '"';
    for (const char c : std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))) {
        // Quotes inside a value are doubled (RFC 4180); everything else is written as the table holds it.
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

void AppendLine(std::string& out, const skinctrls::TListItem* item, const skinctrls::TListItems& items) {
    const int columns = items.ColumnCount();
    for (int c = 0; c < columns; ++c) {
        if (c > 0) out += ',';
        if (!item) AppendField(out, items.Column(c).Caption);
        else AppendField(out, c == 0 ? item->Caption : item->SubItem(c - 1));
    }
    out += "\r\n";
}

[[noreturn]] void Fail(int error) {
    throw Exception(std::string("Could not save the file: ") + std::strerror(error));
}

}  // namespace

std::string BuildCsv(const skinctrls::TListItems& items) {
    std::string out;
    out.reserve(static_cast<size_t>(items.Count()) * 48 + 64);
    AppendLine(out, nullptr, items);
    for (int i = 0; i < items.Count(); ++i) AppendLine(out, &items.Item(i), items);
    return out;
}

void WriteFileReplacing(const QString& fileName, const std::string& bytes) {
    const std::string target = QFile::encodeName(fileName).toStdString();
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) Fail(EISDIR);
    // A file marked read-only is kept as it is, whoever runs the program.
    if (exists && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) Fail(EACCES);

    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) Fail(errno);
    auto abandon = [&](int error) {
        ::close(fd);
        ::unlink(temp.c_str());
        Fail(error);
    };
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            abandon(errno);
        }
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) abandon(errno);
    // The new file takes the target's permissions, or the usual ones for a new file.
    mode_t mode = 0666;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(fd, mode) != 0) abandon(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        Fail(error);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        Fail(error);
    }
}

}  // namespace dorvanel::workbench
