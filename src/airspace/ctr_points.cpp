#include "airspace/ctr_points.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "geo/angles.hpp"
#include "geo/transverse_mercator.hpp"
#include "geo/vincenty.hpp"

namespace trelvik {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadiansPerDegree = kPi / 180;
constexpr double kMinPointSpacing = 100;  // metres between kept outline points
constexpr double kFullCircleTolerance = 1e-6;
constexpr int kMinCircleSteps = 8;
// Far beyond any real arc; keeps a nonsense centre (an arc start a continent
// away) from running for minutes.
constexpr double kMaxArcSteps = 100000;
constexpr double kFrameProbe = 1e-5;  // radians of latitude, about 64 m
constexpr double kFalseNorthingSouth = 10000000;

GeoPosition ToRadians(const LatLonDegrees& p) { return {p.lat * kRadiansPerDegree, p.lon * kRadiansPerDegree}; }

bool IsFinite(const GeoPosition& p) { return std::isfinite(p.lat) && std::isfinite(p.lon); }

// The centre's UTM plane, with northings taken signed (no false northing) so
// that an outline may cross the equator, and with the scale and the rotation
// of the grid against true north at the centre. Bearings and ground radii are
// turned into plane vectors with them: without the rotation an arc near the
// edge of a zone would be turned by the grid convergence (2 degrees at 47 N),
// without the scale a large circle would be off by up to 0.1 % of its radius.
class CentreFrame {
 public:
  explicit CentreFrame(const GeoPosition& centre) {
    LatLonToUtm(centre, utm_);
    x_ = utm_.easting;
    y_ = SignedNorthing(utm_, centre.lat);
    // A nearby point due north (due south near the north pole or just south
    // of the equator, so both stay in one hemisphere of the formulas).
    const double probe = (centre.lat + kFrameProbe > kPi / 2 || (centre.lat < 0 && centre.lat + kFrameProbe >= 0))
                             ? -kFrameProbe
                             : kFrameProbe;
    const GeoPosition other{centre.lat + probe, centre.lon};
    double px = 0;
    double py = 0;
    Project(other, px, py);
    double dx = px - x_;
    double dy = py - y_;
    if (probe < 0) dx = -dx, dy = -dy;
    double ground = 0;
    if (VincentyDistance(centre, other, ground) == 0 && ground > 0) scale_ = std::hypot(dx, dy) / ground;
    rotation_ = std::atan2(dy, dx) - kPi / 2;
  }

  // Plane coordinates of a position in this frame's zone.
  void Project(const GeoPosition& position, double& x, double& y) const {
    UtmPosition utm;
    utm.zone = utm_.zone;
    LatLonToUtm(position, utm);
    x = utm.easting;
    y = SignedNorthing(utm, position.lat);
  }

  GeoPosition Unproject(double x, double y) const {
    UtmPosition utm = utm_;
    utm.easting = x;
    utm.northing = utm_.band <= 'M' ? y + kFalseNorthingSouth : y;
    return UtmToLatLon(utm);
  }

  // The position at `groundMetres` from the centre in the true direction
  // `mathAngle` (radians from east, counter-clockwise).
  GeoPosition AtGround(double groundMetres, double mathAngle) const {
    const double r = groundMetres * scale_;
    return Unproject(x_ + r * std::cos(mathAngle + rotation_), y_ + r * std::sin(mathAngle + rotation_));
  }

  GeoPosition AtPlane(double planeRadius, double planeAngle) const {
    return Unproject(x_ + planeRadius * std::cos(planeAngle), y_ + planeRadius * std::sin(planeAngle));
  }

  double X() const { return x_; }
  double Y() const { return y_; }

 private:
  static double SignedNorthing(const UtmPosition& utm, double latitude) {
    return latitude < 0 ? utm.northing - kFalseNorthingSouth : utm.northing;
  }

