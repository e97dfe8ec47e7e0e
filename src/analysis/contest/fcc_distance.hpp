#pragma once
// The flat-earth distance the open-distance contests score with (the FCC
// formula), between fixes and as safe bounds between latitude/longitude boxes.
// Bounds only ever err outwards, so a search pruned with them stays exact.
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

namespace trelvik::contest {

struct GeoFix {
  double lat = 0.0;  // degrees
  double lon = 0.0;  // degrees
};

struct GeoBox {
  double latLo, latHi, lonLo, lonHi;
};

// Kilometres per degree of latitude (k1) and of longitude (k2) at a mean
// latitude whose cosine is `c`.
struct FccFactors {
  double k1, k2;
};
inline FccFactors FccFactorsAt(double c) {
  const double c2 = 2 * c * c - 1;
  const double c3 = c * (2 * c2 - 1);
  const double c4 = 2 * c2 * c2 - 1;
  const double c5 = 2 * c2 * c3 - c;
  return {111.13209 - 0.566605 * c2 + 0.00120 * c4, 111.41513 * c - 0.09455 * c3 + 0.00012 * c5};
}

// Fixes with the half-latitude sines and cosines each distance needs, so the
// mean latitude's cosine costs four products instead of a cosine.
class FccTrack {
 public:
  explicit FccTrack(std::span<const GeoFix> fixes);

  size_t size() const { return lat_.size(); }
  const GeoFix Fix(size_t i) const { return {lat_[i], lon_[i]}; }

  double Distance(size_t i, size_t j) const {
    const double c = halfCos_[i] * halfCos_[j] - halfSin_[i] * halfSin_[j];
    const FccFactors k = FccFactorsAt(c);
    const double a = k.k1 * (lat_[j] - lat_[i]);
    const double b = k.k2 * (lon_[j] - lon_[i]);
    return std::sqrt(a * a + b * b);
  }

  // The box of the fixes first..last (inclusive), in constant time.
  GeoBox Box(size_t first, size_t last) const;

  // Greatest and least distance between any point of `a` and any of `b`, for
  // boxes within the track's latitudes.
  double MaxDistance(const GeoBox& a, const GeoBox& b) const;
  double MinDistance(const GeoBox& a, const GeoBox& b) const;

 private:
  struct FactorRange {
    FccFactors least, greatest;
  };
  FactorRange FactorsOver(double meanLatLo, double meanLatHi) const;

  std::vector<double> lat_, lon_, halfCos_, halfSin_;
  // Boxes from the start of each fix's block to it and from it to the block's
  // end, and per level l the box of the 2^l blocks from each block: a range's
  // box is at most three of them, in a tenth of a table over single fixes.
  std::vector<GeoBox> toBlockStart_, toBlockEnd_;
  std::vector<std::vector<GeoBox>> blockLevels_;
  // The factors on a grid of distances from the equator over the track's
  // latitudes, so a bound needs no cosine.
  double gridBase_ = 0.0;
  std::vector<FccFactors> grid_;
};

inline GeoBox PointBox(const GeoFix& f) { return {f.lat, f.lat, f.lon, f.lon}; }

// Kilometres rounded to 0.01 as the contests round every leg and total.
inline double RoundKm(double km) { return std::round(km * 100.0) / 100.0; }

}  // namespace trelvik::contest
