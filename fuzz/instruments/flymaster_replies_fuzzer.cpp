// Arbitrary bytes as a Flymaster's replies, one byte at a time into every
// state machine of the protocol at once: the product and flight-list line
// collectors with their parsers, the waypoint and acknowledgement lines, and
// the block frame with the flight decoder behind it. Each must take every
// byte, start afresh after a fault, and keep its results inside their limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "instruments/common/line_collector.hpp"
#include "instruments/flymaster/codec.hpp"

namespace {

using namespace trelvik;
using namespace trelvik::flymaster;

void Check(bool condition) {
  if (!condition) std::abort();
}

constexpr int32_t kQuarterCircle = 1 << 30;  // 90 degrees in semicircles

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LineCollector product(60);
  LineCollector list(79);
  PrefixLineCollector waypoints("$PFMWPL,", 199);
  PrefixLineCollector acks("$PFMWPR,", 49);
  BlockReader reader;
  std::vector<TrackPoint> points;
  FlightDecoder decoder;
  decoder.Start(points, size % 2 == 0);
  bool failed = false;
  for (size_t i = 0; i < size; ++i) {
    const uint8_t c = data[i];
    if (product.Feed(c)) {
      if (const auto p = ParseProductLine(product.Line())) Check(p->product.size() <= 40 && p->software.size() <= 10);
    }
    if (list.Feed(c)) {
      TrackListLine entry;
      if (ParseTrackListLine(list.Line(), entry) == TrackListError::None) Check(entry.index >= 0);
    }
    if (waypoints.Feed(c)) {
      Check(waypoints.Line().size() <= 199);
      WaypointLine line;
      const int code = ParseWaypointLine(waypoints.Line(), line);
      Check(code >= 0 && code <= 11);
      if (code == 0) {
        const Waypoint w = WaypointFromLine(line, 0);
        Check(w.name[6] == '\0' && w.description[40] == '\0');
      }
    }
    if (acks.Feed(c)) {
      const int type = CheckWaypointAck(acks.Line(), "NAME            ", c % 2 == 0);
      Check(type >= 0 && type <= 7);
    }
    const BlockReader::Event event = reader.Feed(c);
    if (event == BlockReader::Event::Good && !failed) {
      failed = decoder.Take(reader.Type(), reader.Data()) != FlightError::None;
    }
  }
  // Every position that was kept lies on the globe.
  for (const TrackPoint& p : points) Check(p.lat >= -kQuarterCircle && p.lat <= kQuarterCircle);
  return 0;
}
