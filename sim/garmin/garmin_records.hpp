#pragma once
// The records a simulated Garmin receiver keeps and sends, written from
// Garmin's interface description: waypoints in each D1xx layout, track points
// in each D30x layout, track headers. Independent of the program's codecs.
#include <cstdint>
#include <string>
#include <vector>

namespace trelvik::sim::garmin {

// A waypoint as the receiver stores it, before it is laid out in a type.
struct SimWaypoint {
  std::string name;
  std::string comment;
  int32_t lat = 0;  // semicircles
  int32_t lon = 0;
  float alt = 0.0f;  // metres; 1.0e25 = unknown
  uint16_t symbol = 18;
  uint32_t time = 0xFFFFFFFF;  // seconds since 1989-12-31; D110 only
};

struct SimTrackPoint {
  int32_t lat = 0;
  int32_t lon = 0;
  uint32_t time = 0;
  float alt = 0.0f;
  float depth = 1.0e25f;
  bool newTrack = false;
};

// One track log: its name and points.
struct SimTrack {
  std::string name;
  std::vector<SimTrackPoint> points;
};

// The data of a waypoint packet of type `type` (100 .. 155); empty for a type
// the simulator does not know.
std::string EncodeSimWaypoint(int type, const SimWaypoint& waypoint);
// The data of a track point packet of type 300 .. 304.
std::string EncodeSimTrackPoint(int type, const SimTrackPoint& point);
// The data of a track header of type 310 .. 312 numbered `index`.
std::string EncodeSimTrackHeader(int type, const std::string& name, int index);

// The waypoints a receiver holds when nothing else is said.
std::vector<SimWaypoint> SampleWaypoints();

// Seconds since 1989-12-31 00:00:00 UTC of a calendar date and time.
uint32_t GarminTime(int year, int month, int day, int seconds);
// The B records of an IGC text as one track named `name`; false without date or fixes.
bool TrackFromIgc(const std::string& igc, const std::string& name, SimTrack& track);

}  // namespace trelvik::sim::garmin
