#include "analysis/coarse_kernels.hpp"

#include <immintrin.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "analysis/flight_samples.hpp"

// Eight-lane integer kernels in GCC's vector notation, cloned for AVX2 and the
// baseline; the loader picks the clone once per process.
#define TRELVIK_CLONES __attribute__((target_clones("avx2", "default")))


namespace trelvik::kernels {
namespace {

typedef int32_t I32x8 __attribute__((vector_size(32)));
// The same vector read from any int32_t address (unaligned, aliasing allowed).
typedef int32_t I32x8Unaligned __attribute__((vector_size(32), aligned(4), may_alias));
constexpr int kLanes = 8;

// Expressions rather than helper functions: a helper that took or returned a
// 32-byte vector would have no single calling convention across the clones.
#define TRELVIK_LOAD(p) (*reinterpret_cast<const I32x8Unaligned*>(p))
#define TRELVIK_STORE(p, v) (*reinterpret_cast<I32x8Unaligned*>(p) = (v))
#define TRELVIK_MAX(a, b) ((a) > (b) ? (a) : (b))
#define TRELVIK_SPLAT(x) (I32x8{} + (x))

inline int32_t HorizontalMax(const I32x8& v) {
  int32_t m = v[0];
  for (int lane = 1; lane < kLanes; ++lane) m = v[lane] > m ? v[lane] : m;
  return m;
}

bool HaveAvx2() {
  static const bool have = __builtin_cpu_supports("avx2");
  return have;
}

__attribute__((target("avx2"))) void DistanceRowAvx2(const double* x, const double* y, int32_t n, int32_t i,
                                                     int32_t* row) {
  const __m256d xi = _mm256_set1_pd(x[i]), yi = _mm256_set1_pd(y[i]);
  const __m256d half = _mm256_set1_pd(0.5), cap = _mm256_set1_pd(kMaxCellMetres);
  int32_t j = 0;
  for (; j + 4 <= n; j += 4) {
    const __m256d dx = _mm256_sub_pd(_mm256_loadu_pd(x + j), xi);
    const __m256d dy = _mm256_sub_pd(_mm256_loadu_pd(y + j), yi);
    const __m256d sum = _mm256_add_pd(_mm256_mul_pd(dx, dx), _mm256_mul_pd(dy, dy));
    // min(r, cap) returns cap for NaN, as CellMetres' comparison does.
    const __m256d rounded = _mm256_min_pd(_mm256_add_pd(_mm256_sqrt_pd(sum), half), cap);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row + j), _mm256_cvttpd_epi32(rounded));
  }
  for (; j < n; ++j) row[j] = CellMetres(x[j] - x[i], y[j] - y[i]);
  row[i] = 0;
}

void DistanceRowSse2(const double* x, const double* y, int32_t n, int32_t i, int32_t* row) {
  const __m128d xi = _mm_set1_pd(x[i]), yi = _mm_set1_pd(y[i]);
  const __m128d half = _mm_set1_pd(0.5), cap = _mm_set1_pd(kMaxCellMetres);
  int32_t j = 0;
  for (; j + 2 <= n; j += 2) {
    const __m128d dx = _mm_sub_pd(_mm_loadu_pd(x + j), xi);
    const __m128d dy = _mm_sub_pd(_mm_loadu_pd(y + j), yi);
    const __m128d sum = _mm_add_pd(_mm_mul_pd(dx, dx), _mm_mul_pd(dy, dy));
    const __m128d rounded = _mm_min_pd(_mm_add_pd(_mm_sqrt_pd(sum), half), cap);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(row + j), _mm_cvttpd_epi32(rounded));
  }
  for (; j < n; ++j) row[j] = CellMetres(x[j] - x[i], y[j] - y[i]);
  row[i] = 0;
}

}  // namespace

void DistanceRow(const double* x, const double* y, int32_t n, int32_t i, int32_t* row) {
  if (HaveAvx2()) {
    DistanceRowAvx2(x, y, n, i, row);
  } else {
    DistanceRowSse2(x, y, n, i, row);
  }
}

