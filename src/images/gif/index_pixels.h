#pragma once
// Storage for decoded colour indices. A hostile file can describe a frame of millions of pixels with a few
// bytes of data; its memory comes zeroed from the system and only the pages actually decoded are touched,
// so such a frame costs little more than its data.
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace dorvanel::gif {

class TIndexPixels {
public:
    using value_type = std::uint8_t;
    using iterator = std::uint8_t*;
    using const_iterator = const std::uint8_t*;

    TIndexPixels() = default;
    // n indices, all 0.
    explicit TIndexPixels(std::size_t n);
    TIndexPixels(std::initializer_list<std::uint8_t> values);
    TIndexPixels(const TIndexPixels& other);
    TIndexPixels(TIndexPixels&& other) noexcept;
    TIndexPixels& operator=(const TIndexPixels& other);
    TIndexPixels& operator=(TIndexPixels&& other) noexcept;
    ~TIndexPixels();

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::uint8_t* data() { return data_; }
    const std::uint8_t* data() const { return data_; }
    std::uint8_t& operator[](std::size_t i) { return data_[i]; }
    std::uint8_t operator[](std::size_t i) const { return data_[i]; }
    iterator begin() { return data_; }
    iterator end() { return data_ + size_; }
    const_iterator begin() const { return data_; }
    const_iterator end() const { return data_ + size_; }

    // Keeps only the first n indices (n not above size()); the memory stays until the buffer goes.
    void shrink(std::size_t n);

    friend bool operator==(const TIndexPixels& a, const TIndexPixels& b);

private:
    void Release() noexcept;

    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace dorvanel::gif
