// Arbitrary bytes as an instrument's replies, one byte at a time into every
// state machine of the Flytec protocol at once: the line collectors of the
// product and track-list replies, the waypoint sentence parser, the framer of
// acknowledgements and airspace lines (and the airspace list built from what
// it frames) and the IGC track receiver. Each machine must take every byte,
// start afresh after a fault, and keep its results inside their limits.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "instruments/flytec/codec.hpp"
#include "instruments/flytec/codec_ctr.hpp"
#include "instruments/common/igc_track_receiver.hpp"

namespace {

using namespace trelvik;
using namespace trelvik::flytec;

// The line lengths the product and track-list passes collect.
constexpr size_t kProductLineLimit = 80;
constexpr size_t kTrackListLineLimit = 79;
// An uploaded airspace is cut into lines per segment; keep the work per input small.
constexpr size_t kMaxSegmentsForUpload = 64;

void Check(bool condition) {
  if (!condition) std::abort();
}

class Lines {
 public:
  void Feed(uint8_t c) {
    if (product_.Feed(c)) {
      Check(product_.Line().size() <= kProductLineLimit);
      ProductData data;
      if (ParseProductLine(product_.Line(), data) == ProductLine::Product) {
        Check(!data.pilot.empty() && data.model.size() <= 16 && data.pilot.size() <= 40 &&
              data.serial.size() <= 7 && data.software.size() <= 6);
        (void)ModelName(data.model);
        (void)CanListTracks(ModelName(data.model), data.software);
      }
    }
    if (trackList_.Feed(c)) {
      Check(trackList_.Line().size() <= kTrackListLineLimit);
      TrackListLine entry;
      (void)TrackListErrorText(ParseTrackListLine(trackList_.Line(), entry));
    }
  }

 private:
  LineCollector product_{kProductLineLimit};
  LineCollector trackList_{kTrackListLineLimit};
};

class Waypoints {
 public:
  void Feed(uint8_t c) {
    const int rc = parser_.Feed(c);
    Check(rc <= 1);
    if (rc != 1) return;
    const WaypointSentence& sentence = parser_.Sentence();
    Check(sentence.id.size() <= 6 && sentence.name.size() <= 17);
    Check(std::fabs(sentence.lat) <= M_PI / 2 + 1e-9 && std::fabs(sentence.lon) <= M_PI + 1e-9);
    std::vector<Waypoint> waypoints{WaypointFromSentence(sentence, 0)};
    Check(std::memchr(waypoints[0].name, '\0', sizeof waypoints[0].name) != nullptr);
    Check(std::memchr(waypoints[0].description, '\0', sizeof waypoints[0].description) != nullptr);
    // A received waypoint may be sent back.
    ApplyWaypointNaming(waypoints, WaypointNaming::IdAndName);
    const std::string reply = PBRWPR(waypoints[0]);
    Check(reply.ends_with("\r\n"));
  }

 private:
  WaypointSentenceParser parser_;
};

class FramedReplies {
 public:
  void Feed(uint8_t c) {
    const int rc = framer_.Feed(c);
    Check(rc <= 1);
    if (rc != 1) return;
    Check(!framer_.Sentence().empty() && framer_.Sentence().front() == '$');
    (void)AckStatusText(AckStatus(framer_.Sentence()));
    const int event = builder_->Interpret(framer_.Sentence());
    Check(event <= CtrListBuilder::kListComplete);
    if (event == CtrListBuilder::kAreaComplete) UploadLastArea();
    // The download ends at a fault or at the end of the list; the next one starts afresh.
    if (event < 0 || event == CtrListBuilder::kListComplete) builder_ = std::make_unique<CtrListBuilder>();
  }

 private:
  void UploadLastArea() {
    Check(builder_->CompleteAreas() >= 1 && static_cast<size_t>(builder_->CompleteAreas()) <= builder_->List().size());
    const CtrArea& area = builder_->List()[builder_->CompleteAreas() - 1];
    if (static_cast<size_t>(area.SegmentCount()) > kMaxSegmentsForUpload) return;
    const CtrUpload upload = PBRCTRW(area);
    Check(upload.segments.size() == static_cast<size_t>(area.SegmentCount()));
    size_t lines = 2;
    for (const std::vector<CtrUploadLine>& segment : upload.segments) lines += segment.size();
    Check(lines == static_cast<size_t>(CtrLineCount(area)));
  }

  SentenceFramer framer_;
  std::unique_ptr<CtrListBuilder> builder_ = std::make_unique<CtrListBuilder>();
};

// The IGC receiver fed byte by byte must end as one fed everything at once.
void IgcTrack(std::span<const uint8_t> bytes) {
  std::vector<TrackPoint> points;
  std::string raw;
  IgcTrackReceiver byteByByte;
  byteByByte.Start(points, raw);
  for (const uint8_t c : bytes) {
    if (!byteByByte.Feed(std::span<const uint8_t>(&c, 1))) break;
  }
  (void)byteByByte.Finish();
  Check(byteByByte.PointCount() == points.size() && raw.size() <= bytes.size());

  std::vector<TrackPoint> pointsAtOnce;
  std::string rawAtOnce;
  IgcTrackReceiver atOnce;
  atOnce.Start(pointsAtOnce, rawAtOnce);
  (void)atOnce.Feed(bytes);
  (void)atOnce.Finish();
  Check(atOnce.Status().fault == byteByByte.Status().fault && atOnce.Status().code == byteByByte.Status().code);
  Check(pointsAtOnce.size() == points.size() && rawAtOnce == raw);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Lines lines;
  Waypoints waypoints;
  FramedReplies framed;
  for (size_t i = 0; i < size; ++i) {
    // The jobs drop the instrument's flow control before any parser sees it.
    if (IsFlowControl(data[i])) continue;
    lines.Feed(data[i]);
    waypoints.Feed(data[i]);
    framed.Feed(data[i]);
  }
  IgcTrack(std::span<const uint8_t>(data, size));
  return 0;
}
