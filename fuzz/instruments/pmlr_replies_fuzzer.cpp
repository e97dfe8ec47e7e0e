// Arbitrary bytes as the replies of MLR receivers and LogIt loggers, one byte
// at a time into every parser of theirs at once: the identification answer
// under both families' field rules, the binary frames of the three transfers
// with their entries, the LogIt point count and the $GPWPL sentences with
// their name fields. Each parser must take every byte, start afresh after a
// fault and keep its results inside their limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "instruments/common/pmlr_codec.hpp"
#include "instruments/logit/codec.hpp"
#include "instruments/mlr/codec.hpp"

namespace {

using namespace trelvik;

void Check(bool condition) {
  if (!condition) std::abort();
}

void FeedProduct(pmlr::ProductParser& parser, const pmlr::ProductRules& rules, uint8_t c) {
  if (parser.Feed(c) != pmlr::ProductStep::Complete) return;
  for (size_t k = 0; k < 5; ++k) Check(parser.Fields()[k].size() <= rules.fieldLimits[k]);
}

void FeedFrames(pmlr::FrameParser& parser, const pmlr::FrameDialect& dialect, uint8_t c) {
  if (parser.Feed(c) != pmlr::FrameStep::Frame) return;
  if (parser.Kind() != pmlr::FrameKind::Data) return;
  Check(parser.Count() >= 1 && parser.Count() <= dialect.maxEntries);
  for (int k = 0; k < parser.Count(); ++k) {
    if (dialect.entrySize == 18) {
      const pmlr::PointEntry e = pmlr::DecodePointEntry(parser.Entry(k));
      Check(e.altitude >= -0x800000 && e.altitude < 0x800000);
      (void)mlr::PointFromEntry(e, (k & 1) != 0, k == 0);
    } else {
      const Waypoint w = mlr::WaypointFromEntry(pmlr::DecodeWaypointEntry(parser.Entry(k)), 0);
      Check(w.name[6] == '\0');
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pmlr::ProductParser mlrProduct(mlr::kProductRules);
  pmlr::ProductParser logitProduct(logit::kProductRules);
  pmlr::FrameParser tracks(pmlr::kMlrTrackFrames);
  pmlr::FrameParser waypoints(pmlr::kMlrWaypointFrames);
  pmlr::FrameParser logitTracks(pmlr::kLogItTrackFrames);
  logit::PointCountParser count;
  mlr::WplParser wpl;
  for (size_t i = 0; i < size; ++i) {
    const uint8_t c = data[i];
    FeedProduct(mlrProduct, mlr::kProductRules, c);
    FeedProduct(logitProduct, logit::kProductRules, c);
    FeedFrames(tracks, pmlr::kMlrTrackFrames, c);
    FeedFrames(waypoints, pmlr::kMlrWaypointFrames, c);
    FeedFrames(logitTracks, pmlr::kLogItTrackFrames, c);
    const int rc = count.Feed(c);
    Check(rc >= -8 && rc <= 1);
    if (rc == 1) Check(count.Count() >= 0);
    const int w = wpl.Feed(c);
    Check(w >= -21 && w <= 1);
    if (w == 1) {
      Check(wpl.Sentence().name.size() <= 599);
      mlr::WplName name;
      if (mlr::SplitWplName(wpl.Sentence().name, name) == mlr::WplNameError::None) {
        Check(!name.shortName.empty() && name.shortName.size() <= 6 && name.description.size() <= 21);
      }
    }
  }
  return 0;
}
