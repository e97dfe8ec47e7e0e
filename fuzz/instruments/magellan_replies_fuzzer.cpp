// Arbitrary bytes as a Magellan receiver's replies, one byte at a time into
// the sentence receiver; every sentence it completes goes through the
// version, track and waypoint parsers, and a waypoint read is sent back.
// Nothing may crash, and every result must stay inside its limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "instruments/magellan/codec.hpp"

namespace {

using namespace trelvik;
using namespace trelvik::magellan;

void Check(bool condition) {
  if (!condition) std::abort();
}

void Sentence(const std::string& sentence) {
  Check(!sentence.empty() && sentence.front() == '$' && sentence.size() <= 101);
  (void)IsEndMark(sentence);
  MagellanVersion version;
  if (ParseVersion(sentence, version)) {
    Check(version.software.size() <= 40 && version.product.size() <= 60);
    Check(ProductDescription(version).size() <= 80);
    (void)TrackRefusal(version);
  }
  TrackPoint point;
  const int track = ParseTrackSentence(sentence, point);
  Check(track == 0 || track == kNoFix || (track >= 1 && track <= 22));
  Waypoint waypoint;
  const int code = ParseWaypointSentence(sentence, waypoint);
  Check(code >= 0 && code <= 16);
  if (code != 0) return;
  Check(std::memchr(waypoint.name, '\0', sizeof waypoint.name) != nullptr);
  Check(std::memchr(waypoint.description, '\0', sizeof waypoint.description) != nullptr);
  const std::string upload = WaypointSentence(waypoint);
  Check(upload.starts_with("$PMGNWPL,") && upload.ends_with("\r\n"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SentenceReceiver receiver;
  for (size_t i = 0; i < size; ++i) {
    const int rc = receiver.Feed(data[i]);
    Check(rc >= kNoLf && rc <= 1);
    if (rc == 1) Sentence(receiver.Sentence());
  }
  return 0;
}
