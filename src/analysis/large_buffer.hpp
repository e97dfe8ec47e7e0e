#pragma once
// An uninitialised array for the optimisation's matrices (tens of megabytes),
// in 2 MB pages (base/bulk_memory.hpp).
#include <cstddef>
#include <new>

#include "base/bulk_memory.hpp"

namespace trelvik {

template <typename T>
class LargeBuffer {
 public:
  LargeBuffer() = default;
  // Throws std::bad_alloc when the memory cannot be had.
  explicit LargeBuffer(size_t count) { Reset(count); }
  ~LargeBuffer() { FreeBulk(data_, size_ * sizeof(T)); }
  LargeBuffer(const LargeBuffer&) = delete;
  LargeBuffer& operator=(const LargeBuffer&) = delete;

  void Reset(size_t count) {
    FreeBulk(data_, size_ * sizeof(T));
    data_ = nullptr;
    size_ = 0;
    if (count == 0) return;
    if (count > ~size_t{0} / sizeof(T)) throw std::bad_alloc();
    data_ = static_cast<T*>(AllocateBulk(count * sizeof(T)));
    if (data_ == nullptr) throw std::bad_alloc();
    size_ = count;
  }

  T* data() { return data_; }
  const T* data() const { return data_; }
  size_t size() const { return size_; }
  T& operator[](size_t i) { return data_[i]; }
  const T& operator[](size_t i) const { return data_[i]; }

 private:
  T* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace trelvik
