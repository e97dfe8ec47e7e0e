// The LogIt thread routines over a scripted link: the speed of every byte
// sent, the restarts and their cap, the point count, erase and name.
#include <gtest/gtest.h>

#include "instruments/flytec_fixtures.hpp"
#include "instruments/logit/jobs.hpp"
#include "instruments/pmlr_fixtures.hpp"

namespace trelvik::logit {
namespace {

using testing::Frame;
using testing::kPmlrEnd;
using testing::kPmlrProductRequest;
using testing::PmlrProduct;
using testing::PointRun;
using testing::ScriptedJob;
using testing::Sentence;
using testing::Transfer;

const std::string kCount = "$PMLR,58,00,02B0\r\n";
const std::string kTrack = "$PMLR,24,02,0102,039A\r\n";
const std::string kIdentify = kPmlrEnd + kPmlrProductRequest;
const std::string kTrackLogger = PmlrProduct("TRACKLOGGER,Logger,815,2.10");

std::string Shown(const ScriptedJob& s) {
  std::string text;
  for (const RecordedMessage& m : s.channel.Messages()) text += m.text + " / " + m.caption + "\n";
  return text;
}

struct LogItJob : ScriptedJob {
  LogItJob() {
    job.protocol = ProtocolType::LogIt;
    job.option = 57600;
  }
};

TEST(LogItTrack, CountThenFramesAtTheChosenSpeed) {
  LogItJob s;
  s.script->Expect(kIdentify).Answer(kTrackLogger).Expect(kPmlrEnd).Expect(kCount);
  s.script->Answer(Sentence("PMLR,NUMTRACKPOINTS,20")).Expect(kTrack);
  s.script->Answer(Transfer("T\x01", PointRun(1, 20), 18, 16, 200)).Expect(kPmlrEnd);
  ASSERT_EQ(DownloadTrackLog(s.job), 0) << Shown(s);
  EXPECT_EQ(s.script->WrittenWithSpeeds(),
            "{4800}" + kIdentify + kPmlrEnd + kCount + kTrack + "{57600}{4800}" + kPmlrEnd);
  ASSERT_EQ(s.job.points.size(), 20u);
  EXPECT_EQ(s.job.expectedCount, 20);
  EXPECT_EQ(s.job.points[19].time, 1'400'000'000u + 38u - 315100800u);
  EXPECT_EQ(s.job.source, TrackSource::LogIt);
  EXPECT_EQ(s.job.utcTimes, 0);
  EXPECT_EQ(s.job.identity, "TRACKLOGGER: 815");
  EXPECT_EQ(s.job.modelName, "TRACKLOGGER");
  EXPECT_EQ(s.channel.Products().back(), "TRACKLOGGER 2.10 (Logger)");
  const std::vector<std::string> progress = s.channel.Progress();
  EXPECT_NE(std::find(progress.begin(), progress.end(), "1 points of 20 received"), progress.end());
  EXPECT_EQ(progress.back(), "20 points received");
}

TEST(LogItTrack, RestartKeepsThePointsAndAsksForTheNext) {
  LogItJob s;
  std::string broken = Frame(0, "T\x01", "DEBUT") + Frame(1, "T\x01", testing::DataBody(16, PointRun(1, 16)));
  broken += Frame(2, "T\x01", testing::DataBody(4, PointRun(17, 4, 1'400'000'032u)), 1);
  const std::string restart = "$PMLR,59,17,02B9\r\n";
  s.script->Expect(kIdentify).Answer(kTrackLogger).Expect(kPmlrEnd).Expect(kCount);
  s.script->Answer(Sentence("PMLR,NUMTRACKPOINTS,20")).Expect(kTrack).Answer(broken);
  s.script->Expect(restart + kTrack).Answer(Transfer("T\x01", PointRun(1, 4, 1'400'000'032u), 18, 16, 9, "RESTART"));
  s.script->Expect(kPmlrEnd);
  ASSERT_EQ(DownloadTrackLog(s.job), 0) << Shown(s);
  EXPECT_EQ(s.script->WrittenWithSpeeds(), "{4800}" + kIdentify + kPmlrEnd + kCount + kTrack + "{57600}{4800}" +
                                               restart + kTrack + "{57600}{4800}" + kPmlrEnd);
  ASSERT_EQ(s.job.points.size(), 20u);
  for (size_t i = 1; i < 20; ++i) EXPECT_EQ(s.job.points[i].time, s.job.points[i - 1].time + 2) << i;
  const std::vector<std::string> progress = s.channel.Progress();
  EXPECT_NE(std::find(progress.begin(), progress.end(), "RESTART at point 17"), progress.end());
}

TEST(LogItTrack, RestartsAreCapped) {
  LogItJob s;
  const std::string broken = Frame(0, "T\x01", "RESTART") + Frame(1, "T\x01", testing::DataBody(1, PointRun(1, 1)), 1);
  s.script->Expect(kIdentify).Answer(kTrackLogger).Expect(kPmlrEnd).Expect(kCount);
  s.script->Answer(Sentence("PMLR,NUMTRACKPOINTS,20")).Expect(kTrack);
  s.script->Answer(Frame(0, "T\x01", "DEBUT") + Frame(1, "T\x01", testing::DataBody(1, PointRun(1, 1)), 1));
  for (int k = 0; k < 8; ++k) s.script->Expect("$PMLR,59,1,0282\r\n" + kTrack).Answer(broken);
  s.script->Expect(kPmlrEnd);
  EXPECT_EQ(DownloadTrackLog(s.job), -1);
  EXPECT_EQ(Shown(s), "E204 Format error 9 / Read LogIt track log\n");
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
}

// 65537 records: their 16-bit numbers wrap, and so do the frame numbers.
TEST(LogItTrack, RecordNumbersCompareModulo65536) {
  LogItJob s;
  s.script->Expect(kIdentify).Answer(PmlrProduct("LOGIT,L,1,1.50")).Expect(kPmlrEnd).Expect(kTrack);
  s.script->Answer(Transfer("T\x01", PointRun(1, 65537), 18, 16)).Expect(kPmlrEnd);
  ASSERT_EQ(DownloadTrackLog(s.job), 0) << Shown(s);
  EXPECT_EQ(s.job.points.size(), 65537u);
}

TEST(LogItTrack, RefusalsOfOtherModelsAndOfTheTransfer) {
  struct Case {
    std::string frames;
    std::string text;
  };
  const std::string start = Frame(0, "T\x01", "DEBUT");
  const Case cases[] = {
      {Frame(0, "T\x01", testing::DataBody(1, PointRun(1, 1))), "E204 Format error 50"},
      {start + Frame(1, "T\x01", testing::DataBody(17, PointRun(1, 17))), "E204 Format error 8"},
      {start + Frame(1, "T\x01", testing::DataBody(1, PointRun(2, 1))), "E204 Format error 52"},
      {start + Frame(2, "T\x01", testing::DataBody(1, PointRun(1, 1))), "E204 Format error 53"},
      {start + Frame(2, "T\x01", "FIN"), "E204 Format error 54"},
      {start + Frame(1, "T\x01", "DEBUT"), "E204 Format error 55"},
      {start + "\x8B\x01X", "E204 Format error 2"},
      {start + "\x8B\x01T\x02", "E204 Format error 3"},
      {start + "\x8B\x01T\x01Q", "E204 Format error 4"},
      {start + "\x8B\x01T\x01"
               "DEX",
       "E204 Format error 5"},
      {start + "\x8B\x01T\x01"
               "FIX",
       "E204 Format error 6"},
      {start + "\x8B\x01T\x01"
               "REX",
       "E204 Format error 7"},
      {start + Frame(1, "T\x01", "FIN").substr(0, 9) + "xx", "E204 Format error 10"},
      {start + Frame(1, "T\x01", "FIN"), "No points detected"},
      {start, "Timeout while waiting for data"},
  };
  for (const Case& c : cases) {
    LogItJob s;
    s.script->Expect(kIdentify).Answer(PmlrProduct("LOGIT,L,1,1.50")).Expect(kPmlrEnd).Expect(kTrack).Answer(c.frames);
    EXPECT_EQ(DownloadTrackLog(s.job), -1) << c.text;
    EXPECT_EQ(Shown(s), c.text + " / Read LogIt track log\n");
    EXPECT_EQ(s.script->WrittenWithSpeeds(), "{4800}" + kIdentify + kPmlrEnd + kTrack + "{57600}{4800}" + kPmlrEnd)
        << c.text;
  }
}

TEST(LogItPointCount, ParserCodes) {
  struct Case {
    std::string bytes;
    int result;
  };
  const Case cases[] = {
      {Sentence("PMLR,NUMTRACKPOINTS,1234"), 1},
      {"$PMLR,NUMTRACKPOINTS,18*"
       "0c\r",
       1},
      {"$PMLR,NUMTRACKPOINTX", -1},
      {"$PMLR,NUMTRACKPOINTS,12\r", -2},
      {"$PMLR,NUMTRACKPOINTS,1x", -3},
      {"$PMLR,NUMTRACKPOINTS,2147483630", -4},
      {"$PMLR,NUMTRACKPOINTS,1*0\r", -5},
      {"$PMLR,NUMTRACKPOINTS,1*0G", -6},
      {"$PMLR,NUMTRACKPOINTS,1*00x", -7},
      {"$PMLR,NUMTRACKPOINTS,1*00\r", -8},
  };
  for (const Case& c : cases) {
    PointCountParser parser;
    int last = 0;
    for (const char ch : c.bytes) {
      last = parser.Feed(static_cast<uint8_t>(ch));
      if (last != 0) break;
    }
    EXPECT_EQ(last, c.result) << c.bytes;
  }
}

TEST(LogItPointCount, TimeoutAndFormatErrors) {
  {
    LogItJob s;
    s.script->Expect(kIdentify).Answer(kTrackLogger).Expect(kPmlrEnd).Expect(kCount).Expect(kPmlrEnd);
    EXPECT_EQ(DownloadTrackLog(s.job), -1);
    EXPECT_EQ(Shown(s), "E501 Track point count request timeout / Read track point count\n");
    EXPECT_TRUE(s.script->Finished());
  }
  {
    LogItJob s;
    s.script->Expect(kIdentify)
        .Answer(kTrackLogger)
        .Expect(kPmlrEnd)
        .Expect(kCount)
        .Answer("$PMLR,NUMTRACKPOINTS,1*00\r");
    EXPECT_EQ(DownloadTrackLog(s.job), -1);
    EXPECT_EQ(Shown(s), "E503 Format error 8 / Read track point count\n");
  }
}

TEST(LogItIdentity, ChecksumOfFirmwareOneOhTwoIsNotTested) {
  std::string bad = PmlrProduct("LOGIT,L,1,1.02");
  bad[bad.size() - 3] ^= 1;
  LogItJob s;
  s.script->Expect(kIdentify).Answer(bad).Expect(kPmlrEnd);
  Identity identity;
  ASSERT_EQ(ReadIdentity(s.job, identity), 0) << Shown(s);
  EXPECT_EQ(identity.firmware, "1.02");

  std::string other = PmlrProduct("LOGIT,L,1,1.03");
  other[other.size() - 3] ^= 1;
  LogItJob t;
  t.script->Expect(kIdentify).Answer(other).Expect(kPmlrEnd);
  EXPECT_EQ(ReadIdentity(t.job, identity), -1);
  EXPECT_EQ(Shown(t), "No valid response from GPS / Get GPS product data\n");
}

TEST(LogItCommands, EraseAndNameAreSentWithoutAnswer) {
  LogItJob erase;
  erase.script->Expect(kPmlrEnd + "$PMLR,99,00,02B5\r\n");
  ASSERT_EQ(EraseLog(erase.job), 0);
  EXPECT_EQ(erase.channel.Progress().back(), "Command sent (no verification)");
  EXPECT_TRUE(erase.script->Finished());

  LogItJob name;
  name.job.ownerName = "Max Muster  ";  // cut to 9, then padded
  name.script->Expect(kPmlrEnd + "$PMLR,IDGPS,01,Max Muste,       *00\r\n");
  ASSERT_EQ(WriteOwnerName(name.job), 0);
  EXPECT_EQ(name.channel.Progress().back(), "Name sent (no verification)");

  LogItJob shortName;
  shortName.job.ownerName = "Jo";
  shortName.script->Expect(kPmlrEnd + "$PMLR,IDGPS,01,Jo       ,       *00\r\n");
  ASSERT_EQ(WriteOwnerName(shortName.job), 0);
  EXPECT_TRUE(shortName.script->Finished());

  LogItJob empty;
  empty.job.ownerName = "   ";
  EXPECT_EQ(WriteOwnerName(empty.job), -1);
  EXPECT_EQ(empty.script->Written(), "");
  EXPECT_EQ(Shown(empty), "");
}

}  // namespace
}  // namespace trelvik::logit
