// Arbitrary bytes as a TopNav's waypoint text lines, split as the driver
// splits them; every line goes through the line decoder. Nothing may crash,
// and an accepted waypoint must have a short terminated name and a position
// on the globe.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "instruments/topnav/waypoint_text.hpp"
#include "instruments/xctrainer/mxp_codec.hpp"

namespace {

using namespace trelvik;

void Check(bool condition) {
  if (!condition) std::abort();
}

constexpr int64_t kHalfTurn = 2147483648LL;  // 180 degrees in semicircles

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  xctrainer::TextLineSplitter splitter;
  (void)splitter.Feed(std::string_view(reinterpret_cast<const char*>(data), size), [](std::string_view line) {
    Waypoint waypoint;
    if (topnav::DecodeWaypointLine(line, waypoint) != topnav::WaypointLine::Waypoint) return true;
    Check(std::strlen(waypoint.name) <= 6);
    Check(waypoint.alt >= 0);
    Check(int64_t{waypoint.lat} >= -kHalfTurn / 2 && int64_t{waypoint.lat} <= kHalfTurn / 2);
    Check(int64_t{waypoint.lon} > -kHalfTurn && int64_t{waypoint.lon} < kHalfTurn);
    return true;
  });
  return 0;
}
