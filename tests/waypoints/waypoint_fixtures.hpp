#pragma once
// The waypoints the writer tests write: texts with a comma, "&", quotes, "<"
// and a letter beyond ASCII, both hemispheres, an airport.
#include <algorithm>
#include <cstring>

#include "records/track_time.hpp"
#include "trackfiles/kml_values.hpp"
#include "trackfiles/waypoint_file_records.hpp"

namespace trelvik::testing {

inline constexpr TrackTime kNow = 700000000;
inline const TrackTime kJuly1 = TrackTimeFromDate(SystemTime{2012, 7, 0, 1, 10, 0, 0, 0});
inline const TrackTime kJuly1Later = TrackTimeFromDate(SystemTime{2012, 7, 0, 1, 11, 30, 0, 0});

inline Waypoint MakeWaypoint(const char* name, const char* description, double lat, double lon, int32_t alt, TrackTime time,
                      int32_t airport) {
  Waypoint waypoint;
  // The fields are zero-filled; copy no more than leaves their last byte zero.
  std::memcpy(waypoint.name, name, std::min(std::strlen(name), sizeof waypoint.name - 1));
  std::memcpy(waypoint.description, description, std::min(std::strlen(description), sizeof waypoint.description - 1));
  waypoint.lat = DegreesToSemicircle(lat);
  waypoint.lon = DegreesToSemicircle(lon);
  waypoint.alt = alt;
  waypoint.time = time;
  waypoint.airport = airport;
  return waypoint;
}

inline WaypointFileRecords WrittenRecords() {
  WaypointFileRecords records;
  records.waypoints = {
      MakeWaypoint("TK1", "Takeoff, north & \"top\" <1>", 46.5, -7.25, 1001, kJuly1, 1),
      MakeWaypoint("LZ", "Landeplatz Z\xC3\xBCrich", -47.25, 8.5, 0, kJuly1Later, 0),
      MakeWaypoint("PASS-2", "", 45.01, 10.0, 12, kNow, 0),
  };
  return records;
}

}  // namespace trelvik::testing
