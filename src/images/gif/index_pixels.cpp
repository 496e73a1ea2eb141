#include "images/gif/index_pixels.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace dorvanel::gif {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// Very large buffers are mapped straight from the system, whose fresh pages are zero and cost nothing until
// written: a frame of millions of pixels with a few bytes of data then costs little. Smaller ones come from
// calloc, whose reused heap memory is cheaper to clear than fresh pages are to fault in, frame after frame.
// Builds under AddressSanitizer keep every buffer on the heap, where overruns are caught.
constexpr std::size_t kMapThreshold = std::size_t{16} << 20;

bool MapsDirectly(std::size_t bytes) { return !kSanitized && bytes >= kMapThreshold; }

std::uint8_t* AllocateZeroed(std::size_t bytes) {
    if (bytes == 0) return nullptr;
    void* p;
    if (MapsDirectly(bytes)) {
        p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) p = nullptr;
    } else {
        p = std::calloc(bytes, 1);
    }
    if (!p) throw std::bad_alloc();
    return static_cast<std::uint8_t*>(p);
}

}  // namespace

TIndexPixels::TIndexPixels(std::size_t n) : data_(AllocateZeroed(n)), size_(n), capacity_(n) {}

TIndexPixels::TIndexPixels(std::initializer_list<std::uint8_t> values) : TIndexPixels(values.size()) {
    std::copy(values.begin(), values.end(), data_);
}

TIndexPixels::TIndexPixels(const TIndexPixels& other) : TIndexPixels(other.size_) {
    if (size_) std::memcpy(data_, other.data_, size_);
}

TIndexPixels::TIndexPixels(TIndexPixels&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

TIndexPixels& TIndexPixels::operator=(const TIndexPixels& other) {
    if (this != &other) *this = TIndexPixels(other);
    return *this;
}

TIndexPixels& TIndexPixels::operator=(TIndexPixels&& other) noexcept {
    if (this != &other) {
        Release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

TIndexPixels::~TIndexPixels() { Release(); }

void TIndexPixels::shrink(std::size_t n) { size_ = std::min(n, size_); }

void TIndexPixels::Release() noexcept {
    if (!data_) return;
    if (MapsDirectly(capacity_)) {
        munmap(data_, capacity_);
    } else {
        std::free(data_);
    }
    data_ = nullptr;
    size_ = capacity_ = 0;
}

bool operator==(const TIndexPixels& a, const TIndexPixels& b) {
    return a.size_ == b.size_ && (a.size_ == 0 || std::memcmp(a.data_, b.data_, a.size_) == 0);
}

}  // namespace dorvanel::gif
