#pragma once
// The inner loops of the fast coarse search, written once over eight 32-bit
// lanes and compiled for AVX2 and for the baseline instruction set (the
// better one is picked when the program starts). Every kernel computes exactly
// what its plain loop would: the same integers, the same tie rules.
#include <cstdint>

namespace trelvik::kernels {

struct ValueAt {
  int32_t value;
  int32_t index;  // -1 when the range was empty
};

// row[j] = CellMetres(x[j] - x[i], y[j] - y[i]) for every j in [0, n); row[i] = 0.
void DistanceRow(const double* x, const double* y, int32_t n, int32_t i, int32_t* row);

// The last j in [begin, end) with v[j] < limit; -1 when there is none.
int32_t LastBelow(const int32_t* v, int32_t begin, int32_t end, int32_t limit);

// The greatest v[j] over [begin, end) and the first j holding it.
ValueAt FirstMax(const int32_t* v, int32_t begin, int32_t end);

// The greatest a[j] + b[j] over [begin, end) and the last j holding it.
ValueAt LastMaxOfSum(const int32_t* a, const int32_t* b, int32_t begin, int32_t end);

struct LegMaxima {
  int32_t flat;  // greatest rowK[m] + rowL[m]; -1 for an empty range
  int32_t fai;   // the same over the m that pass the 28 % rule; -1 when none does
};

// Legs over turnpoint 2 in [begin, end) of the triangles with turnpoint 1 k,
// turnpoint 3 l and closing leg `closing`: rowK[m] = D(k, m), rowL[m] = D(m, l).
// `withFai` false leaves fai at -1. All cells must be at most kFaiVectorLimit.
LegMaxima TriangleLegMaxima(const int32_t* rowK, const int32_t* rowL, int32_t begin, int32_t end, int32_t closing,
                            bool withFai);

// Cells up to this keep 25 x leg + 24 and 7 x perimeter inside 32 bits.
inline constexpr int32_t kFaiVectorLimit = 80000000;

// For turnpoint 1 k and the turnpoints 3 l in [first, end), with row[l - first] =
// D(k, l) and gaps[l - first] = G(k, l): over the l whose gap is below
// loopFlightGap, the greatest D - G and the greatest (25 D + 24) / 7 - G (the
// perimeter the 28 % rule allows, less the gap) in each block of 16 l, raised
// into closing[l / 16] and faiCap[l / 16]. Cells at most kBlockKernelLimit.
void ClosingBlockMaxima(const int32_t* row, const int32_t* gaps, int32_t first, int32_t end, int32_t loopFlightGap,
                        int32_t* closing, int32_t* faiCap);

// Cells up to this keep every product of the block kernels inside 32 bits.
inline constexpr int32_t kBlockKernelLimit = 50000000;

struct BlockNeeds {
  bool flat;
  bool fai;
};

// For the turnpoints 1 and 3 of one pair, whether any block of turnpoint 2 in
// [first, end) may hold a triangle reaching the running best: flat when
// max D(k, M) + max D(M, l) >= flatLegs; FAI when also the legs' ranges allow
// the 28 % rule (25 leg + 24 >= 7 P) and the shortest possible leg allows a
// score of faiScore: 25 min(leg) + 24 >= 7 (faiScore + gap), with
// max D(k, M) + max D(M, l) >= faiLegs. Cells at most kBlockKernelLimit.
BlockNeeds PairBlockNeeds(const int32_t* maxK, const int32_t* minK, const int32_t* maxL, const int32_t* minL,
                          int32_t first, int32_t end, int32_t closing, int32_t gap, int32_t flatLegs,
                          int32_t faiLegs, int32_t faiScore);

// Whether a block of turnpoint 2 needs scanning, for one turnpoint 1 and the 16
// turnpoints 3 l0 .. l0 + 15 of one block (lane j = l0 + j):
//   blockMaxK/MinK: greatest and smallest D(k, m) over the block's m;
//   blockMaxL/MinL[j]: the same for D(m, l);
//   closing[j] = D(k, l), base[j] = D(k, l) - G(k, l) (a lane left out has a
//   base so low that no bound reaches a running best), faiPerimeter[j] =
//   7 (pruneFai + G(k, l)), the least 7 P of a FAI triangle that reaches it.
// needs[j]: 0 = skip, kNeedFlat = the legs' sum may reach pruneFlat, and
// kNeedFai besides when a FAI triangle may reach pruneFai (the 28 % rule on
// the closing leg and on the ranges of both legs). Cells at most kBlockKernelLimit.
inline constexpr int32_t kNeedFlat = 1;
inline constexpr int32_t kNeedFai = 2;
void MiddleBlockNeeds(int32_t blockMaxK, int32_t blockMinK, const int32_t* blockMaxL, const int32_t* blockMinL,
                      const int32_t* closing, const int32_t* base, const int32_t* faiPerimeter, int32_t pruneFlat,
                      int32_t pruneFai, int32_t* needs);

// For every block of 16 cells of row[0, n): its greatest and its smallest cell.
void BlockExtremes(const int32_t* row, int32_t n, int32_t* blockMax, int32_t* blockMin);

}  // namespace trelvik::kernels
