#pragma once
// The working store of the fast coarse search, shared by its stages.
#include <cstdint>
#include <vector>

#include "analysis/large_buffer.hpp"

namespace trelvik::fast {

struct Store {
  int32_t n = 0;
  int32_t workers = 1;
  // D as a full symmetric matrix, row-major: row i holds D(i, j) for every j,
  // so both legs of a turnpoint loop are read along rows.
  LargeBuffer<int32_t> d;
  std::vector<int32_t> maxFwd, farFwd, maxBack, farBack;
  int32_t largestCell = 0;
  // G and W for l > k, row k packed from l = k + 1.
  std::vector<int64_t> gapRowStart;
  LargeBuffer<int32_t> g, w;

  const int32_t* Row(int32_t i) const { return d.data() + static_cast<int64_t>(i) * n; }
  int32_t* Row(int32_t i) { return d.data() + static_cast<int64_t>(i) * n; }
  int64_t GapAt(int32_t k, int32_t l) const { return gapRowStart[k] + (l - k - 1); }
};

// A candidate of a search that keeps the last of equal scores in loop order:
// the greatest (score, loop indexes) in lexicographic order wins, whatever
// order the candidates were looked at in.
struct Candidate {
  int32_t score;
  int32_t i = -1, j = -1, k = -1;  // loop indexes, outermost first
  bool Beats(const Candidate& other) const {
    if (score != other.score) return score > other.score;
    if (i != other.i) return i > other.i;
    if (j != other.j) return j > other.j;
    return k > other.k;
  }
};

}  // namespace trelvik::fast
