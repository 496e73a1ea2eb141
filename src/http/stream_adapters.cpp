#include "http/stream_adapters.h"

#include <algorithm>

namespace dorvanel::http {

void TNullStream::SetSize(int64_t size) { position_ = std::min(position_, size); }

void TTextStream::Write(const void* buffer, int64_t count) {
    text_.append(static_cast<const char*>(buffer), static_cast<size_t>(count));
}

void TTextStream::SetSize(int64_t size) {
    text_.resize(std::min(text_.size(), static_cast<size_t>(std::max<int64_t>(0, size))));
}

void TCappedStream::Write(const void* buffer, int64_t count) {
    const int64_t room = cap_ - written_;
    if (count > room) {
        inner_.Write(buffer, room);
        written_ = cap_;
        throw TBodyCapReached();
    }
    inner_.Write(buffer, count);
    written_ += count;
}

}  // namespace dorvanel::http
