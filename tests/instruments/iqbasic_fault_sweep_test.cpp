// Every IQ Basic / Flytec 6015 operation with a fault at every byte of a
// correct conversation: each run ends, closes its port, and shows only the
// messages that operation knows, with their captions.
#include <gtest/gtest.h>

#include "access/notifier.hpp"
#include "base/c_format.hpp"
#include "instruments/iqbasic/codec.hpp"
#include "instruments/iqbasic/jobs.hpp"
#include "instruments/iqbasic_fixtures.hpp"
#include "support/fault_sweep.hpp"

namespace trelvik::iqbasic {
namespace {

using testing::ExpectIqIdentification;
using testing::IqJob;
using testing::IqListLine;
using testing::JobSweepRunner;
using testing::ShownMessage;
using testing::SmallIgc;
using testing::SweepFaults;
using Messages = std::vector<ShownMessage>;

Messages Join(std::initializer_list<Messages> lists) {
  Messages all;
  for (const Messages& list : lists) all.insert(all.end(), list.begin(), list.end());
  return all;
}

// Faults a protocol without checksums can notice: a flipped byte in a name
// or a reply text is a different name or text, not a fault.
constexpr LinkFault kVisibleFaults[] = {LinkFault::Silence, LinkFault::Garbage, LinkFault::HangUp};

const Messages kIdentifyMessages = {
    {"COM port write error", "Request PA data"},
    {"COM port read error", "Request PA data"},
    {"Response timeout", "Request PA data"},
    {"Device type response error", "Request product data"},
    {"Device type format error", "Request product data"},
    {"Software version response error", "Request product data"},
    {"Software version format error", "Request product data"},
    {"No valid response from GPS", "Get GPS product data"},
};

const Messages kTrackListMessages = {
    {"COM port write error", "Read track list"},
    {"COM port read error", "Read track list"},
    {"No tracks found", "Read track list"},
};

// The date line `line` as the receiver shows it when a byte of it was
// flipped, or when garbage replaced its rest.
Messages DateLineMessages(const std::string& line, const char* caption) {
  std::string garbage;
  for (const char c : std::string_view("\xFF\x00\xA5\x5A\xFE\x80\x13\x11\x7F\x24\x2A", 11)) {
    if (c != 0x11 && c != 0x13) garbage += c;
  }
  Messages all;
  for (size_t k = 0; k <= line.size(); ++k) {
    all.push_back({"HFDTE sentence error: " + line.substr(0, k) + garbage, caption});
    if (k == line.size()) break;
    std::string flipped = line;
    flipped[k] = static_cast<char>(~flipped[k]);
    all.push_back({"HFDTE sentence error: " + flipped, caption});
  }
  return all;
}

Messages TrackMessages() {
  const char* caption = "Read GPS track log";
  Messages all = {{"COM port write error", caption},    {"COM port read error", caption},
                  {"Too long sentence", caption},       {"No points detected", caption},
                  {"Bad or missing A-record", caption}, {"No G-records found", caption}};
  for (int byte = 0; byte < 256; ++byte) all.push_back({CFormat("Bad record type (%02X)", byte), caption});
  for (int code = 1; code <= 29; ++code) all.push_back({CFormat("Format error %d in IGC sentence", code), caption});
  for (int skipped = 1; skipped <= 10; ++skipped) {
    all.push_back({CFormat("%d incomplete position record(s) skipped", skipped), caption});
  }
  for (const char* date : {"HFDTE150724", "HFDTE140724"}) {
    const Messages dates = DateLineMessages(date, caption);
    all.insert(all.end(), dates.begin(), dates.end());
  }
  // Two flights whose list lines lost a byte may be the same flight twice.
  return all;
}

std::string ObservedTrack(IqJob& s, int result) {
  if (result < 0) return {};
  std::string text = CFormat("signable %d\n", s.job.signable);
  for (const TrackPoint& p : s.job.points) {
    text += CFormat("%u/%d/%d/%d/%d\n", p.time, p.lat, p.lon, p.gpsAlt, p.baroAlt);
  }
  return text;
}

TEST(IqBasicFaultSweep, TrackDownloadOfTwoFlights) {
  SweepFaults("track download",
              JobSweepRunner<IqJob>(
                  [](IqJob& s) {
                    s.commandLine.trackList[0] = 0;
                    s.commandLine.trackList[1] = 1;
                    ExpectIqIdentification(*s.script);
                    s.script->Expect(kACT20).Answer(IqListLine(1) + IqListLine(2, "14.07.24"));
                    s.script->Expect(ACT21(1)).Answer(SmallIgc(2)).Expect(ACT21(2)).Answer(SmallIgc(2, "HFDTE140724"));
                  },
                  DownloadTrackLog, ObservedTrack),
              Join({kIdentifyMessages, kTrackListMessages, TrackMessages()}), testing::Losses::WholeRecords);
}

struct FlightListJob : IqJob {
  class Sink : public NotifySink {
   public:
    bool Send(std::string_view datagram) override {
      texts += datagram.substr(4);
      return true;
    }
    std::string texts;
  };
  FlightListJob() { job.notifier = &notifier; }
  Sink sink;
  Notifier notifier{sink, 7, [] { return 0u; }};
};

TEST(IqBasicFaultSweep, FlightList) {
  SweepFaults("flight list",
              JobSweepRunner<FlightListJob>(
                  [](FlightListJob& s) {
                    ExpectIqIdentification(*s.script);
                    s.script->Expect(kACT20).Answer(IqListLine(1) + IqListLine(2, "14.07.24"));
                  },
                  DownloadFlightList, [](FlightListJob& s, int) { return s.sink.texts; }),
              Join({kIdentifyMessages, kTrackListMessages}), testing::Losses::WholeRecords);
}

std::string ObservedWaypoints(IqJob& s, int result) {
  if (result < 0) return {};
  std::string text;
  for (const Waypoint& w : s.job.waypoints)
    text += CFormat("%s/%s/%d/%d/%d\n", w.name, w.description, w.lat, w.lon, w.alt);
  return text;
}

TEST(IqBasicFaultSweep, WaypointDownload) {
  const char* caption = "Read GPS waypoints";
  Messages parse;
  for (int code = 1; code <= 5; ++code) parse.push_back({CFormat("Waypoint string parse error %d", code), caption});
  SweepFaults(
      "waypoint download",
      JobSweepRunner<IqJob>(
          [](IqJob& s) {
            ExpectIqIdentification(*s.script);
            s.script->Expect(kACT31).Answer("Fiesch;N 46'25.460;E 8'08.100;2240\r\nLand;S 46'24;W 8'09\r\nDone\r\n");
          },
          DownloadWaypoints, ObservedWaypoints),
      Join({kIdentifyMessages, {{"E301 COM port read error", caption}, {"E304 COM port write error", caption}}, parse}),
      testing::Losses::WholeRecords, kVisibleFaults);
}

TEST(IqBasicFaultSweep, WaypointUpload) {
  const char* caption = "Read waypoint upload response";
  SweepFaults(
      "waypoint upload",
      JobSweepRunner<IqJob>(
          [](IqJob& s) {
            s.job.waypoints = {testing::MakeWaypoint(46.5, 8.25, "A", "Alpha", 100),
                               testing::MakeWaypoint(-1, -2, "B", "Bravo", 200)};
            ExpectIqIdentification(*s.script);
            s.script->Expect(ACT32(s.job.waypoints[0])).Answer(" Done\r\n");
            s.script->Expect(ACT32(s.job.waypoints[1])).Answer(" Done\r\n");
          },
          UploadWaypoints, [](IqJob& s, int result) { return result < 0 ? std::string() : s.script->Written(); }),
      Join({kIdentifyMessages,
            {{"Missing response", caption},
             {"COM port read error", caption},
             {"0 of 2 waypoints ok. First error was \"\"", "Waypoint upload response error"},
             {"1 of 2 waypoints ok. First error was \"\"", "Waypoint upload response error"}}}),
      testing::Losses::None, kVisibleFaults);
}

}  // namespace
}  // namespace trelvik::iqbasic
