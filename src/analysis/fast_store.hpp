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
  // G(k, l) for l > k where it is below the loop flight gap. G never falls
  // along a row (fewer ends) and never rises down a column (more starts), so
  // those l are k + 1 .. gapEnd[k] - 1 and gapEnd never falls from row to row;
  // every other G(k, l) is at least the gap and is not kept. Row k is packed
  // from g[gapRowStart[k]]. W is not kept either: GapWhere finds the start and
  // end of the few cells that win by retracing G's recurrence.
  std::vector<int64_t> gapRowStart;
  std::vector<int32_t> gapEnd;
  // Per sample k: the last l > k with D(k, l) below the gap (-1 when none),
  // taken while the matrix row is filled.
  std::vector<int32_t> lastWithinGap;
  LargeBuffer<int32_t> g;

  const int32_t* Row(int32_t i) const { return d.data() + static_cast<int64_t>(i) * n; }
  int32_t* Row(int32_t i) { return d.data() + static_cast<int64_t>(i) * n; }
  // GapRow(k)[l - k - 1] = G(k, l) for l < gapEnd[k].
  const int32_t* GapRow(int32_t k) const { return g.data() + gapRowStart[k]; }
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
