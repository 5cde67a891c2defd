// svy3::Span: a view of contiguous elements owned elsewhere (C++17 has no std::span).
#pragma once

#include <cstddef>

namespace svy3 {

// A pointer and a count. It owns nothing: it stays valid while what it views does (for the spans
// a Project gives: while the Project lives). Works with range-for and the standard algorithms.
template <class T>
class Span {
  public:
    using value_type = T;
    using iterator = T*;

    constexpr Span() noexcept = default;
    constexpr Span(T* data, std::size_t size) noexcept : data_(data), size_(size) {}

    constexpr T* begin() const noexcept { return data_; }
    constexpr T* end() const noexcept { return data_ + size_; }
    constexpr T* data() const noexcept { return data_; }
    constexpr std::size_t size() const noexcept { return size_; }
    constexpr bool empty() const noexcept { return size_ == 0; }
    // Element i; i must be below size().
    constexpr T& operator[](std::size_t i) const noexcept { return data_[i]; }
    constexpr T& front() const noexcept { return data_[0]; }
    constexpr T& back() const noexcept { return data_[size_ - 1]; }

  private:
    T* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace svy3
