// The GPX waypoint reader on arbitrary bytes, quietly and asking about names.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "waypoint_checks.hpp"
#include "trackfiles/gpx_waypoint_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace trelvik;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // Quietly (a name that is not clean fails) and asking about each name.
  fuzz::CheckWaypoints(ReadGpxWaypoints(input, 0));
  fuzz::CheckWaypoints(ReadGpxWaypoints(input, 0, fuzz::CyclingModifyIdAnswers(size)));
  return 0;
}
