#pragma once
// Storage for decoded colour indices. A hostile file can describe a frame of millions of pixels with a few
// bytes of data; its memory comes zeroed from the system and only the pages actually decoded are touched,
// so such a frame costs little more than its data.
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

namespace dorvanel::gif {

// Hands out zeroed memory (fresh pages, or calloc) and leaves value-initialised elements as they come, already zero. Growing a
// vector within capacity it once had in use would show the old bytes, so these vectors are sized once, when
// made, and only shrunk after.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

template <class T>
struct TZeroedAllocator {
    using value_type = T;
    TZeroedAllocator() = default;
    template <class U>
    TZeroedAllocator(const TZeroedAllocator<U>&) {}

    T* allocate(std::size_t n) {
        void* p;
        if (MapsDirectly(n)) {
            p = mmap(nullptr, n * sizeof(T), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (p == MAP_FAILED) p = nullptr;
        } else {
            p = std::calloc(n, sizeof(T));
        }
        if (!p) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t n) {
        if (MapsDirectly(n)) {
            munmap(p, n * sizeof(T));
        } else {
            std::free(p);
        }
    }

    template <class U>
    void construct(U*) noexcept {}
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    // Large buffers are mapped straight from the system, whose fresh pages are zero and cost nothing until
    // written. calloc would hand out such a block from its heap once an earlier large one was freed, and clear
    // all of it first. Builds under AddressSanitizer keep every buffer on the heap, where overruns are caught.
    static bool MapsDirectly(std::size_t n) { return !kSanitized && n * sizeof(T) >= kMapThreshold; }
    static constexpr std::size_t kMapThreshold = std::size_t{1} << 20;

    friend bool operator==(const TZeroedAllocator&, const TZeroedAllocator&) { return true; }
};

using TIndexPixels = std::vector<std::uint8_t, TZeroedAllocator<std::uint8_t>>;

}  // namespace dorvanel::gif
