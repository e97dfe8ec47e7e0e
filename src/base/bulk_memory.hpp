#pragma once
// Memory for arrays of hundreds of kilobytes and more (a long flight's file,
// points, distances), asked of the kernel in 2 MB pages. On virtual machines
// every first touch of a 4 kB page can cost tens of microseconds, more than
// the work that fills it; one 2 MB page costs about as much as ten small ones.
//
// Such arrays are mapped on their own rather than taken from the C library's
// heap: once a large block has been freed, the heap serves blocks of that size
// from memory that is already mapped in small pages, or from a range that
// cannot hold a whole 2 MB page.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

namespace trelvik {

inline constexpr std::size_t kBulkPage = std::size_t{2} << 20;
// Below this an array takes ordinary heap memory: a 2 MB page would cost more
// than the few small pages it replaces.
inline constexpr std::size_t kBulkThreshold = std::size_t{64} << 10;

// Uninitialised memory for `bytes` (0 gives nullptr); nullptr when there is
// none. Give it back with FreeBulk and the same size.
inline void* AllocateBulk(std::size_t bytes) {
  if (bytes == 0) return nullptr;
  if (bytes < kBulkThreshold) return std::malloc(bytes);
  if (bytes > (~std::size_t{0} >> 1)) return nullptr;
  const std::size_t rounded = (bytes + kBulkPage - 1) / kBulkPage * kBulkPage;
  // A mapping one page longer than needed holds a 2 MB-aligned range; the rest is given back.
  void* mapped = mmap(nullptr, rounded + kBulkPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kBulkPage - 1) / kBulkPage * kBulkPage;
  if (aligned > start) munmap(mapped, aligned - start);
  const std::uintptr_t end = start + rounded + kBulkPage;
  if (end > aligned + rounded) munmap(reinterpret_cast<void*>(aligned + rounded), end - aligned - rounded);
#ifdef MADV_HUGEPAGE
  madvise(reinterpret_cast<void*>(aligned), rounded, MADV_HUGEPAGE);  // advice only; failure changes nothing
#endif
  return reinterpret_cast<void*>(aligned);
}

// Gives back what AllocateBulk(bytes) returned (nullptr is fine).
inline void FreeBulk(void* data, std::size_t bytes) {
  if (data == nullptr) return;
  if (bytes < kBulkThreshold) {
    std::free(data);
    return;
  }
  munmap(data, (bytes + kBulkPage - 1) / kBulkPage * kBulkPage);
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
  void deallocate(T* data, std::size_t count) { FreeBulk(data, count * sizeof(T)); }
  template <typename U>
  bool operator==(const BulkAllocator<U>&) const {
    return true;
  }
};

}  // namespace trelvik
