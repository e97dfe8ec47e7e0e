#pragma once
// The triangle search of the fast coarse engine.
#include <atomic>
#include <vector>

#include "analysis/fast_store.hpp"

namespace trelvik::fast {

struct TriangleOutcome {
  bool stopped = false;
  // i = turnpoint 1 (k), j = turnpoint 3 (l), k = turnpoint 2 (m); i < 0: none.
  Candidate flat{-1};
  Candidate fai{-1};
};

// Needs the matrix and the gap tables of `store` when Run is called. All
// scratch memory is taken by the constructor (which may throw std::bad_alloc).
class TriangleSearch {
 public:
  explicit TriangleSearch(const Store& store);
  TriangleOutcome Run(int32_t loopFlightGap, const std::atomic<bool>* stop);

  static constexpr int32_t kBlock = 16;  // samples per block

 private:
  struct BlockPair {
    int32_t first, last;  // blocks of turnpoint 1 and turnpoint 3
    int32_t flatBound, faiBound;
  };
  // Both return false when `stop` was set meanwhile.
  bool BlockMaxima(const std::atomic<bool>* stop);
  bool PairBounds(int32_t loopFlightGap, const std::atomic<bool>* stop);
  void ScanBlockPair(const BlockPair& pair, int32_t loopFlightGap, struct SearchState& state, int worker);

  const Store& s_;
  int32_t blocks_;
  // sampleBlockMax_[i * blocks_ + b]: greatest D(i, m) over m in block b; Min the smallest.
  std::vector<int32_t> sampleBlockMax_, sampleBlockMin_;
  // blockMax_[a * blocks_ + b]: greatest D over block a x block b; Min the smallest.
  std::vector<int32_t> blockMax_, blockMin_;
  // Per sample k and block b of turnpoint 3 l > k + 1 with G(k, l) below the
  // gap: greatest D(k, l) - G(k, l), greatest 25 D(k, l) - 7 G(k, l); INT32_MIN when none.
  std::vector<int32_t> closingMax_, faiClosingMax_;
  std::vector<BlockPair> pairs_;
};

}  // namespace trelvik::fast
