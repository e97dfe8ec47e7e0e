// The MapSource readers on arbitrary bytes; what they read is written and must
// read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "trackfiles/mapsource_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace trelvik;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const TrackFileRead track = ReadMapSourceTrack(input);
  if (track.Ok()) {
    const TrackFileRead again = ReadMapSourceTrack(WriteMapSourceTrack(track.records.points).bytes);
    if (!again.Ok() || again.records.Count() != track.records.Count()) std::abort();
  }
  const WaypointFileRead waypoints = ReadMapSourceWaypoints(input);
  if (waypoints.Ok()) {
    const WaypointFileRead again = ReadMapSourceWaypoints(WriteMapSourceWaypoints(waypoints.records.waypoints).bytes);
    if (!again.Ok() || again.records.Count() != waypoints.records.Count()) std::abort();
  }
  return 0;
}
