#include "waypoints/pilot_id_waypoints.hpp"

#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "records/names.hpp"

namespace trelvik {
namespace {

constexpr double kRadiansPerArcSecond = 4.848136811095e-6;
constexpr double kArcSecondsPerRadian = 206264.8062471;

// Three decimal digits as degrees, minutes and seconds, in arc seconds.
int32_t DigitsAsArcSeconds(int32_t seconds, int32_t minutes, int32_t degrees) {
  return seconds + minutes * 60 + degrees * 3600;
}

struct Dms {
  int32_t degrees, minutes, seconds;
};

Dms ArcSecondsOf(Semicircle angle) {
  const auto total = static_cast<int32_t>(SemicircleToRadians(angle) * kArcSecondsPerRadian + 0.5);
  return {total / 3600, total / 60 % 60, total % 60};
}

}  // namespace

Waypoint PilotIdWaypoint(std::string_view label, int32_t id, TrackTime now) {
  Waypoint waypoint;
  CopyToField(label, waypoint.name);
  CopyToField(CFormat("%.*s %d", static_cast<int>(label.size()), label.data(), id), waypoint.description);
  const int32_t lat = DigitsAsArcSeconds(id % 10, id / 10 % 10, id / 100 % 10);
  const int32_t lon = DigitsAsArcSeconds(id / 1000 % 10, id / 10000 % 10, id / 100000);
  waypoint.lat = RadiansToSemicircle(lat * kRadiansPerArcSecond);
  waypoint.lon = RadiansToSemicircle(lon * kRadiansPerArcSecond);
  waypoint.time = now;
  return waypoint;
}

std::optional<int32_t> DecodePilotId(const Waypoint& waypoint) {
  if (waypoint.lat < 0 || waypoint.lon < 0) return std::nullopt;
  const Dms lat = ArcSecondsOf(waypoint.lat);
  const Dms lon = ArcSecondsOf(waypoint.lon);
  if (lon.degrees >= 180 || lat.degrees >= 10) return std::nullopt;
  for (const int32_t digit : {lat.minutes, lat.seconds, lon.minutes, lon.seconds}) {
    if (digit >= 10) return std::nullopt;
  }
  return ((lon.degrees * 10 + lon.minutes) * 10 + lon.seconds) * 1000 + (lat.degrees * 10 + lat.minutes) * 10 +
         lat.seconds;
}

}  // namespace trelvik
