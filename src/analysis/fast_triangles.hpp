#pragma once
// The triangle search of the fast coarse engine.
#include <atomic>
#include <span>
#include <vector>

#include "analysis/fast_store.hpp"
#include "base/bulk_memory.hpp"

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
  // Takes the block extremes of matrix row i; the fill calls it for every row
  // while the row is still in the cache. Rows may be given on any thread, each once.
  void SummariseRow(int32_t i);
  // Needs SummariseRow to have seen every row.
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
  // Every table below lives in this one buffer: fresh small pages cost far
  // more to fault in than the search spends reading them.
  LargeBuffer<int32_t> arena_;
  // sampleBlockMax_[b * n + i]: greatest D(i, m) over m in block b; Min the
  // smallest. By block, so that consecutive samples of one block are read together.
  std::span<int32_t> sampleBlockMax_, sampleBlockMin_;
  // blockMax_[a * blocks_ + b]: greatest D over block a x block b; Min the smallest.
  std::span<int32_t> blockMax_, blockMin_;
  // closingMax_[a * blocks_ + b]: over turnpoints 1 k in block a and 3 l > k + 1
  // in block b with G(k, l) below the gap, the greatest D(k, l) - G(k, l);
  // faiClosingMax_ the greatest (25 D(k, l) + 24) / 7 - G(k, l); INT32_MIN when none.
  std::span<int32_t> closingMax_, faiClosingMax_;
  std::vector<BlockPair, BulkAllocator<BlockPair>> pairs_;
  // Per worker, at middleBlocks_[worker * blocks_]: the blocks of turnpoint 2
  // that the block pair being scanned may use.
  std::span<int32_t> middleBlocks_;
};

}  // namespace trelvik::fast
