// Arbitrary bytes as an IQ Basic / Flytec 6015's replies, one byte at a time
// into the reply line collector; every line goes through each line parser of
// the protocol (parameter value, track list line, waypoint line), and a
// waypoint that parses is sent back and must read back as itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "instruments/iqbasic/codec.hpp"

namespace {

using namespace trelvik;
using namespace trelvik::iqbasic;

void Check(bool condition) {
  if (!condition) std::abort();
}

void Line(const std::string& line) {
  Check(line.size() <= 1000 && line.find('\r') == std::string::npos && line.find('\n') == std::string::npos);
  uint32_t value = 0;
  (void)ParseParameterValue(line, value);
  TrackListLine entry;
  if (ParseTrackListLine(line, entry)) {
    Check(entry.flightNumber >= 0 && entry.flightNumber <= 255);
    Check(ACT21(entry.flightNumber).size() == 11);
  }
  Waypoint waypoint;
  const int rc = ParseWaypointLine(line, 0, waypoint);
  Check(rc >= 0 && rc <= kBadLongitude);
  (void)EndsWaypointList(line);
  if (rc != 0) return;
  Check(std::memchr(waypoint.name, '\0', sizeof waypoint.name) != nullptr);
  Check(std::memchr(waypoint.description, '\0', sizeof waypoint.description) != nullptr);
  const std::string sent = ACT32(waypoint);
  Check(sent.starts_with("ACT_32_00\r\n") && sent.ends_with("\r\n"));
  // What is sent reads back at the same position (to the thousandth of a minute).
  Waypoint back;
  const std::string body = sent.substr(11, sent.size() - 13);
  if (body.find('\r') != std::string::npos || body.find('\n') != std::string::npos)
    return;  // a name holding a line end
  if (ParseWaypointLine(body, 0, back) == 0) Check(ACT32(back).substr(27) == sent.substr(27));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReplyLineCollector collector;
  for (size_t i = 0; i < size; ++i) {
    if (collector.Feed(data[i])) Line(collector.Line());
  }
  return 0;
}
