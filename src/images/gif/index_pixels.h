#pragma once
// Storage for decoded colour indices. A hostile file can describe a frame of millions of pixels with a few
// bytes of data; its memory comes zeroed from the system and only the pages actually decoded are touched,
// so such a frame costs little more than its data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

namespace dorvanel::gif {

// Hands out zeroed memory (calloc) and leaves value-initialised elements as they come, already zero. Growing a
// vector within capacity it once had in use would show the old bytes, so these vectors are sized once, when
// made, and only shrunk after.
template <class T>
struct TZeroedAllocator {
    using value_type = T;
    TZeroedAllocator() = default;
    template <class U>
    TZeroedAllocator(const TZeroedAllocator<U>&) {}

    T* allocate(std::size_t n) {
        void* p = std::calloc(n, sizeof(T));
        if (!p) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t) { std::free(p); }

    template <class U>
    void construct(U*) noexcept {}
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    friend bool operator==(const TZeroedAllocator&, const TZeroedAllocator&) { return true; }
};

using TIndexPixels = std::vector<std::uint8_t, TZeroedAllocator<std::uint8_t>>;

}  // namespace dorvanel::gif
