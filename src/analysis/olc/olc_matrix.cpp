// The distance matrix and the gap tables of the OLC loop searches, built the
// way the flight optimisation builds its own so both see the same integers.
#include <algorithm>

#include "analysis/coarse_kernels.hpp"
#include "analysis/olc/olc_coarse.hpp"

namespace trelvik::olc {
namespace {

constexpr int32_t kNoGap = 999999999;

bool Halted(const std::atomic<bool>* halt) { return halt != nullptr && halt->load(std::memory_order_relaxed); }

}  // namespace

void SampleMatrix::Allocate(int32_t samples) {
  n = samples;
  d.Reset(static_cast<size_t>(n) * n);
  gapRowStart.assign(n, 0);
  for (int32_t k = 1; k < n; ++k) gapRowStart[k] = gapRowStart[k - 1] + (n - k);
  const size_t cells = n >= 2 ? static_cast<size_t>(n) * (n - 1) / 2 : 0;
  g.Reset(cells);
  w.Reset(cells);
  largestCell = 0;
}

bool BuildMatrix(const FlightSamples& samples, SampleMatrix& m, const std::atomic<bool>* halt, WorkCounter* work) {
  const int32_t n = m.n;
  m.largestCell = 0;
  if (work != nullptr) work->Begin(n);
  for (int32_t i = 0; i < n; ++i) {
    if (Halted(halt)) return false;
    int32_t* row = m.d.data() + static_cast<int64_t>(i) * n;
    kernels::DistanceRow(samples.x.data(), samples.y.data(), n, i, row);
    m.largestCell = std::max(m.largestCell, *std::max_element(row, row + n));
    if (work != nullptr) work->Add(1);
  }
  return true;
}

// Row 0 from the end; row k takes the least of the cell to its right, D(k, j)
// and the cell above, the earlier one winning a tie, so W names the same
// start and end as the optimisation's tables do.
void BuildGapTables(SampleMatrix& m) {
  const int32_t n = m.n;
  if (n < 2) return;
  int32_t value = kNoGap, where = 0;
  const int32_t* row0 = m.Row(0);
  for (int32_t j = n - 1; j >= 1; --j) {
    if (row0[j] < value) value = row0[j], where = j;
    m.g[m.GapAt(0, j)] = value;
    m.w[m.GapAt(0, j)] = where;
  }
  for (int32_t k = 1; k <= n - 2; ++k) {
    const int32_t* rowK = m.Row(k);
    value = kNoGap;
    where = 0;
    for (int32_t j = n - 1; j >= k + 1; --j) {
      if (rowK[j] < value) value = rowK[j], where = k * 65536 + j;
      const int64_t up = m.GapAt(k - 1, j);
      if (m.g[up] < value) value = m.g[up], where = m.w[up];
      m.g[m.GapAt(k, j)] = value;
      m.w[m.GapAt(k, j)] = where;
    }
  }
}

}  // namespace trelvik::olc
