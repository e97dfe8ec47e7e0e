#include "geo/vincenty.hpp"

#include <cmath>

#include "geo/ellipsoid.hpp"

namespace trelvik {

int VincentyDistance(const GeoPosition& from, const GeoPosition& to, double& metres) {
  using namespace wgs84;
  if (std::fabs(from.lat - to.lat) < 1.5e-9 && std::fabs(from.lon - to.lon) < 1e-9) {
    metres = 0;
    return 0;
  }
  const double u1 = std::atan(kOneMinusFlattening * std::tan(from.lat));
  const double u2 = std::atan(kOneMinusFlattening * std::tan(to.lat));
  const double sinU1 = std::sin(u1), cosU1 = std::cos(u1);
  const double sinU2 = std::sin(u2), cosU2 = std::cos(u2);
  double l = to.lon - from.lon;
  if (std::fabs(l) < 1e-10) l = 1e-10;  // never iterate from exactly zero
  double lambda = l;

  double sinSigma = 0, cosSigma = 0, sigma = 0, cosSqAlpha = 0, cos2SigmaM = 0;
  for (int pass = 0;; ++pass) {
    const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
    const double a = cosU2 * sinLambda;
    const double b = cosU1 * sinU2 - sinU1 * cosU2 * cosLambda;
    sinSigma = std::sqrt(a * a + b * b);
    cosSigma = sinU1 * sinU2 + cosU1 * cosU2 * cosLambda;
    const double quotient = sinSigma / cosSigma;
    sigma = std::atan(quotient);
    if (quotient < 0) sigma += M_PI;
    const double sinAlpha = cosU1 * cosU2 * sinLambda / sinSigma;
    const double cosAlpha = std::cos(std::asin(sinAlpha));
    cosSqAlpha = cosAlpha * cosAlpha;
    cos2SigmaM = cosSigma - 2 * sinU1 * sinU2 / cosSqAlpha;
    const double c = kFlatteningBy16 * cosSqAlpha * (4 + kFlattening * (4 - 3 * cosSqAlpha));
    const double next =
        l + (1 - c) * kFlattening * sinAlpha *
                (sigma + c * sinSigma * (cos2SigmaM + c * cosSigma * (2 * cos2SigmaM * cos2SigmaM - 1)));
    if (pass >= 1 && std::fabs((next - lambda) / next) < 1e-10) break;
    lambda = next;
    if (pass + 1 >= 100) return -1;
  }

  const double uSq = cosSqAlpha * kSecondEccentricitySquared;
  const double bigA = 1 + uSq / 16384 * (4096 + uSq * (-768 + uSq * (320 - 175 * uSq)));
  const double bigB = uSq / 1024 * (256 + uSq * (-128 + uSq * (74 - 47 * uSq)));
  const double deltaSigma =
      bigB * sinSigma *
      (cos2SigmaM + bigB / 4 *
                        (cosSigma * (2 * cos2SigmaM * cos2SigmaM - 1) -
                         bigB / 6 * cos2SigmaM * (4 * sinSigma * sinSigma - 3) * (4 * cos2SigmaM * cos2SigmaM - 3)));
  metres = kSemiMinorAxis * bigA * (sigma - deltaSigma);
  return 0;
}

double DistanceOrZero(const GeoPosition& from, const GeoPosition& to) {
  double metres = 0;
  return VincentyDistance(from, to, metres) == 0 ? metres : 0.0;
}

}  // namespace trelvik
