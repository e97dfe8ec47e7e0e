#include "geo/transverse_mercator.hpp"

#include <cmath>

#include "geo/ellipsoid.hpp"

namespace trelvik {
namespace {

using namespace wgs84;

// Meridian distance divided by a.
constexpr double kA0 = 0.9983242984527952446;
constexpr double kA2 = 0.002514607060518705;
constexpr double kA4 = 2.6390465943376217e-6;
constexpr double kA6 = 3.4180460865957886e-9;

constexpr double kRadiansPer3Degrees = 0.05235987755982989;
constexpr double kZonesPerRadianLongitude = 9.54929658551372;  // 30 / pi
constexpr double kFootpointPerMetre = 1.571116057864735e-7;    // 1 / (k0 a A0)
constexpr double kInverseScaleTimesA = 1.5684833362218868e-7;  // 1 / (k0 a)

double CentralMeridian(int32_t zone) { return (2 * zone - 61) * kRadiansPer3Degrees; }

double Degrees(double radians) { return radians * (180 / M_PI); }

int32_t AutomaticZone(double longitude, char band) {
  const double lon = Degrees(longitude);
  if (band == 'V' && lon >= 3 && lon < 12) return 32;
  if (band == 'X') {
    if (lon >= 0 && lon < 9) return 31;
    if (lon >= 9 && lon < 21) return 33;
    if (lon >= 21 && lon < 33) return 35;
    if (lon >= 33 && lon < 42) return 37;
  }
  const int32_t zone = static_cast<int32_t>(longitude * kZonesPerRadianLongitude + 30) + 1;
  return zone < 1 ? 1 : zone > 60 ? 60 : zone;
}

}  // namespace

TmPoint ProjectTm(const GeoPosition& position, double centralMeridian) {
  const double phi = position.lat;
  const double omega = position.lon - centralMeridian;
  const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
  const double t = std::tan(phi);
  const double t2 = t * t, t4 = t2 * t2, t6 = t4 * t2;
  const double w = 1 - kEccentricitySquared * sinPhi * sinPhi;
  const double psi = w * kOnePlusSecondEccentricitySquared;  // nu / rho
  const double psi2 = psi * psi, psi3 = psi2 * psi, psi4 = psi3 * psi;
  const double nuOverA = 1 / std::sqrt(w);
  const double d = omega * omega * cosPhi * cosPhi;

  TmPoint point;
  point.x = kUtmScaleTimesA * nuOverA * omega * cosPhi *
            (1 + d / 6 * (psi - t2) +
             d * d / 120 * (4 * psi3 * (1 - 6 * t2) + psi2 * (1 + 8 * t2) - 2 * psi * t2 + t4) +
             d * d * d / 5040 * (61 - 479 * t2 + 179 * t4 - t6));
  const double m = kA0 * phi - kA2 * std::sin(2 * phi) + kA4 * std::sin(4 * phi) - kA6 * std::sin(6 * phi);
  point.y = kUtmScaleTimesA *
            (m + sinPhi * cosPhi * nuOverA * omega * omega *
                     (0.5 + d / 24 * (4 * psi2 + psi - t2) +
                      d * d / 720 *
                          (8 * psi4 * (11 - 24 * t2) - 28 * psi3 * (1 - 6 * t2) + psi2 * (1 - 32 * t2) -
                           2 * psi * t2 + t4) +
                      d * d * d / 40320 * (1385 - 3111 * t2 + 543 * t4 - t6)));
  return point;
}

char UtmBandLetter(double latitude) {
  static constexpr char kBands[] = "CDEFGHJKLMNPQRSTUVWX";
  const double lat = Degrees(latitude);
  if (lat < -80) return 'B';
  if (lat >= 84) return 'Y';
  if (lat >= 72) return 'X';
  return kBands[static_cast<int>((lat + 80) / 8)];
}

void LatLonToUtm(const GeoPosition& position, UtmPosition& utm) {
  utm.band = UtmBandLetter(position.lat);
  if (utm.zone == 0) utm.zone = AutomaticZone(position.lon, utm.band);
  const TmPoint point = ProjectTm(position, CentralMeridian(utm.zone));
  utm.easting = point.x + kFalseEasting;
  utm.northing = point.y + (position.lat < 0 ? kFalseNorthingSouth : 0.0);
}

GeoPosition UtmToLatLon(const UtmPosition& utm) {
  const char band = utm.band >= 'a' && utm.band <= 'z' ? static_cast<char>(utm.band - 'a' + 'A') : utm.band;
  const double n = band <= 'M' ? utm.northing - kFalseNorthingSouth : utm.northing;
  const double mu = n * kFootpointPerMetre;
  const double phi1 = mu + 0.0025188265843906882 * std::sin(2 * mu) + 3.700949035620534e-6 * std::sin(4 * mu) +
                      7.447813767503948e-9 * std::sin(6 * mu) + 1.703599323859631e-11 * std::sin(8 * mu);
  const double sinPhi1 = std::sin(phi1);
  const double t = std::tan(phi1);
  const double t2 = t * t, t4 = t2 * t2, t6 = t4 * t2;
  const double w = 1 - kEccentricitySquared * sinPhi1 * sinPhi1;
  const double psi = w * kOnePlusSecondEccentricitySquared;
  const double psi2 = psi * psi, psi3 = psi2 * psi, psi4 = psi3 * psi;
  const double c = std::sqrt(w) * (utm.easting - kFalseEasting) * kInverseScaleTimesA;
  const double d = c * c;

  GeoPosition position;
  position.lat =
      phi1 + psi * d * t *
                 (-0.5 + d * (psi * (3.0 / 8 - 3 * t2 / 8 - psi / 6) + t2 / 2) +
                  d * d *
                      (-(88 * psi4 - 192 * psi4 * t2 - 252 * psi3 + 852 * psi3 * t2 + 225 * psi2 -
                         1470 * psi2 * t2 + 225 * psi2 * t4 + 900 * psi * t2 - 540 * psi * t4 + 360 * t4) /
                       720) +
                  d * d * d * (1385 + 3633 * t2 + 4095 * t4 + 1575 * t6) / 40320);
  position.lon = CentralMeridian(utm.zone) +
                 (c / std::cos(phi1)) *
                     (1 - d * (t2 / 3 + psi / 6) +
                      d * d * (psi3 * (24 * t2 - 4) / 120 + psi2 * (9 - 68 * t2) / 120 + 72 * psi * t2 / 120 +
                               24 * t4 / 120) -
                      d * d * d * (61 + 662 * t2 + 1320 * t4 + 720 * t6) / 5040);
  return position;
}

}  // namespace trelvik
