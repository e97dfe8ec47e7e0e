#include "analysis/contest/fcc_distance.hpp"

#include <algorithm>
#include <bit>
#include <numbers>

namespace trelvik::contest {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// Floating error of a bound is far below a millimetre; this keeps it outwards.
constexpr double kOutwards = 1e-9;
// Degrees between the grid's latitudes; the factors change by about 0.01 % over one step.
constexpr double kGridStep = 0.01;
// Fixes per block of the box tables.
constexpr size_t kBlock = 16;

GeoBox Join(const GeoBox& a, const GeoBox& b) {
  return {std::min(a.latLo, b.latLo), std::max(a.latHi, b.latHi), std::min(a.lonLo, b.lonLo), std::max(a.lonHi, b.lonHi)};
}

}  // namespace

FccTrack::FccTrack(std::span<const GeoFix> fixes) {
  const size_t n = fixes.size();
  lat_.resize(n);
  lon_.resize(n);
  halfCos_.resize(n);
  halfSin_.resize(n);
  double nearest = 90.0, farthest = 0.0;
  for (size_t i = 0; i < n; ++i) {
    lat_[i] = fixes[i].lat;
    lon_[i] = fixes[i].lon;
    halfCos_[i] = std::cos(fixes[i].lat * kRadiansPerDegree / 2);
    halfSin_[i] = std::sin(fixes[i].lat * kRadiansPerDegree / 2);
    nearest = std::min(nearest, std::abs(fixes[i].lat));
    farthest = std::max(farthest, std::abs(fixes[i].lat));
  }
  if (n == 0) return;
  gridBase_ = std::floor(nearest / kGridStep) * kGridStep;
  const size_t steps = static_cast<size_t>(std::ceil((std::min(90.0, farthest) - gridBase_) / kGridStep)) + 2;
  grid_.resize(steps);
  for (size_t t = 0; t < steps; ++t) {
    grid_[t] = FccFactorsAt(std::cos(std::min(90.0, gridBase_ + t * kGridStep) * kRadiansPerDegree));
  }

  toBlockStart_.resize(n);
  toBlockEnd_.resize(n);
  for (size_t first = 0; first < n; first += kBlock) {
    const size_t end = std::min(n, first + kBlock);
    for (size_t i = first; i < end; ++i) toBlockStart_[i] = Join(i == first ? PointBox(Fix(i)) : toBlockStart_[i - 1], PointBox(Fix(i)));
    for (size_t i = end; i-- > first;) toBlockEnd_[i] = Join(i + 1 == end ? PointBox(Fix(i)) : toBlockEnd_[i + 1], PointBox(Fix(i)));
  }
  const size_t blocks = (n + kBlock - 1) / kBlock;
  blockLevels_.resize(std::bit_width(blocks));
  for (size_t b = 0; b < blocks; ++b) blockLevels_[0].push_back(toBlockEnd_[b * kBlock]);
  for (size_t level = 1; level < blockLevels_.size(); ++level) {
    const size_t half = size_t{1} << (level - 1);
    const std::vector<GeoBox>& below = blockLevels_[level - 1];
    for (size_t b = 0; b + 2 * half <= blocks; ++b) blockLevels_[level].push_back(Join(below[b], below[b + half]));
  }
}

GeoBox FccTrack::Box(size_t first, size_t last) const {
  const size_t firstBlock = first / kBlock, lastBlock = last / kBlock;
  if (firstBlock == lastBlock) {
    GeoBox box = PointBox(Fix(first));
    for (size_t i = first + 1; i <= last; ++i) box = Join(box, PointBox(Fix(i)));
    return box;
  }
  GeoBox box = Join(toBlockEnd_[first], toBlockStart_[last]);
  if (lastBlock - firstBlock > 1) {
    const size_t count = lastBlock - firstBlock - 1;
    const size_t level = std::bit_width(count) - 1;
    const std::vector<GeoBox>& boxes = blockLevels_[level];
    box = Join(box, Join(boxes[firstBlock + 1], boxes[lastBlock - (size_t{1} << level)]));
  }
  return box;
}

// k1 grows and k2 shrinks with the distance from the equator, so the extremes
// over a band of mean latitudes lie at its edges, taken at the grid lines
// outside them.
FccTrack::FactorRange FccTrack::FactorsOver(double meanLatLo, double meanLatHi) const {
  const double nearest = (meanLatLo <= 0.0 && meanLatHi >= 0.0) ? 0.0 : std::min(std::abs(meanLatLo), std::abs(meanLatHi));
  const double farthest = std::max(std::abs(meanLatLo), std::abs(meanLatHi));
  const size_t last = grid_.size() - 1;
  const double below = std::floor((nearest - gridBase_) / kGridStep);
  const size_t inner = below <= 0.0 ? 0 : std::min(last, static_cast<size_t>(below));
  const size_t outer = std::min(last, static_cast<size_t>(std::max(0.0, std::ceil((farthest - gridBase_) / kGridStep))));
  if (nearest < gridBase_) {
    // Only a band through the equator lies nearer than the track's nearest fix.
    const FccFactors equator = FccFactorsAt(1.0);
    return {{equator.k1, grid_[outer].k2}, {grid_[outer].k1, equator.k2}};
  }
  return {{grid_[inner].k1, grid_[outer].k2}, {grid_[outer].k1, grid_[inner].k2}};
}

double FccTrack::MaxDistance(const GeoBox& a, const GeoBox& b) const {
  const FactorRange k = FactorsOver((a.latLo + b.latLo) / 2, (a.latHi + b.latHi) / 2);
  const double dLat = std::max(b.latHi - a.latLo, a.latHi - b.latLo);
  const double dLon = std::max(b.lonHi - a.lonLo, a.lonHi - b.lonLo);
  const double x = k.greatest.k1 * dLat;
  const double y = k.greatest.k2 * dLon;
  return std::sqrt(x * x + y * y) * (1 + kOutwards);
}

double FccTrack::MinDistance(const GeoBox& a, const GeoBox& b) const {
  const double gapLat = std::max({0.0, b.latLo - a.latHi, a.latLo - b.latHi});
  const double gapLon = std::max({0.0, b.lonLo - a.lonHi, a.lonLo - b.lonHi});
  if (gapLat == 0.0 && gapLon == 0.0) return 0.0;
  const FactorRange k = FactorsOver((a.latLo + b.latLo) / 2, (a.latHi + b.latHi) / 2);
  const double x = k.least.k1 * gapLat;
  const double y = k.least.k2 * gapLon;
  return std::sqrt(x * x + y * y) * (1 - kOutwards);
}

}  // namespace trelvik::contest
