// A growable array of values that grows by one eighth of its size (at least 4, at most 1024 elements).
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>

namespace vx {

template <typename T>
class CArray {
 public:
  CArray() = default;
  CArray(const CArray&) = delete;
  CArray& operator=(const CArray&) = delete;

  std::size_t GetSize() const { return m_nSize; }
  std::size_t GetCapacity() const { return m_nCapacity; }
  const T& operator[](std::size_t i) const { return m_pData[i]; }
  T& operator[](std::size_t i) { return m_pData[i]; }
  const T* begin() const { return m_pData.get(); }
  const T* end() const { return m_pData.get() + m_nSize; }

  void Add(const T& value) {
    if (m_nSize == m_nCapacity) Grow();
    m_pData[m_nSize++] = value;
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
  void Grow() {
    const std::size_t capacity = m_nCapacity + GrowthFor(m_nSize);
    auto data = std::make_unique<T[]>(capacity);
    std::copy(begin(), end(), data.get());
    m_pData = std::move(data);
    m_nCapacity = capacity;
  }

  std::unique_ptr<T[]> m_pData;
  std::size_t m_nSize = 0;
  std::size_t m_nCapacity = 0;
};

}  // namespace vx
