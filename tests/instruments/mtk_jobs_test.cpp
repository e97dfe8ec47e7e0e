// The MTK logger routines over a scripted link: the exact commands, the
// memory read chunk by chunk, logging switched back on at every end, the
// speeds, and every step's error text.
#include <gtest/gtest.h>

#include <algorithm>

#include "access/debug_trace.hpp"
#include "instruments/mtk/jobs.hpp"
#include "instruments/mtk_job_fixtures.hpp"

namespace trelvik::mtk {
namespace {

using testing::MtkConversation;
using testing::MtkJob;
using testing::MtkRecord;
using testing::MtkSector;
using testing::Sentence;

constexpr uint32_t kJuly15 = 1721044800;

bool Shown(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

std::vector<RecordedMessage> Error(const char* text, const char* caption) {
  return {{MessageKind::Error, text, caption}};
}

std::vector<uint8_t> TwoPointImage() {
  return MtkSector(0xFFFF, {MtkRecord(kJuly15, 46.5, 8.25, 1000), MtkRecord(kJuly15 + 1, 46.5001, 8.25, 1001)});
}

TEST(MtkJobs, DownloadReadsTheUsedMemoryAndSwitchesLoggingBackOn) {
  MtkJob s;
  const std::vector<uint8_t> image = TwoPointImage();
  MtkConversation conversation{image, 568};
  conversation.Script(*s.script);
  ASSERT_EQ(DownloadTrackLog(s.job), 0);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  EXPECT_EQ(s.script->Written(), conversation.Requests());  // three chunks, then logging on
  ASSERT_EQ(s.job.points.size(), 2u);
  EXPECT_EQ(s.job.points[0].time, kJuly15 - 631065600u);
  EXPECT_EQ(s.job.points[1].gpsAlt, 10010);
  EXPECT_EQ(s.job.source, TrackSource::Mtk);
  ASSERT_TRUE(s.job.rawLog.has_value());
  EXPECT_EQ(*s.job.rawLog, std::string(image.begin(), image.end()));
  EXPECT_EQ(s.job.utcTimes, 1);
  EXPECT_EQ(s.job.identity, "Pentagram: AXN_1.0,0001");
  EXPECT_EQ(s.job.modelName, "Pentagram");
  EXPECT_TRUE(Shown(s.channel.Products(), "Pentagram: AXN_1.0,0001"));
  const std::vector<std::string> progress = s.channel.Progress();
  for (const char* step : {"Get product information", "Product data read", "Get logging status", "Turn off logging",
                           "Get memory used", "Turn on logging", "2 points received"}) {
    EXPECT_TRUE(Shown(progress, step)) << step;
  }
  EXPECT_TRUE(s.channel.Messages().empty());
  const std::string trace = s.trace.Contents();
  EXPECT_NE(trace.find("Get product data\r\n"), std::string::npos);
  EXPECT_NE(trace.find("Request chunk 00000200\r\n"), std::string::npos);
}

TEST(MtkJobs, SpeedIsTheJobsChoice) {
  for (const auto& [option, baud] : {std::pair{38400, 38400}, {115200, 115200}, {0, 115200}}) {
    MtkJob s;
    s.job.option = option;
    s.script->Expect(kProductRequest);
    (void)DownloadTrackLog(s.job);
    EXPECT_EQ(s.script->LastSetup().baud, baud) << option;
    EXPECT_FALSE(s.script->LastSetup().xonXoff);
  }
}

TEST(MtkJobs, LoggingThatWasOffStaysOff) {
  MtkJob s;
  const std::vector<uint8_t> image = TwoPointImage();
  MtkConversation conversation{image, 568};
  conversation.loggingOn = false;
  conversation.Script(*s.script);
  ASSERT_EQ(DownloadTrackLog(s.job), 0);
  EXPECT_EQ(s.script->Written(), conversation.Requests());
  EXPECT_EQ(s.script->Written().find(kLoggingOn), std::string::npos);
  EXPECT_FALSE(Shown(s.channel.Progress(), "Turn on logging"));
}

TEST(MtkJobs, MemoryOf70000BytesIsRead274ChunksIntoTwoSectors) {
  MtkJob s;
  std::vector<uint8_t> image = MtkSector(1, {MtkRecord(kJuly15, 1, 2, 3)});
  const std::vector<uint8_t> second = MtkSector(0xFFFF, {MtkRecord(kJuly15 + 9, 1, 2, 3)});
  image.insert(image.end(), second.begin(), second.end());
  MtkConversation conversation{image, 70000};
  conversation.Script(*s.script);
  ASSERT_EQ(DownloadTrackLog(s.job), 0);
  const std::string written = s.script->Written();
  EXPECT_EQ(conversation.chunks, 274u);
  EXPECT_NE(written.find(testing::MtkRequestChunk(273 * 256)), std::string::npos);
  EXPECT_EQ(written.find(testing::MtkRequestChunk(274 * 256)), std::string::npos);
  EXPECT_EQ(s.job.points.size(), 2u);
}

TEST(MtkJobs, SentenceWithABadChecksumIsTracedAndIgnored) {
  MtkJob s;
  s.script->Expect(kProductRequest).Answer("$PMTK705,AXN_1.0,0001*00\r\n").Expect(kProductRequest);
  EXPECT_EQ(DownloadTrackLog(s.job), -1);
  EXPECT_NE(s.trace.Contents().find("Bad checksum\r\n"), std::string::npos);
  EXPECT_EQ(s.channel.Messages(), Error("No product data received", "Get product information"));
}

TEST(MtkJobs, ChunkOfAnotherAddressIsAskedForAgain) {
  MtkJob s;
  const std::vector<uint8_t> image = TwoPointImage();
  MtkConversation conversation{image, 568};
  conversation.wrongFirstAddress = true;
  conversation.Script(*s.script);
  ASSERT_EQ(DownloadTrackLog(s.job), 0);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  EXPECT_EQ(s.job.points.size(), 2u);
}

TEST(MtkJobs, ChunkWithoutAnswerFailsAfterThreeTries) {
  MtkJob s;
  const std::vector<uint8_t> image = TwoPointImage();
  MtkConversation conversation{image, 568};
  conversation.lastStep = MtkConversation::Until::FirstChunkRequest;
  conversation.Script(*s.script);
  s.script->Expect(testing::MtkRequestChunk(0)).Expect(testing::MtkRequestChunk(0));
  s.script->Expect(kLoggingOn).Answer(Sentence("PMTK001,182,4,3"));
  EXPECT_EQ(DownloadTrackLog(s.job), -1);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  EXPECT_EQ(s.channel.Messages(), Error("No response for data chunk", "Read log data"));
}

// Each failure after logging was switched off switches it back on.
TEST(MtkJobs, StepFailuresSwitchLoggingBackOn) {
  const struct {
    const char* memoryAnswer;
    const char* text;
  } cases[] = {
      {"", "No response received"},
      {"PMTK182,3,8,00000000", "Zero used memory"},
      {"PMTK182,3,8,04000001", "More than 64MB...."},
  };
  for (const auto& c : cases) {
    MtkJob s;
    const std::vector<uint8_t> image = TwoPointImage();
    MtkConversation conversation{image, 568};
    conversation.lastStep = MtkConversation::Until::MemoryRequest;
    conversation.Script(*s.script);
    if (*c.memoryAnswer != 0) s.script->Answer(Sentence(c.memoryAnswer));
    s.script->Expect(kLoggingOn).Answer(Sentence("PMTK001,182,4,3"));
    EXPECT_EQ(DownloadTrackLog(s.job), -1);
    EXPECT_TRUE(s.script->Finished()) << c.text;
    EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
    EXPECT_EQ(s.channel.Messages(), Error(c.text, "Get memory used"));
  }
}

TEST(MtkJobs, EarlyStepErrors) {
  const struct {
    std::string status;
    std::string off;
    const char* text;
    const char* caption;
  } cases[] = {
      {"", "", "No logging status response", "Get logging status"},
      {Sentence("PMTK182,3,7,2"), "", "No response received", "Turn off logging"},
  };
  for (const auto& c : cases) {
    MtkJob s;
    s.script->Expect(kProductRequest).Answer(Sentence("PMTK705,AXN_1.0,0001"));
    s.script->Expect(kLogStatusRequest).Answer(c.status);
    if (!c.status.empty()) s.script->Expect(kLoggingOff).Expect(kLoggingOn);
    EXPECT_EQ(DownloadTrackLog(s.job), -1);
    EXPECT_TRUE(s.script->Finished()) << c.text;
    EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
    EXPECT_EQ(s.channel.Messages(), Error(c.text, c.caption));
  }
}

// Aborts the job when a chosen status line is shown.
class AbortingChannel : public RecordingChannel {
 public:
  AbortingChannel(ManualClock* clock, std::string at) : RecordingChannel(clock), at_(std::move(at)) {}
  void ShowProgress(std::string_view text) override {
    RecordingChannel::ShowProgress(text);
    if (text == at_) cancel = true;
  }

 private:
  std::string at_;
};

TEST(MtkJobs, AbortSwitchesLoggingBackOnWithoutAMessage) {
  MtkJob s;
  AbortingChannel channel(&s.clock, "Get memory used");
  s.job.channel = &channel;
  const std::vector<uint8_t> image = TwoPointImage();
  MtkConversation conversation{image, 568};
  conversation.lastStep = MtkConversation::Until::MemoryRequest;
  conversation.Script(*s.script);
  s.script->Expect(kLoggingOn);
  EXPECT_EQ(DownloadTrackLog(s.job), -1);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_TRUE(channel.Messages().empty());
  EXPECT_EQ(channel.Progress().back(), "Transfer aborted");
}

TEST(MtkJobs, ParseErrors) {
  std::vector<uint8_t> badHeader = TwoPointImage();
  badHeader[506] = 0;
  std::vector<uint8_t> badRecord = TwoPointImage();
  badRecord[512 + 27] ^= 1;
  std::vector<uint8_t> noFix = MtkSector(1, {MtkRecord(kJuly15, 1, 2, 3, 1)});
  const struct {
    std::vector<uint8_t> image;
    const char* text;
  } cases[] = {
      {badHeader, "Bad header block"},
      {badRecord, "Bad data block (3)"},
      {noFix, "No points detected"},
  };
  for (const auto& c : cases) {
    MtkJob s;
    MtkConversation conversation{c.image, 568};
    conversation.Script(*s.script);
    EXPECT_EQ(DownloadTrackLog(s.job), -1);
    EXPECT_EQ(s.channel.Messages(), Error(c.text, "Parse log data"));
  }
}

TEST(MtkJobs, EraseWaitsForItsAnswerAndSwitchesLoggingBackOn) {
  MtkJob s;
  s.script->Expect(kProductRequest).Answer(Sentence("PMTK705,AXN_1.0,0001"));
  s.script->Expect(kLogStatusRequest).Answer(Sentence("PMTK182,3,7,2"));
  s.script->Expect(kLoggingOff).Answer(Sentence("PMTK001,182,5,3"));
  s.script->Expect(kEraseRequest).Answer(Sentence("PMTK001,182,6,3"));
  s.script->Expect(kLoggingOn).Answer(Sentence("PMTK001,182,4,3"));
  ASSERT_EQ(EraseLog(s.job), 0);
  EXPECT_TRUE(s.script->Finished());
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  EXPECT_NE(s.trace.Contents().find("Erasing\r\n"), std::string::npos);
  const std::vector<std::string> progress = s.channel.Progress();
  EXPECT_TRUE(Shown(progress, "Erasing (30)"));
  EXPECT_EQ(progress.back(), "Erase completed");
}

TEST(MtkJobs, EraseWithoutAnswerCountsDownThirtySeconds) {
  MtkJob s;
  s.script->Expect(kProductRequest).Answer(Sentence("PMTK705,AXN_1.0,0001"));
  s.script->Expect(kLogStatusRequest).Answer(Sentence("PMTK182,3,7,0"));
  s.script->Expect(kLoggingOff).Answer(Sentence("PMTK001,182,5,3"));
  s.script->Expect(kEraseRequest);
  EXPECT_EQ(EraseLog(s.job), -1);
  const std::vector<std::string> progress = s.channel.Progress();
  for (int left = 29; left >= 0; --left) EXPECT_TRUE(Shown(progress, CFormat("Erasing (%d)", left))) << left;
  EXPECT_EQ(s.channel.Messages(), Error("No response received", "Erase log"));
  EXPECT_EQ(s.script->Written().find(kLoggingOn), std::string::npos);  // it was off
}

}  // namespace
}  // namespace trelvik::mtk