  UtmPosition utm_;
  double x_ = 0;
  double y_ = 0;
  double scale_ = 1;
  double rotation_ = 0;
};

// Math angle (radians from east, counter-clockwise) of a bearing in degrees.
double BearingToMathAngle(double bearing) {
  const double degrees = bearing >= 270 ? 450 - bearing : 90 - bearing;
  return degrees * kRadiansPerDegree;
}

int ArcSteps(double sweep, double radius, int32_t segError) {
  const double quotient = std::trunc(sweep / std::sqrt(8.0 * segError / radius));
  if (!(quotient > 0)) return 2;  // also for a radius of 0 (a NaN quotient)
  return static_cast<int>(std::min(quotient, kMaxArcSteps)) + 1;
}

// Points of one outline, dropping those closer than 100 m to the last kept one.
class OutlineBuilder {
 public:
  bool Add(const GeoPosition& candidate) {
    if (!IsFinite(candidate)) return false;
    if (!first_) first_ = candidate;
    if (!kept_.empty()) {
      double metres = 0;
      // A distance that does not converge belongs to far-apart points: keep it.
      if (VincentyDistance(kept_.back(), candidate, metres) == 0 && metres < kMinPointSpacing) return true;
    }
    kept_.push_back(candidate);
    return true;
  }

  // Closes the outline; false when it has fewer than two points.
  bool Close() {
    if (kept_.size() < 2) return false;
    double metres = 0;
    if (VincentyDistance(kept_.back(), *first_, metres) != 0) return false;
    if (metres > kMinPointSpacing) kept_.push_back(*first_);
    return true;
  }

  std::vector<GeoPosition>& Points() { return kept_; }

 private:
  std::optional<GeoPosition> first_;
  std::vector<GeoPosition> kept_;
};

// Points j = 0..n of an arc in the centre's plane; the ends are the given
// positions, the others interpolate radius and angle.
bool AddArc(OutlineBuilder& outline, const CentreFrame& frame, const GeoPosition& start, const GeoPosition& end,
            double r1, double r2, double a1, double step, int steps) {
  if (!outline.Add(start)) return false;
  for (int j = 1; j < steps; ++j) {
    const double radius = r1 + j * (r2 - r1) / steps;
    if (!outline.Add(frame.AtPlane(radius, a1 + j * step))) return false;
  }
  return outline.Add(end);
}

bool AddArcByPoints(OutlineBuilder& outline, const CtrSegment& segment, int32_t segError) {
  const CentreFrame frame(ToRadians(segment.position));
  const GeoPosition start = ToRadians(segment.start);
  const GeoPosition end = ToRadians(segment.end);
  double sx = 0, sy = 0, ex = 0, ey = 0;
  frame.Project(start, sx, sy);
  frame.Project(end, ex, ey);
  const double r1 = std::hypot(sx - frame.X(), sy - frame.Y());
  const double r2 = std::hypot(ex - frame.X(), ey - frame.Y());
  const double a1 = std::atan2(sy - frame.Y(), sx - frame.X());
  const double a2 = std::atan2(ey - frame.Y(), ex - frame.X());
  double sweep = a2 - a1;
  if (sweep < 0) sweep += 2 * kPi;
  if (segment.direction == '+') sweep = 2 * kPi - sweep;
  const int steps = ArcSteps(sweep, std::max(r1, r2), segError);
  const double step = segment.direction == '+' ? -sweep / steps : sweep / steps;
  return AddArc(outline, frame, start, end, r1, r2, a1, step, steps);
}

bool AddArcByAngles(OutlineBuilder& outline, const CtrSegment& segment, int32_t segError) {
  const CentreFrame frame(ToRadians(segment.position));
  const double radius = segment.radius;
  const double a1 = BearingToMathAngle(segment.startBearing);
  const double a2 = BearingToMathAngle(segment.endBearing);
  double sweepDegrees = segment.endBearing - segment.startBearing;
  if (sweepDegrees < 0) sweepDegrees += 360;
  if (segment.direction == '-') sweepDegrees = 360 - sweepDegrees;
  const double sweep = sweepDegrees * kRadiansPerDegree;
  const int steps = ArcSteps(sweep, radius, segError);
  const double step = segment.direction == '+' ? -sweep / steps : sweep / steps;
  if (!outline.Add(frame.AtGround(radius, a1))) return false;
  for (int j = 1; j < steps; ++j) {
    if (!outline.Add(frame.AtGround(radius, a1 + j * step))) return false;
  }
  return outline.Add(frame.AtGround(radius, a2));
}

bool IsFullCircle(const CtrSegment& segment) {
  if (segment.type == CtrSegmentType::Circle) return true;
  return segment.type == CtrSegmentType::ArcByAngles && std::fabs(segment.startBearing) < kFullCircleTolerance &&
         std::fabs(segment.endBearing - 360) < kFullCircleTolerance;
}

bool CirclePoints(const CtrSegment& segment, int32_t segError, std::vector<GeoPosition>& points) {
  const CentreFrame frame(ToRadians(segment.position));
  const double radius = std::max(segment.radius, 0);
  const int steps = std::max(kMinCircleSteps, static_cast<int>(2.22 * std::sqrt(radius / segError) + 0.5));
  for (int k = 0; k < steps; ++k) {
    const GeoPosition point = frame.AtGround(radius, k * 2 * kPi / steps);
    if (!IsFinite(point)) return false;
    points.push_back(point);
  }
  points.push_back(points.front());
  return true;
}

bool OutlinePoints(const CtrArea& area, int32_t segError, std::vector<GeoPosition>& points) {
  if (IsFullCircle(area.segments.front())) return CirclePoints(area.segments.front(), segError, points);
  OutlineBuilder outline;
  for (const CtrSegment& segment : area.segments) {
    bool ok = true;
    switch (segment.type) {
      case CtrSegmentType::Point:
        ok = outline.Add(ToRadians(segment.position));
        break;
      case CtrSegmentType::ArcByPoints:
        ok = AddArcByPoints(outline, segment, segError);
        break;
      case CtrSegmentType::ArcByAngles:
        ok = AddArcByAngles(outline, segment, segError);
        break;
      case CtrSegmentType::Circle:
        // A circle only stands for the whole outline when it comes first.
        break;
    }
    if (!ok) return false;
  }
  if (!outline.Close()) return false;
  points = std::move(outline.Points());
  return true;
}

// Semicircles of a computed position; longitudes past the date line come back
// around (180 E and 180 W are one value), latitudes past a pole stop there.
Semicircle LatitudeSemicircle(double lat) { return RadiansToSemicircle(std::clamp(lat, -kPi / 2, kPi / 2)); }
Semicircle LongitudeSemicircle(double lon) {
  const double semicircles = std::remainder(lon, 2 * kPi) * kSemicirclesPerRadian;  // within +-(2^31 + 1)
  const auto rounded = static_cast<int64_t>(semicircles >= 0 ? semicircles + 0.5 : semicircles - 0.5);
  return static_cast<Semicircle>(static_cast<uint32_t>(rounded));
}

char Letter(unsigned value) { return static_cast<char>('A' + value % 26); }

}  // namespace

