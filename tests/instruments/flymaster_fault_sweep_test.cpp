// Every Flymaster operation with a fault at every byte of a correct
// conversation: each run ends, closes its port, and shows only the messages
// that operation knows, with their captions.
#include <gtest/gtest.h>

#include "access/notifier.hpp"
#include "base/c_format.hpp"
#include "instruments/flymaster/jobs.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "support/fault_sweep.hpp"

namespace trelvik::flymaster {
namespace {

using testing::JobSweepRunner;
using testing::ScriptedJob;
using testing::ShownMessage;
using testing::SweepFaults;
using Messages = std::vector<ShownMessage>;

// The unit writes lower-case checksums.
std::string Unit(std::string_view body) { return PfmSentence(body); }

std::string Product(std::string_view product = "GpsSD", std::string_view software = "2.03") {
  return Unit("PBRSNP," + std::string(product) + ",Jo,4711," + std::string(software));
}

std::string Frame(uint8_t type, const std::vector<uint8_t>& data) {
  std::string block = {static_cast<char>(type), static_cast<char>(type), static_cast<char>(data.size())};
  uint8_t sum = static_cast<uint8_t>(data.size());
  for (const uint8_t c : data) {
    block += static_cast<char>(c);
    sum ^= c;
  }
  return block + static_cast<char>(sum);
}

// A flight of three points: info, key at `time` (seconds since 2000), two deltas, end.
std::vector<std::string> FlightBlocks(uint32_t time) {
  std::vector<uint8_t> info(63, 0);
  info[0] = 1;
  info[4] = 7;
  std::vector<uint8_t> key = {0, 0x40, 0x1D, 0x2A, 0, 0x40, 0x27, 0x09, 0, 0xE8, 0x03, 0x1B, 0x23};
  for (int i = 0; i < 4; ++i) key.push_back(static_cast<uint8_t>(time >> (8 * i)));
  const std::vector<uint8_t> deltas = {0, 1, 2, 3, 4, 2, 0, 0xFF, 0xFE, 0xFD, 0xFC, 2};
  return {Frame(kFlightInfoBlock, info), Frame(kKeyBlock, key), Frame(kPositionsBlock, deltas),
          std::string("\xA3\xA3", 2)};
}

const std::string kGood(1, static_cast<char>(kBlockGood));

void ScriptFlight(LinkScript& script, TrackTime start, uint32_t unitTime) {
  const std::vector<std::string> blocks = FlightBlocks(unitTime);
  script.Expect(PFMDNL(start)).Answer(blocks[0]);
  for (size_t i = 1; i < blocks.size(); ++i) script.Expect(kGood).Answer(blocks[i]);
}

constexpr uint32_t kTo2000 = 315619200;

std::string TwoFlightList() {
  return Unit("PFMLST,002,000,15.07.24,10:00:00,00:00:04") + Unit("PFMLST,002,001,14.07.24,10:00:00,00:00:04");
}
TrackTime ListedStart(int day) { return TrackTimeFromDate({2024, 7, 0, static_cast<uint16_t>(day), 10, 0, 0, 0}); }

const Messages kProductMessages = {
    {"COM port write error", "Requesting GPS product data"},
    {"COM port read error", "Reading product data"},
    {"No valid response from GPS", "Get GPS product data"},
};

Messages TrackListMessages() {
  Messages all;
  for (const char* text : {"E500 COM port write error", "E503 COM port read error", "Too few parameters",
                           "Bad NMEA identifier", "Bad track count parameter", "Bad track index parameter",
                           "Bad track date parameter", "Bad track time parameter", "Bad track duration parameter"}) {
    all.push_back({text, "Read GPS track data"});
  }
  return all;
}

Messages TrackDownloadMessages() {
  const char* caption = "Read GPS track log";
  Messages all = kProductMessages;
  const Messages list = TrackListMessages();
  all.insert(all.end(), list.begin(), list.end());
  for (const char* text :
       {"E202 COM port write error", "E203 Timeout receiving data", "E204 COM port read error",
        "E205 Bad checksum in data block", "E205 Bad flight info block length",
        "E205 Bad key track position block length", "E205 Latitude outside valid range",
        "E205 Longitude value outside valid range", "E205 Missing key track position block",
        "E205 Bad track position block length", "E205 Missing flight info block", "No points detected"}) {
    all.push_back({text, caption});
  }
  return all;
}

std::string ObservedTrack(ScriptedJob& s, int result) {
  if (result < 0) return {};
  std::string text;
  for (const TrackPoint& p : s.job.points) {
    text += CFormat("%d/%u/%d/%d/%d/%d\n", p.flags, p.time, p.lat, p.lon, p.gpsAlt, p.baroAlt);
  }
  return text;
}

TEST(FlymasterFaultSweep, TwoFlightsJoined) {
  SweepFaults("two flights",
              JobSweepRunner<ScriptedJob>(
                  [](ScriptedJob& s) {
                    s.job.protocol = ProtocolType::Flymaster;
                    s.commandLine.trackList[0] = 0;
                    s.commandLine.trackList[1] = 1;
                    s.script->Expect(kPBRSNP).Answer(Product()).Expect(kPFMDNLLST).Answer(TwoFlightList());
                    ScriptFlight(*s.script, ListedStart(15), ListedStart(15) - kTo2000);
                    ScriptFlight(*s.script, ListedStart(14), ListedStart(14) - kTo2000);
                  },
                  DownloadTrackLog, ObservedTrack),
              TrackDownloadMessages());
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
  FlightListJob() {
    job.notifier = &notifier;
    job.protocol = ProtocolType::Flymaster;
  }
  Sink sink;
  Notifier notifier{sink, 7, [] { return 0u; }};
};

TEST(FlymasterFaultSweep, FlightList) {
  Messages all = kProductMessages;
  const Messages list = TrackListMessages();
  all.insert(all.end(), list.begin(), list.end());
  SweepFaults("flight list",
              JobSweepRunner<FlightListJob>(
                  [](FlightListJob& s) {
                    s.script->Expect(kPBRSNP).Answer(Product()).Expect(kPFMDNLLST).Answer(TwoFlightList());
                  },
                  DownloadFlightList, [](FlightListJob& s, int) { return s.sink.texts; }),
              all, testing::Losses::WholeRecords);
}

TEST(FlymasterFaultSweep, WaypointDownload) {
  const char* caption = "Read GPS waypoints";
  Messages all = kProductMessages;
  all.push_back({"E301 COM port read error", caption});
  all.push_back({"E304 COM port write error", caption});
  for (int code = 1; code <= 11; ++code) all.push_back({CFormat("E302 Format error %d", code), caption});
  SweepFaults("waypoint download",
              JobSweepRunner<ScriptedJob>(
                  [](ScriptedJob& s) {
                    s.job.protocol = ProtocolType::Flymaster;
                    s.script->Expect(kPBRSNP).Answer(Product()).Expect(kPFMWPL).Answer(
                        Unit("PFMWPL,46.42433,N,8.13500,E,2240,FIESCH Launch") +
                        Unit("PFMWPL,46.40000,S,8.15000,W,1050,LANDING,1"));
                  },
                  DownloadWaypoints,
                  [](ScriptedJob& s, int result) {
                    if (result < 0) return std::string();
                    std::string text;
                    for (const Waypoint& w : s.job.waypoints) {
                      text += CFormat("%s/%s/%d/%d/%d/%d\n", w.name, w.description, w.lat, w.lon, w.alt, w.airport);
                    }
                    return text;
                  }),
              all, testing::Losses::WholeRecords);
}

TEST(FlymasterFaultSweep, WaypointUpload) {
  Messages all = kProductMessages;
  for (int sent = 0; sent <= 2; ++sent) {
    for (int errors = 0; errors <= sent; ++errors) {
      all.push_back(
          {CFormat("%d waypoints sent, %d errors, COM port read error", sent, errors), "Waypoint upload error"});
      all.push_back({CFormat("%d waypoints sent, %d errors, response timeout", sent, errors), "Waypoint upload error"});
      for (int type = 1; type <= 7; ++type) {
        all.push_back({CFormat("%d waypoints sent, %d errors, first error was type %d", sent, errors, type),
                       "Waypoint upload response error"});
      }
    }
  }
  SweepFaults("waypoint upload",
              JobSweepRunner<ScriptedJob>(
                  [](ScriptedJob& s) {
                    s.job.protocol = ProtocolType::Flymaster;
                    s.job.waypoints = {testing::MakeWaypoint(46.5, 8.25, "A", "Alpha", 100),
                                       testing::MakeWaypoint(46.0, 8.0, "B", "Beta", 200)};
                    std::string name;
                    s.script->Expect(kPBRSNP).Answer(Product());
                    s.script->Expect(PFMWPR(s.job.waypoints[0], name)).Answer(Unit("PFMWPR,ACK,ALPHA"));
                    s.script->Expect(PFMWPR(s.job.waypoints[1], name)).Answer(Unit("PFMWPR,ACK,BETA"));
                  },
                  UploadWaypoints, [](ScriptedJob&, int) { return std::string(); }),
              all);
}

TEST(FlymasterFaultSweep, IdentifiersOfAB1Nav) {
  Messages all = kProductMessages;
  all.push_back({"E401 COM port write error", "Set Flymaster data"});
  all.push_back({"Command available for B1 NAV only", "Set pilot data"});
  SweepFaults("identifiers",
              JobSweepRunner<ScriptedJob>(
                  [](ScriptedJob& s) {
                    s.job.protocol = ProtocolType::Flymaster;
                    s.job.option = static_cast<int32_t>(SettingsCommand::Identifiers);
                    s.job.pilotData = {"12", "4711", "Jo Pilot"};
                    s.script->Expect(kPBRSNP)
                        .Answer(Product("B1NAV"))
                        .Expect(SettingsSentence(SettingsCommand::Identifiers, s.job.pilotData));
                  },
                  SendSettings, [](ScriptedJob&, int) { return std::string(); }),
              all);
}

}  // namespace
}  // namespace trelvik::flymaster
