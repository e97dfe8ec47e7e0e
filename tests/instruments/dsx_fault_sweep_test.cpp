// Every DSX operation with a fault at every byte of a correct conversation:
// each run ends, closes its port, and shows only the messages that operation
// knows, with their captions.
#include <gtest/gtest.h>

#include "access/field_form.hpp"
#include "base/c_format.hpp"
#include "instruments/dsx/jobs.hpp"
#include "instruments/dsx_fixtures.hpp"
#include "support/fault_sweep.hpp"

namespace trelvik::dsx {
namespace {

using testing::DsxJob;
using testing::ExpectDsxConnection;
using testing::JobSweepRunner;
using testing::ShownMessage;
using testing::SmallIgc;
using testing::SweepFaults;
using Messages = std::vector<ShownMessage>;

const Messages kConnectionMessages = {
    {"E101 COM port write error", "Opening connection to DSX"},
    {"E102 COM port read error", "Opening connection to DSX"},
    {"E103 COM port write error", "Opening connection to DSX"},
    {"No valid response from GPS", "Opening connection to DSX"},
};

Messages TrackMessages() {
  const char* list = "Read GPS track list";
  const char* caption = "Read GPS track log";
  Messages all = {{"E500 COM port write error", list},    {"E503 COM port read error", list},
                  {"E202 COM port write error", caption}, {"E203 COM port read error", caption},
                  {"E207 Too long sentence", caption},    {"Bad or missing A-record", caption},
                  {"No G-records found", caption}};
  all.insert(all.end(), kConnectionMessages.begin(), kConnectionMessages.end());
  for (int code = 1; code <= 6; ++code) all.push_back({CFormat("E505 Format error %d", code), list});
  for (int byte = 0; byte < 256; ++byte) all.push_back({CFormat("E205 Bad record type (%02X)", byte), caption});
  for (int code = 1; code <= 29; ++code) all.push_back({CFormat("E206 Format error %d", code), caption});
  for (int skipped = 1; skipped <= 10; ++skipped) {
    all.push_back({CFormat("%d incomplete position record(s) skipped", skipped), caption});
  }
  return all;
}

std::string ObservedTrack(DsxJob& s, int result) {
  if (result < 0) return {};
  std::string text = CFormat("signable %d\n", s.job.signable);
  for (const TrackPoint& p : s.job.points) {
    text += CFormat("%u/%d/%d/%d/%d\n", p.time, p.lat, p.lon, p.gpsAlt, p.baroAlt);
  }
  return text;
}

TEST(DsxFaultSweep, TrackDownload) {
  SweepFaults("track download",
              JobSweepRunner<DsxJob>(
                  [](DsxJob& s) {
                    s.commandLine.trackList[0] = 0;
                    ExpectDsxConnection(*s.script);
                    s.script->Expect("FL\r").Answer("\r\n001 recs n.3 15.07.24\r\n002 recs n.4 16.07.24\r\n#");
                    s.script->Expect("F002\r").Answer("\r\n#" + SmallIgc(3) + "ZZZZ\r\n#").Expect("V0\r");
                  },
                  DownloadTrackLog, ObservedTrack),
              TrackMessages(), testing::Losses::WholeRecords);
}

struct PilotDataJob : DsxJob {
  class Form : public FieldFormAsker {
   public:
    std::optional<FieldFormAnswer> AskFields(const FieldFormQuestion&) override {
      return FieldFormAnswer{{"Jo Pilot", "43", "", "Rush", "", "+41"}, 0};
    }
  };
  PilotDataJob() { job.fieldFormAsker = &form; }
  Form form;
};

TEST(DsxFaultSweep, PilotData) {
  // Without checksums a flipped or foreign byte in an item is a different
  // item, which the user then sees in the form: only silence and hang-ups are
  // faults here.
  constexpr LinkFault kVisibleFaults[] = {LinkFault::Silence, LinkFault::HangUp};
  Messages accepted = kConnectionMessages;
  for (const ShownMessage& m : Messages{{"COM port write error", "Request user data"},
                                        {"COM port read error", "Request user data"},
                                        {"Response timeout", "Request user data"},
                                        {"COM port write error", "Set DSX pilot data"}}) {
    accepted.push_back(m);
  }
  SweepFaults(
      "pilot data",
      JobSweepRunner<PilotDataJob>(
          [](PilotDataJob& s) {
            ExpectDsxConnection(*s.script);
            const char* items[] = {"Jo Pilot", "42", "1234", "Rush", ""};
            for (int i = 0; i < 5; ++i) s.script->Expect(E(i + 1)).Answer(std::string(items[i]) + "\r\n#");
            s.script->Expect("H243\r").Expect("C1+41\r").Expect("V0\r");
          },
          WritePilotData, [](PilotDataJob& s, int result) { return result < 0 ? std::string() : s.script->Written(); }),
      accepted, testing::Losses::None, kVisibleFaults);
}

}  // namespace
}  // namespace trelvik::dsx
