// The Leonardo flight list and track download with a fault at every byte of a
// correct conversation: each run ends, closes its port, and shows only the
// messages the operation knows. (The waypoint operations read 186 slots one
// request each; their faults are covered end to end.)
#include <gtest/gtest.h>

#include <bit>

#include "access/notifier.hpp"
#include "base/c_format.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "instruments/leonardo/jobs.hpp"
#include "support/fault_sweep.hpp"

namespace trelvik::leonardo {
namespace {

using testing::JobSweepRunner;
using testing::ScriptedJob;
using testing::Sentence;
using testing::ShownMessage;
using testing::SweepFaults;
using Messages = std::vector<ShownMessage>;

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string hex;
  for (const uint8_t b : bytes) hex += CFormat("%02X", static_cast<unsigned>(b));
  return hex;
}

std::vector<uint8_t> Le32(uint32_t v) {
  return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 24)};
}

// `count` records of a flight starting at `time` (seconds since 1980-01-06).
std::vector<uint8_t> Records(uint32_t time, int count) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < count; ++i) {
    std::vector<uint8_t> r(kTrackRecord, 0);
    r[0] = i == 0 ? 1 : 0;
    const auto t = Le32(time + static_cast<uint32_t>(i));
    std::copy(t.begin(), t.end(), r.begin() + 1);
    const auto lat = Le32(std::bit_cast<uint32_t>(0.8f + 0.0001f * static_cast<float>(i)));
    std::copy(lat.begin(), lat.end(), r.begin() + 5);
    r[13] = 0x03;
    r[14] = static_cast<uint8_t>(i);
    r[22] = 0x50;
    bytes.insert(bytes.end(), r.begin(), r.end());
  }
  return bytes;
}

// A flight of five records at the end of page 7 and the start of page 8.
constexpr int kStartOffset = 4096 - 3 * kTrackRecord;
constexpr uint32_t kStart = kEpochOffset + 1000000;

std::string FlightList() {
  std::vector<uint8_t> e = Le32(kStart);
  e.insert(e.end(), {7, static_cast<uint8_t>(kStartOffset >> 8), static_cast<uint8_t>(kStartOffset)});
  const auto end = Le32(kStart + 4);
  e.insert(e.end(), end.begin(), end.end());
  e.insert(e.end(), {8, 0, 2 * kTrackRecord - 1});
  return Sentence("PDGFFLL,1," + Hex(e));
}

void ScriptStart(ScriptedJob& s) {
  s.job.protocol = ProtocolType::Leonardo;
  s.script->Expect(kPDGFVID).Answer(Sentence("PDGFVID,LEONARDO PRO,3.10,5150,Jo Pilot"));
  s.script->Expect(kPDGFFLL).Answer(FlightList());
}

const Messages kIdentityMessages = {
    {"COM port write error", "Requesting GPS product data"},
    {"COM port read error", "Reading product data"},
    {"Bad/missing user name", "Reading product data"},
    {"No valid response from GPS", "Get GPS product data"},
};

Messages FlightListMessages() {
  Messages all = kIdentityMessages;
  for (const char* text :
       {"COM port write error", "COM port read error", "Timeout reading flight list data", "Bad NMEA sentence",
        "Bad track count format", "Bad sentence format", "End time before start time", "Bad NMEA checksum",
        "Number of tracks detected unequal to track count indication"}) {
    all.push_back({text, "Read GPS track list"});
  }
  return all;
}

TEST(LeonardoFaultSweep, TrackThroughTwoPages) {
  Messages all = FlightListMessages();
  for (int code = 10; code <= 21; ++code)
    all.push_back({CFormat("Error %d reading track log", code), "Read GPS track log"});
  all.push_back({"No points detected", "Read GPS track log"});
  SweepFaults(
      "track",
      JobSweepRunner<ScriptedJob>(
          [](ScriptedJob& s) {
            s.commandLine.trackList[0] = 0;
            ScriptStart(s);
            const std::vector<uint8_t> records = Records(kStart, 5);
            const std::vector<uint8_t> first(records.begin(), records.begin() + 3 * kTrackRecord);
            const std::vector<uint8_t> second(records.begin() + 3 * kTrackRecord, records.end());
            s.script->Expect(PDGFRMM(kTrackMemory, 7, kStartOffset, 3 * kTrackRecord))
                .Answer(Sentence("PDGFRMM," + Hex(first)));
            s.script->Expect(PDGFRMM(kTrackMemory, 8, 0, 2 * kTrackRecord)).Answer(Sentence("PDGFRMM," + Hex(second)));
          },
          DownloadTrackLog,
          [](ScriptedJob& s, int result) {
            if (result < 0) return std::string();
            std::string text;
            for (const TrackPoint& p : s.job.points) {
              text += CFormat("%d/%u/%d/%d/%d\n", p.flags, p.time, p.lat, p.baroAlt, p.gpsAlt);
            }
            return text;
          }),
      all);
}

struct FlightListJob : ScriptedJob {
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

TEST(LeonardoFaultSweep, FlightList) {
  SweepFaults("flight list",
              JobSweepRunner<FlightListJob>([](FlightListJob& s) { ScriptStart(s); }, DownloadFlightList,
                                            [](FlightListJob& s, int) { return s.sink.texts; }),
              FlightListMessages());
}

}  // namespace
}  // namespace trelvik::leonardo
