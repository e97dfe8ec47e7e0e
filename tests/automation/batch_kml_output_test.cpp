#include <gtest/gtest.h>

#include <cstring>

#include "automation/batch_test_support.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::DownloadedLog;
using testing::FileText;
using testing::OutputFixture;
using testing::RecordedBox;
using testing::TempDir;

class BatchKml : public ::testing::Test {
 protected:
  BatchKml() {
    fixture.job.jobKind = JobKind::KmlLog;
    fixture.job.gpsType = GpsType::IqCompeo;
    fixture.job.fileName = dir.File("flight.kml");
  }
  int Write() { return WriteBatchKml(log, fixture.Context()); }

  TempDir dir;
  OutputFixture fixture;
  TrackLog log = DownloadedLog();
};

TEST_F(BatchKml, DateInTheNameIsTheFirstFixDate) {
  fixture.job.fileName = dir.File("flight-$date.kml");
  ASSERT_EQ(Write(), kOutputWritten);
  const std::string text = FileText(dir.File("flight-20240517.kml"));
  EXPECT_TRUE(text.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Document>\r\n"));
  EXPECT_NE(text.find("6030 12345 3.36"), std::string::npos);
  EXPECT_EQ(fixture.ui.statusLines, std::vector<std::string>{"60 positions written"});
  EXPECT_EQ(fixture.ui.productLines, std::vector<std::string>{dir.File("flight-20240517.kml")});
}

struct ExistingCase {
  const char* label;
  bool overwrite;
  bool hidden;
  Answer answer;
  bool replaced;
  size_t questions;
};

class BatchKmlExisting : public BatchKml, public ::testing::WithParamInterface<ExistingCase> {};

TEST_P(BatchKmlExisting, ExistingFile) {
  const ExistingCase& c = GetParam();
  ASSERT_FALSE(WriteFileAtomically(fixture.job.fileName, "old"));
  fixture.job.overwrite = c.overwrite ? 1 : 0;
  fixture.hidden = c.hidden;
  fixture.ui.QueueAnswer(c.answer);
  EXPECT_EQ(Write(), c.replaced ? kOutputWritten : kOutputLeftAlone);
  EXPECT_EQ(FileText(fixture.job.fileName) != "old", c.replaced);
  EXPECT_EQ(fixture.ui.questions.size(), c.questions);
  EXPECT_TRUE(fixture.ui.boxes.empty());
  EXPECT_EQ(fixture.exitCancelled, 0);
}

INSTANTIATE_TEST_SUITE_P(Rules, BatchKmlExisting,
                         ::testing::Values(ExistingCase{"HiddenLeftAlone", false, true, Answer::Yes, false, 0},
                                           ExistingCase{"AnsweredNo", false, false, Answer::No, false, 1},
                                           ExistingCase{"AnsweredYes", false, false, Answer::Yes, true, 1},
                                           ExistingCase{"Overwrite", true, true, Answer::No, true, 0}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(BatchKml, NoPositions) {
  log.points.clear();
  EXPECT_EQ(Write(), kOutputFailed);
  EXPECT_EQ(fixture.ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "No positions", "Download track log"}}));
}

TEST_F(BatchKml, MissingFolderCancelsExit) {
  fixture.job.fileName = dir.File("absent/flight.kml");
  EXPECT_EQ(Write(), kOutputFailed);
  EXPECT_EQ(fixture.ui.boxes,
            (std::vector<RecordedBox>{{MessageKind::Error, std::strerror(ENOENT), "Error opening file"}}));
  EXPECT_EQ(fixture.exitCancelled, 1);
}

TEST_F(BatchKml, SplitKeepsTheChosenFlight) {
  // A second flight an hour after the first: the split offers the newer one first.
  std::vector<TrackPoint> later = testing::TestFlight(10);
  for (TrackPoint& p : later) p.time += 3600;
  log.points.insert(log.points.end(), later.begin(), later.end());
  ASSERT_EQ(Write(), kOutputWritten);
  EXPECT_EQ(fixture.ui.statusLines, std::vector<std::string>{"10 positions written"});
}

TEST_F(BatchKml, NoSplitKeepsEveryFlight) {
  std::vector<TrackPoint> later = testing::TestFlight(10);
  for (TrackPoint& p : later) p.time += 3600;
  log.points.insert(log.points.end(), later.begin(), later.end());
  fixture.job.noSplit = 1;
  ASSERT_EQ(Write(), kOutputWritten);
  EXPECT_EQ(fixture.ui.statusLines, std::vector<std::string>{"70 positions written"});
}

TEST_F(BatchKml, CancelledSplitWritesNothing) {
  std::vector<TrackPoint> later = testing::TestFlight(10);
  for (TrackPoint& p : later) p.time += 3600;
  log.points.insert(log.points.end(), later.begin(), later.end());
  fixture.chooseSplit = [](const SplitLogDialog&) { return std::optional<std::vector<int32_t>>(); };
  EXPECT_EQ(Write(), kOutputLeftAlone);
  EXPECT_EQ(FileText(fixture.job.fileName), "<missing>");
}

}  // namespace
}  // namespace trelvik
