#pragma once
// Memory for arrays of hundreds of kilobytes and more (a long flight's file,
// points, distances), asked of the kernel in 2 MB pages. On virtual machines
// every first touch of a 4 kB page can cost tens of microseconds, more than
// the work that fills it; one 2 MB page costs about as much as ten small ones.
#include <cstddef>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

namespace trelvik {

inline constexpr std::size_t kBulkPage = std::size_t{2} << 20;
// Below this an array takes ordinary heap memory: a 2 MB page would cost more
// than the few small pages it replaces.
inline constexpr std::size_t kBulkThreshold = std::size_t{128} << 10;

// Uninitialised memory for `bytes` (0 gives nullptr); nullptr when there is none.
// Free it with std::free.
inline void* AllocateBulk(std::size_t bytes) {
  if (bytes == 0) return nullptr;
  if (bytes < kBulkThreshold) return std::malloc(bytes);
  if (bytes > ~std::size_t{0} - kBulkPage) return nullptr;
  const std::size_t rounded = (bytes + kBulkPage - 1) / kBulkPage * kBulkPage;
  void* data = std::aligned_alloc(kBulkPage, rounded);
#ifdef MADV_HUGEPAGE
  if (data != nullptr) madvise(data, rounded, MADV_HUGEPAGE);  // advice only; failure changes nothing
#endif
  return data;
}

// A standard allocator over AllocateBulk, for std::vector and the like.
template <typename T>
struct BulkAllocator {
  using value_type = T;
  BulkAllocator() = default;
  template <typename U>
  BulkAllocator(const BulkAllocator<U>&) {}
  T* allocate(std::size_t count) {
    if (count > ~std::size_t{0} / sizeof(T)) throw std::bad_alloc();
    void* data = AllocateBulk(count * sizeof(T));
    if (data == nullptr) throw std::bad_alloc();
    return static_cast<T*>(data);
  }
  void deallocate(T* data, std::size_t) { std::free(data); }
  template <typename U>
  bool operator==(const BulkAllocator<U>&) const {
    return true;
  }
};

}  // namespace trelvik
