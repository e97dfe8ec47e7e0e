// Every LogIt operation with a fault at every byte of a correct conversation:
// each run ends, closes its port, and shows only the messages that operation
// knows, with their captions.
#include <gtest/gtest.h>

#include "instruments/logit/jobs.hpp"
#include "instruments/pmlr_fixtures.hpp"
#include "instruments/pmlr_sweep_support.hpp"

namespace trelvik::logit {
namespace {

using namespace trelvik::testing;

const std::string kCount = "$PMLR,58,00,02B0\r\n";
const std::string kTrack = "$PMLR,24,02,0101,0399\r\n";
const std::string kIdentify = kPmlrEnd + kPmlrProductRequest;

struct LogItJob : ScriptedJob {
  LogItJob() {
    job.protocol = ProtocolType::LogIt;
    job.option = 38400;
  }
};

SweepMessages TrackMessages() {
  const std::string caption = "Read LogIt track log";
  const std::string count = "Read track point count";
  return JoinMessages(
      {kIdentificationMessages,
       NumberedMessages("E204 Format error ", {2, 3, 4, 5, 6, 7, 8, 9, 10, 50, 51, 52, 53, 54, 55}, caption),
       NumberedMessages("E503 Format error ", {1, 2, 3, 4, 5, 6, 7, 8}, count),
       {{"E500 COM port write error", count},
        {"E501 Track point count request timeout", count},
        {"E502 COM port read error", count},
        {"E201 COM port write error", caption},
        {"E202 COM port read error", caption},
        {"E205 COM port write error", caption},
        {"Timeout while waiting for data", caption},
        {"No points detected", caption}}});
}

std::string ObservedTrack(LogItJob& s, int result) { return result < 0 ? std::string() : PointLines(s.job.points); }

TEST(LogItFaultSweep, TrackLoggerDownloadWithItsRestarts) {
  std::vector<ShownMessage> accepted = TrackMessages();
  for (int got = 0; got < 4; ++got)
    accepted.push_back({CFormat("%d points of 4 received", got), "Read LogIt track log"});
  SweepFaults("track logger",
              JobSweepRunner<LogItJob>(
                  [](LogItJob& s) {
                    s.script->Expect(kIdentify).Answer(PmlrProduct("TRACKLOGGER,T,1,2.0")).Expect(kPmlrEnd);
                    s.script->Expect(kCount).Answer(Sentence("PMLR,NUMTRACKPOINTS,4")).Expect(kTrack);
                    s.script->Answer(Transfer("T\x01", PointRun(1, 4), 18, 2)).Expect(kPmlrEnd);
                  },
                  DownloadTrackLog, ObservedTrack),
              accepted);
}

TEST(LogItFaultSweep, OtherModelDownload) {
  SweepFaults("logit",
              JobSweepRunner<LogItJob>(
                  [](LogItJob& s) {
                    s.script->Expect(kIdentify).Answer(PmlrProduct("LOGIT,L,1,1.50")).Expect(kPmlrEnd).Expect(kTrack);
                    s.script->Answer(Transfer("T\x01", PointRun(1, 3), 18, 2)).Expect(kPmlrEnd);
                  },
                  DownloadTrackLog, ObservedTrack),
              TrackMessages());
}

TEST(LogItFaultSweep, LoggerData) {
  SweepFaults(
      "logger data",
      JobSweepRunner<LogItJob>(
          [](LogItJob& s) { s.script->Expect(kIdentify).Answer(PmlrProduct("LOGIT,L,1,1.50")).Expect(kPmlrEnd); },
          ShowLoggerData, [](LogItJob&, int result) { return result < 0 ? std::string() : "shown"; }),
      JoinMessages({kIdentificationMessages,
                    {{"Model: LOGIT\nDescription: L\nSerial number: 1\nFirmware: 1.50", "Product Data"}}}));
}

// Erase and name read nothing back: their fault is the line going away
// after the first of their two sentences.
TEST(LogItFaultSweep, EraseAndNameWhenTheLineGoesAway) {
  struct Case {
    JobRoutine routine;
    std::string text;
  };
  const Case cases[] = {
      {EraseLog, "E300 COM port write error / Sending erase command\n"},
      {WriteOwnerName, "E400 COM port write error / Sending name\n"},
  };
  for (const Case& c : cases) {
    LogItJob s;
    s.job.ownerName = "Jo";
    s.script->Expect(kPmlrEnd).HangUp();
    EXPECT_EQ(c.routine(s.job), -1) << c.text;
    std::string shown;
    for (const RecordedMessage& m : s.channel.Messages()) shown += m.text + " / " + m.caption + "\n";
    EXPECT_EQ(shown, c.text);
    EXPECT_EQ(s.channel.Progress().back(), "Write error");
    s.block.reset();
    EXPECT_EQ(s.script->OpenLinks(), 0);
  }
}

}  // namespace
}  // namespace trelvik::logit