void CtrPointName(int number, int index, char (&name)[7]) {
  const auto n = static_cast<unsigned>(number);
  const auto i = static_cast<unsigned>(index);
  name[0] = 'C';
  name[1] = Letter(n / 26);
  name[2] = Letter(n);
  name[3] = Letter(i / 676);
  name[4] = Letter(i / 26);
  name[5] = Letter(i);
  name[6] = '\0';
}

int CtrToPoints(const CtrArea& area, int number, int32_t segError, TrackTime now, std::vector<Waypoint>& points) {
  if (area.segments.empty()) return -1;
  segError = std::max<int32_t>(segError, 1);
  std::vector<GeoPosition> outline;
  if (!OutlinePoints(area, segError, outline)) return -1;
  std::vector<Waypoint> result(outline.size());
  for (size_t i = 0; i < outline.size(); ++i) {
    Waypoint& point = result[i];
    point.lat = LatitudeSemicircle(outline[i].lat);
    point.lon = LongitudeSemicircle(outline[i].lon);
    CtrPointName(number, static_cast<int>(i), point.name);
    point.time = now;
  }
  points = std::move(result);
  return 0;
}

std::vector<TrackPoint> CtrPreviewTrack(const std::vector<Waypoint>& points, TrackTime now) {
  std::vector<TrackPoint> track(points.size());
  for (size_t i = 0; i < points.size(); ++i) {
    track[i].flags = i == 0 ? kNewSegment : 0;
    track[i].time = now + static_cast<TrackTime>(5 * i);
    track[i].lat = points[i].lat;
    track[i].lon = points[i].lon;
  }
  return track;
}

}  // namespace trelvik