// Ranges shorter than a vector run the plain loop; longer ones end with one
// vector that overlaps the previous block. Looking at an element twice cannot
// change a maximum. The greatest value is found first, then the first (or
// last) element holding it: two light passes over a row that is in the cache
// cost less than carrying an index in every lane.
TRELVIK_CLONES ValueAt FirstMax(const int32_t* v, int32_t begin, int32_t end) {
  ValueAt best{INT32_MIN, -1};
  if (end - begin < kLanes) {
    for (int32_t j = begin; j < end; ++j) {
      if (v[j] > best.value) best = {v[j], j};
    }
    return best;
  }
  I32x8 laneMax = TRELVIK_SPLAT(INT32_MIN);
  int32_t j = begin;
  for (; j + kLanes <= end; j += kLanes) laneMax = TRELVIK_MAX(laneMax, TRELVIK_LOAD(v + j));
  if (j < end) laneMax = TRELVIK_MAX(laneMax, TRELVIK_LOAD(v + end - kLanes));
  best.value = HorizontalMax(laneMax);
  const I32x8 target = TRELVIK_SPLAT(best.value);
  for (j = begin; j + kLanes <= end; j += kLanes) {
    const I32x8 equal = TRELVIK_LOAD(v + j) == target;
    int32_t any = 0;
    for (int lane = 0; lane < kLanes; ++lane) any |= equal[lane];
    if (any != 0) break;
  }
  while (v[j] != best.value) ++j;  // the value is there, at j or after it
  best.index = j;
  return best;
}

TRELVIK_CLONES int32_t LastBelow(const int32_t* v, int32_t begin, int32_t end, int32_t limit) {
  int32_t j = end;
  const I32x8 bound = TRELVIK_SPLAT(limit);
  for (; j - kLanes >= begin; j -= kLanes) {
    const I32x8 below = TRELVIK_LOAD(v + j - kLanes) < bound;
    int32_t any = 0;
    for (int lane = 0; lane < kLanes; ++lane) any |= below[lane];
    if (any != 0) break;
  }
  for (--j; j >= begin; --j) {
    if (v[j] < limit) return j;
  }
  return -1;
}

TRELVIK_CLONES ValueAt LastMaxOfSum(const int32_t* a, const int32_t* b, int32_t begin, int32_t end) {
  ValueAt best{INT32_MIN, -1};
  if (end - begin < kLanes) {
    for (int32_t j = begin; j < end; ++j) {
      if (a[j] + b[j] >= best.value) best = {a[j] + b[j], j};
    }
    return best;
  }
  I32x8 laneMax = TRELVIK_SPLAT(INT32_MIN);
  int32_t j = begin;
  for (; j + kLanes <= end; j += kLanes) laneMax = TRELVIK_MAX(laneMax, TRELVIK_LOAD(a + j) + TRELVIK_LOAD(b + j));
  if (j < end) laneMax = TRELVIK_MAX(laneMax, TRELVIK_LOAD(a + end - kLanes) + TRELVIK_LOAD(b + end - kLanes));
  best.value = HorizontalMax(laneMax);
  const I32x8 target = TRELVIK_SPLAT(best.value);
  for (j = end; j - kLanes >= begin; j -= kLanes) {
    const I32x8 equal = TRELVIK_LOAD(a + j - kLanes) + TRELVIK_LOAD(b + j - kLanes) == target;
    int32_t any = 0;
    for (int lane = 0; lane < kLanes; ++lane) any |= equal[lane];
    if (any != 0) break;
  }
  --j;
  while (a[j] + b[j] != best.value) --j;  // the value is there, at j or before it
  best.index = j;
  return best;
}

