// Arbitrary bytes as a Leonardo's replies: the memory reply parser byte by
// byte (restarted after each result), the flight list over the whole input,
// and the memory records decoded from it. Every result stays inside its limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "instruments/leonardo/codec.hpp"

namespace {

using namespace trelvik;
using namespace trelvik::leonardo;

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int length = size > 0 ? data[0] % 100 : 0;
  MemoryReply reply(length);
  for (size_t i = 0; i < size; ++i) {
    const int code = reply.Feed(data[i]);
    if (code == 0) continue;
    Check(code == 1 || (code <= -14 && code >= -21));
    if (code == 1) Check(static_cast<int>(reply.Data().size()) == length);
    reply = MemoryReply(length);
  }
  std::vector<Flight> flights;
  const FlightListError error = ParseFlightList(std::string_view(reinterpret_cast<const char*>(data), size), flights);
  if (error == FlightListError::None) {
    for (const Flight& f : flights) Check(f.end >= f.start && f.startPage < 256 && f.endOffset < 65536);
  }
  for (size_t at = 0; at + kWaypointRecord <= size; at += kWaypointRecord) {
    const auto w = DecodeWaypoint(std::span<const uint8_t>(data + at, kWaypointRecord), 0);
    if (w) Check(w->name[6] == '\0' && w->description[40] == '\0' && w->name[0] != '\0');
  }
  for (size_t at = 0; at + kTrackRecord <= size; at += kTrackRecord) {
    const TrackPoint p = DecodeTrackRecord(std::span<const uint8_t>(data + at, kTrackRecord));
    Check(p.baroAlt >= -32768 && p.baroAlt <= 32767 && (p.flags & ~kNewSegment) == 0);
  }
  return 0;
}
