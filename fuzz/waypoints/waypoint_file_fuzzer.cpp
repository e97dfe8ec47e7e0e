// The waypoint file table on arbitrary bytes: recognition by the first bytes
// and the recognised row's reader, as "Read waypoints" uses them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "../kml/waypoint_checks.hpp"
#include "waypoints/waypoint_file_formats.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace trelvik;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const WaypointFileFormat* row = RecogniseWaypointFile(input);
  if (row == nullptr) return 0;
  FileReadContext quiet;
  quiet.canAsk = false;
  fuzz::CheckWaypoints(row->read(input, quiet));
  return 0;
}