// The 28 % rule leg >= floor(7 P / 25) is, in integers, 25 leg + 24 >= 7 P.
TRELVIK_CLONES LegMaxima TriangleLegMaxima(const int32_t* rowK, const int32_t* rowL, int32_t begin, int32_t end,
                                           int32_t closing, bool withFai) {
  LegMaxima result{-1, -1};
  if (end - begin < kLanes) {
    for (int32_t m = begin; m < end; ++m) {
      const int32_t legs = rowK[m] + rowL[m];
      if (legs > result.flat) result.flat = legs;
      if (withFai) {
        const int32_t sevenP = 7 * (legs + closing);
        if (25 * rowK[m] + 24 >= sevenP && 25 * rowL[m] + 24 >= sevenP && 25 * closing + 24 >= sevenP &&
            legs > result.fai) {
          result.fai = legs;
        }
      }
    }
    return result;
  }
  I32x8 flat = TRELVIK_SPLAT(-1);
  int32_t j = begin;
  if (!withFai) {
    for (; j + kLanes <= end; j += kLanes) flat = TRELVIK_MAX(flat, TRELVIK_LOAD(rowK + j) + TRELVIK_LOAD(rowL + j));
    if (j < end) flat = TRELVIK_MAX(flat, TRELVIK_LOAD(rowK + end - kLanes) + TRELVIK_LOAD(rowL + end - kLanes));
    result.flat = HorizontalMax(flat);
    return result;
  }
  I32x8 fai = TRELVIK_SPLAT(-1);
  const I32x8 closingVec = TRELVIK_SPLAT(closing);
  const I32x8 closingLimit = TRELVIK_SPLAT(25 * closing + 24);
  auto step = [&](int32_t m) {
    const I32x8 a = TRELVIK_LOAD(rowK + m), b = TRELVIK_LOAD(rowL + m);
    const I32x8 legs = a + b;
    flat = TRELVIK_MAX(flat, legs);
    const I32x8 sevenP = (legs + closingVec) * 7;
    const I32x8 ok = (a * 25 + 24 >= sevenP) & (b * 25 + 24 >= sevenP) & (closingLimit >= sevenP);
    fai = TRELVIK_MAX(fai, ok ? legs : TRELVIK_SPLAT(-1));
  };
  for (; j + kLanes <= end; j += kLanes) step(j);
  if (j < end) step(end - kLanes);
  result.flat = HorizontalMax(flat);
  result.fai = HorizontalMax(fai);
  return result;
}

// (25 D + 24) / 7 - G = (25 D + 24 - 7 G) / 7 with a numerator above 0 (G <= D),
// and the quotient keeps the order, so each block divides once.
TRELVIK_CLONES void ClosingBlockMaxima(const int32_t* row, const int32_t* gaps, int32_t first, int32_t end,
                                       int32_t loopFlightGap, int32_t* closing, int32_t* faiCap) {
  constexpr int32_t kBlock = 2 * kLanes;
  for (int32_t lo = first; lo < end;) {
    const int32_t b = lo / kBlock;
    const int32_t hi = std::min(end, (b + 1) * kBlock);
    int32_t most = INT32_MIN, numerator = INT32_MIN;
    if (hi - lo == kBlock) {
      const I32x8 limit = TRELVIK_SPLAT(loopFlightGap), none = TRELVIK_SPLAT(INT32_MIN);
      I32x8 mostLanes = none, numeratorLanes = none;
      for (int32_t half = 0; half < kBlock; half += kLanes) {
        const I32x8 d = TRELVIK_LOAD(row + lo - first + half), g = TRELVIK_LOAD(gaps + lo - first + half);
        const I32x8 within = g < limit;
        mostLanes = TRELVIK_MAX(mostLanes, within ? d - g : none);
        numeratorLanes = TRELVIK_MAX(numeratorLanes, within ? d * 25 + 24 - g * 7 : none);
      }
      most = HorizontalMax(mostLanes);
      numerator = HorizontalMax(numeratorLanes);
    } else {
      for (int32_t l = lo; l < hi; ++l) {
        const int32_t d = row[l - first], g = gaps[l - first];
        if (g >= loopFlightGap) continue;
        most = std::max(most, d - g);
        numerator = std::max(numerator, 25 * d + 24 - 7 * g);
      }
    }
    if (most != INT32_MIN) {
      closing[b] = std::max(closing[b], most);
      faiCap[b] = std::max(faiCap[b], numerator / 7);
    }
    lo = hi;
  }
}

TRELVIK_CLONES void MiddleBlockNeeds(int32_t blockMaxK, int32_t blockMinK, const int32_t* blockMaxL,
                                     const int32_t* blockMinL, const int32_t* closing, const int32_t* base,
                                     const int32_t* faiPerimeter, int32_t pruneFlat, int32_t pruneFai,
                                     int32_t* needs) {
  const I32x8 aMax = TRELVIK_SPLAT(blockMaxK), aMin = TRELVIK_SPLAT(blockMinK);
  for (int half = 0; half < 2 * kLanes; half += kLanes) {
    const I32x8 bMax = TRELVIK_LOAD(blockMaxL + half), bMin = TRELVIK_LOAD(blockMinL + half);
    const I32x8 c = TRELVIK_LOAD(closing + half), perimeter = TRELVIK_LOAD(faiPerimeter + half);
    const I32x8 bound = TRELVIK_LOAD(base + half) + aMax + bMax;
    const I32x8 shortest = aMax < bMax ? aMax : bMax;
    const I32x8 fai = (bound >= pruneFai) & (c * 25 + 24 >= perimeter) & (shortest * 25 + 24 >= perimeter) &
                      (aMax * 18 + 24 >= (bMin + c) * 7) & (bMax * 18 + 24 >= (aMin + c) * 7) &
                      (c * 18 + 24 >= (aMin + bMin) * 7);
    const I32x8 flat = bound >= pruneFlat;
    // Comparisons give -1 for true.
    TRELVIK_STORE(needs + half, ((flat | fai) & kNeedFlat) | (fai & kNeedFai));
  }
}

