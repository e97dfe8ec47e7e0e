// Both MTK logger operations with a fault at every byte of a correct
// conversation: each run ends, closes its port, and shows only the messages
// of the logger's steps.
#include <gtest/gtest.h>

#include "base/c_format.hpp"
#include "instruments/mtk/jobs.hpp"
#include "instruments/mtk_job_fixtures.hpp"
#include "support/fault_sweep.hpp"

namespace trelvik::mtk {
namespace {

using testing::JobSweepRunner;
using testing::MtkConversation;
using testing::MtkJob;
using testing::MtkRecord;
using testing::MtkSector;
using testing::Sentence;
using testing::ShownMessage;
using testing::SweepFaults;

std::vector<ShownMessage> StepMessages() {
  std::vector<ShownMessage> all;
  for (int code = 2; code <= 33; ++code) {
    const StepMessage m = StepCodeMessage(code);
    all.push_back({m.text, m.caption});
  }
  for (const char* text :
       {"Bad header block", "Bad data block (1)", "Bad data block (2)", "Bad data block (3)", "No points detected"}) {
    all.push_back({text, "Parse log data"});
  }
  return all;
}

TEST(MtkFaultSweep, LogDownload) {
  static const std::vector<uint8_t> image = MtkSector(0xFFFF, {MtkRecord(1721044800, 46.5, 8.25, 1000)});
  SweepFaults("log download",
              JobSweepRunner<MtkJob>(
                  [](MtkJob& s) {
                    MtkConversation conversation(image, 540);
                    conversation.Script(*s.script);
                  },
                  DownloadTrackLog,
                  [](MtkJob& s, int result) {
                    if (result < 0) return std::string();
                    std::string text;
                    for (const TrackPoint& p : s.job.points)
                      text += CFormat("%u/%d/%d/%d\n", p.time, p.lat, p.lon, p.gpsAlt);
                    return text;
                  }),
              StepMessages());
}

TEST(MtkFaultSweep, Erase) {
  SweepFaults("erase",
              JobSweepRunner<MtkJob>(
                  [](MtkJob& s) {
                    s.script->Expect(Sentence("PMTK605")).Answer(Sentence("PMTK705,AXN_1.0,0001"));
                    s.script->Expect(Sentence("PMTK182,2,7")).Answer(Sentence("PMTK182,3,7,2"));
                    s.script->Expect(Sentence("PMTK182,5")).Answer(Sentence("PMTK001,182,5,3"));
                    s.script->Expect(Sentence("PMTK182,6,1")).Answer(Sentence("PMTK001,182,6,3"));
                    s.script->Expect(Sentence("PMTK182,4")).Answer(Sentence("PMTK001,182,4,3"));
                  },
                  EraseLog, [](MtkJob&, int result) { return result < 0 ? std::string() : std::string("erased"); }),
              StepMessages());
}

}  // namespace
}  // namespace trelvik::mtk
