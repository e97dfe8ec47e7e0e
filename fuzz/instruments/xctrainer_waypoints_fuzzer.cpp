// Arbitrary bytes as an XC Trainer's waypoint records: the receiver cuts
// them into 31-byte records and each is decoded; an accepted record must give
// terminated texts, and encoding it again must give a record that decodes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "instruments/xctrainer/waypoint_record.hpp"

namespace {

using namespace trelvik;
using namespace trelvik::xctrainer;

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WaypointRecordReceiver receiver;
  for (size_t i = 0; i < size; ++i) {
    if (!receiver.Feed(data[i])) continue;
    Waypoint waypoint;
    const int code = DecodeWaypointRecord(receiver.Record(), waypoint);
    Check(code == 0 || (code >= kRecordBadChecksum && code <= kRecordBadLead + 3));
    if (code != 0) continue;
    Check(std::memchr(waypoint.name, '\0', sizeof waypoint.name) != nullptr);
    Check(std::memchr(waypoint.description, '\0', sizeof waypoint.description) != nullptr);
    Check(waypoint.alt >= 0 && waypoint.alt <= 0xFFFF);
    const WaypointRecord again = EncodeWaypointRecord(waypoint);
    Waypoint back;
    Check(DecodeWaypointRecord(again, back) == 0);
  }
  return 0;
}