TRELVIK_CLONES void BlockExtremes(const int32_t* row, int32_t n, int32_t* blockMax, int32_t* blockMin) {
  constexpr int32_t kBlock = 2 * kLanes;
  int32_t b = 0;
  for (; (b + 1) * kBlock <= n; ++b) {
    const I32x8 low = TRELVIK_LOAD(row + b * kBlock), high = TRELVIK_LOAD(row + b * kBlock + kLanes);
    const I32x8 most = TRELVIK_MAX(low, high);
    const I32x8 least = low < high ? low : high;
    int32_t mx = most[0], mn = least[0];
    for (int lane = 1; lane < kLanes; ++lane) {
      mx = most[lane] > mx ? most[lane] : mx;
      mn = least[lane] < mn ? least[lane] : mn;
    }
    blockMax[b] = mx;
    blockMin[b] = mn;
  }
  if (b * kBlock < n) {
    int32_t mx = row[b * kBlock], mn = row[b * kBlock];
    for (int32_t j = b * kBlock + 1; j < n; ++j) {
      mx = row[j] > mx ? row[j] : mx;
      mn = row[j] < mn ? row[j] : mn;
    }
    blockMax[b] = mx;
    blockMin[b] = mn;
  }
}

TRELVIK_CLONES BlockNeeds PairBlockNeeds(const int32_t* maxK, const int32_t* minK, const int32_t* maxL,
                                         const int32_t* minL, int32_t first, int32_t end, int32_t closing,
                                         int32_t gap, int32_t flatLegs, int32_t faiLegs, int32_t faiScore) {
  const int32_t faiShortest = 7 * (faiScore + gap);
  if (end - first < kLanes) {
    BlockNeeds needs{false, false};
    for (int32_t b = first; b < end; ++b) {
      const int32_t legs = maxK[b] + maxL[b];
      needs.flat |= legs >= flatLegs;
      const int32_t shortest = std::min({maxK[b], maxL[b], closing});
      needs.fai |= legs >= faiLegs && 25 * shortest + 24 >= faiShortest &&
                   18 * maxK[b] + 24 >= 7 * (minL[b] + closing) && 18 * maxL[b] + 24 >= 7 * (minK[b] + closing) &&
                   18 * closing + 24 >= 7 * (minK[b] + minL[b]);
    }
    return needs;
  }
  I32x8 flat = TRELVIK_SPLAT(0), fai = TRELVIK_SPLAT(0);
  const I32x8 c = TRELVIK_SPLAT(closing);
  auto step = [&](int32_t b) {
    const I32x8 aMax = TRELVIK_LOAD(maxK + b), aMin = TRELVIK_LOAD(minK + b), bMax = TRELVIK_LOAD(maxL + b), bMin = TRELVIK_LOAD(minL + b);
    const I32x8 legs = aMax + bMax;
    flat |= legs >= flatLegs;
    I32x8 shortest = aMax < bMax ? aMax : bMax;
    shortest = shortest < c ? shortest : c;
    fai |= (legs >= faiLegs) & (shortest * 25 + 24 >= faiShortest) & (aMax * 18 + 24 >= (bMin + c) * 7) &
           (bMax * 18 + 24 >= (aMin + c) * 7) & (c * 18 + 24 >= (aMin + bMin) * 7);
  };
  int32_t b = first;
  for (; b + kLanes <= end; b += kLanes) step(b);
  if (b < end) step(end - kLanes);
  BlockNeeds needs{false, false};
  for (int lane = 0; lane < kLanes; ++lane) {
    needs.flat |= flat[lane] != 0;
    needs.fai |= fai[lane] != 0;
  }
  return needs;
}

}  // namespace trelvik::kernels
