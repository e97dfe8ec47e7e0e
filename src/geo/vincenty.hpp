#pragma once
#include "geo/angles.hpp"

namespace trelvik {

// Ellipsoidal distance in metres by Vincenty's inverse formula. Returns 0 and
// writes `metres`, or -1 (nothing written) when the iteration does not converge
// after 100 passes (nearly antipodal points).
[[nodiscard]] int VincentyDistance(const GeoPosition& from, const GeoPosition& to, double& metres);

// For callers that sum distances: a failed distance counts as 0.
double DistanceOrZero(const GeoPosition& from, const GeoPosition& to);

}  // namespace trelvik
