#pragma once
// The coarse stage of the OLC loop searches on the projected samples: the
// out-and-return flight closed within 400 m and the free and FAI triangles
// closed within a fifth of their perimeter. The open distances are the flight
// optimisation's own.
//
// Two engines give the same answer. OlcCoarsePlain runs the loops as the
// method states them (cubic in the samples) and is kept as the reference the
// tests and the benchmark hold the other to. OlcCoarseFast prunes blocks of
// 16 samples with bounds that no winning or tying candidate can fail.
#include <atomic>
#include <cstdint>
#include <vector>

#include "analysis/flight_samples.hpp"
#include "analysis/large_buffer.hpp"

namespace trelvik::olc {

// Start and end of an out-and-return flight must lie closer than this (metres).
inline constexpr int32_t kOutAndReturnClosing = 400;

// The distance matrix and the gap tables of the samples.
struct SampleMatrix {
  int32_t n = 0;
  LargeBuffer<int32_t> d;  // full and row-major: D(i, j) at i * n + j
  // For l > k: G(k, l), the least distance between a sample at or before k
  // and one at or after l; W(k, l) where it lies (start << 16 | end).
  std::vector<int64_t> gapRowStart;
  LargeBuffer<int32_t> g, w;
  int32_t largestCell = 0;

  // Takes the memory of n samples; throws std::bad_alloc.
  void Allocate(int32_t samples);

  const int32_t* Row(int32_t i) const { return d.data() + static_cast<int64_t>(i) * n; }
  int32_t D(int32_t i, int32_t j) const { return Row(i)[j]; }
  int64_t GapAt(int32_t k, int32_t l) const { return gapRowStart[k] + (l - k - 1); }
  int32_t G(int32_t k, int32_t l) const { return g[GapAt(k, l)]; }
  int32_t W(int32_t k, int32_t l) const { return w[GapAt(k, l)]; }
};

// Reports how far a search has come, in units of its own; read by another thread.
struct WorkCounter {
  std::atomic<int64_t> done{0};
  std::atomic<int64_t> total{1};
  void Begin(int64_t units) {
    done.store(0, std::memory_order_relaxed);
    total.store(units > 0 ? units : 1, std::memory_order_relaxed);
  }
  void Add(int64_t units) { done.fetch_add(units, std::memory_order_relaxed); }
};

// Fills an allocated matrix; false when `halt` was set (read before each row).
[[nodiscard]] bool BuildMatrix(const FlightSamples& samples, SampleMatrix& matrix, const std::atomic<bool>* halt,
                               WorkCounter* work);
void BuildGapTables(SampleMatrix& matrix);

// Sample indexes of the chosen points, in time order.
struct CoarseOutAndReturn {
  bool found = false;
  int32_t start = 0, turnpoint = 0, end = 0;
  bool operator==(const CoarseOutAndReturn&) const = default;
};

struct CoarseTriangle {
  bool found = false;
  int32_t start = 0, turnpoint1 = 0, turnpoint2 = 0, turnpoint3 = 0, end = 0;
  int64_t score = 0;  // perimeter - gap, metres
  bool operator==(const CoarseTriangle&) const = default;
};

struct CoarseTriangles {
  CoarseTriangle free, fai;
  bool operator==(const CoarseTriangles&) const = default;
};

enum class Engine { Fast, Plain };

// Nothing (found false) and false when `halt` was set; read at least once
// per row or block of samples. May throw std::bad_alloc.
[[nodiscard]] bool SearchOutAndReturn(const SampleMatrix& matrix, Engine engine, const std::atomic<bool>* halt,
                                      WorkCounter* work, CoarseOutAndReturn& result);
[[nodiscard]] bool SearchTriangles(const SampleMatrix& matrix, Engine engine, const std::atomic<bool>* halt,
                                   WorkCounter* work, CoarseTriangles& result);

}  // namespace trelvik::olc
