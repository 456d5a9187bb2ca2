// A growable array of values that grows by one eighth of its size (at least 4, at most 1024 elements).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>

namespace vx {

// Elements are plain values: storage grows with realloc, which moves large blocks by remapping pages
// instead of copying them (an hour of G-sensor samples is half a megabyte).
template <typename T>
class CArray {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  CArray() = default;
  CArray(const CArray&) = delete;
  CArray& operator=(const CArray&) = delete;

  std::size_t GetSize() const { return m_nSize; }
  std::size_t GetCapacity() const { return m_nCapacity; }
  const T& operator[](std::size_t i) const { return m_pData.get()[i]; }
  T& operator[](std::size_t i) { return m_pData.get()[i]; }
  const T* begin() const { return m_pData.get(); }
  const T* end() const { return m_pData.get() + m_nSize; }

  void Add(const T& value) {
    if (m_nSize == m_nCapacity) Grow();
    m_pData.get()[m_nSize++] = value;
  }

  void RemoveAll() {
    m_pData.reset();
    m_nSize = 0;
    m_nCapacity = 0;
  }

  // The growth step for an array that holds `size` elements and is full.
  static std::size_t GrowthFor(std::size_t size) {
    return std::clamp<std::size_t>(size / 8, 4, 1024);
  }

 private:
  struct Free {
    void operator()(T* p) const { std::free(p); }
  };

  void Grow() {
    const std::size_t capacity = m_nCapacity + GrowthFor(m_nSize);
    void* grown = std::realloc(m_pData.get(), capacity * sizeof(T));
    if (!grown) throw std::bad_alloc();
    m_pData.release();
    m_pData.reset(static_cast<T*>(grown));
    m_nCapacity = capacity;
  }

  std::unique_ptr<T, Free> m_pData;
  std::size_t m_nSize = 0;
  std::size_t m_nCapacity = 0;
};

}  // namespace vx
