#pragma once
// The triangle search of the fast coarse engine.
#include <atomic>

#include "analysis/fast_store.hpp"

namespace trelvik::fast {

struct TriangleOutcome {
  bool stopped = false;
  // i = turnpoint 1 (k), j = turnpoint 3 (l), k = turnpoint 2 (m); i < 0: none.
  Candidate flat{-1};
  Candidate fai{-1};
};

// Needs the matrix and the gap tables of `store`. The per-worker scratch rows
// are allocated before the search starts; throws std::bad_alloc only there.
class TriangleSearch {
 public:
  explicit TriangleSearch(const Store& store);
  TriangleOutcome Run(int32_t loopFlightGap, const std::atomic<bool>* stop);

 private:
  const Store& store_;
  std::vector<std::vector<int32_t>> columnMax_;  // one row per worker
};

}  // namespace trelvik::fast
