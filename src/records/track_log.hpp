#pragma once
// The one track log and the one waypoint list the program holds, with the facts
// about where the log came from. Owned by the window thread (see TrackStores).
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "records/protocol_type.hpp"
#include "records/track_point.hpp"
#include "records/waypoint.hpp"

namespace trelvik {

struct TrackLog {
  std::vector<TrackPoint> points;  // empty when there is no track
  int32_t signable = 0;            // came straight from an instrument that may carry our security record
  int32_t utcTimes = 0;
  int32_t saved = 0;
  int32_t hasPressureAltitude = 0;
  ProtocolType protocol = ProtocolType::GarminSerial;
  TrackSource source = TrackSource::None;
  std::string modelName;    // at most 16 characters
  std::string description;  // at most 80 characters: the IGC A-record text
  std::string identity;     // at most 50: "model: serial", matched to pilots in competitions
  SystemTime downloadTime;  // UTC

  // The IGC file exactly as the instrument delivered it (Flytec/Braeuniger, DSX, IQ Basic).
  std::string rawIgc;
  TrackTime rawIgcDate = 0;      // time of its first fix; gives the date in file names
  std::string rawIgcMaker;       // three characters after "A" in the A record; empty until received
  std::string rawIgcSerial = "000";
  // Logger data exactly as an XC Trainer or TopNav delivered it.
  std::string rawLog;

  int32_t compId = -1;  // -1 = none
  int32_t civlId = -1;
  std::string pilotName;  // at most 259 characters, UTF-8

  int32_t Count() const { return static_cast<int32_t>(points.size()); }
  bool Empty() const { return points.empty(); }
};

struct WaypointList {
  std::vector<Waypoint> waypoints;
  int32_t Count() const { return static_cast<int32_t>(waypoints.size()); }
};

}  // namespace trelvik
