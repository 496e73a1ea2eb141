#pragma once
// Whole-file reading and the replacing write, for the program's lists, pages and saved tables.
#include "common/exception.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dorvanel::common {

// A file the program was asked to read or write and could not.
class EFileError : public Exception {
public:
    EFileError(const std::string& message, int error) : Exception(message), error_(error) {}
    int Error() const { return error_; }

private:
    int error_;
};

inline constexpr uint64_t kNoSizeLimit = UINT64_MAX;

// Whether the path names a regular file (after following links): a folder, a FIFO or a device is not one.
bool IsRegularFile(const std::string& path);

// The whole file. Only a regular file is read (opening a FIFO does not wait for a writer); a file larger than
// `maxBytes` is refused before anything is read. Failures: EFileError "Cannot open file "<path>". <reason>",
// "Cannot read file ...", "The file "<path>" is too large.".
std::string ReadWholeFile(const std::string& path, uint64_t maxBytes = kNoSizeLimit);

// Replaces the file's content with `bytes` so that a failure leaves the old content whole: the bytes go to a
// temporary file beside the target, which is then renamed over it. A symbolic link is followed (the link
// stays a link), an existing file keeps its mode, a file the user may not write is refused and left as it
// is. A writable file in a folder where no temporary file can be made is written in place.
// Failure: EFileError "Could not save the file: <reason>".
void WriteFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace dorvanel::common
