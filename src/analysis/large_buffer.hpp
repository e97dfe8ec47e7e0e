#pragma once
// An uninitialised array for the optimisation's matrices (tens of megabytes),
// asking the kernel for 2 MB pages: on virtual machines every first touch of
// a 4 kB page can cost more than the computation that fills it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

namespace trelvik {

template <typename T>
class LargeBuffer {
 public:
  LargeBuffer() = default;
  // Throws std::bad_alloc when the memory cannot be had.
  explicit LargeBuffer(size_t count) { Reset(count); }
  ~LargeBuffer() { std::free(data_); }
  LargeBuffer(const LargeBuffer&) = delete;
  LargeBuffer& operator=(const LargeBuffer&) = delete;

  void Reset(size_t count) {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
    if (count == 0) return;
    const size_t bytes = (count * sizeof(T) + kPage - 1) / kPage * kPage;
    data_ = static_cast<T*>(std::aligned_alloc(kPage, bytes));
    if (data_ == nullptr) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(data_, bytes, MADV_HUGEPAGE);  // advice only; failure changes nothing
#endif
    size_ = count;
  }

  T* data() { return data_; }
  const T* data() const { return data_; }
  size_t size() const { return size_; }
  T& operator[](size_t i) { return data_[i]; }
  const T& operator[](size_t i) const { return data_[i]; }

 private:
  static constexpr size_t kPage = size_t{2} << 20;
  T* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace trelvik
