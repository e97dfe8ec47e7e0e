#include "access/completion.hpp"

#include <gtest/gtest.h>

#include "support/fake_link.hpp"
#include "support/recording_channel.hpp"

namespace trelvik {
namespace {

class CompletionTest : public ::testing::Test {
 protected:
  CompletionTest() : access(table, opener) {
    job.channel = &channel;
    access.SetJobRunning(true);
    context.postMainWindow = [this](int first, int second) { posts.emplace_back(first, second); };
    context.redrawTrackList = [this] { ++redraws; };
    context.redrawWaypointList = [this] { ++redraws; };
    context.utcNow = [] {
      SystemTime now;
      now.year = 2024;
      return now;
    };
    log.points.resize(3);
    log.rawIgc = "old igc";
    log.rawLog = "old log";
  }

  // A download of a protocol whose row keeps raw IGC images (Flytec) or none (Garmin).
  void Downloaded(int points, TrackSource source) {
    job.result = 0;
    job.points.resize(static_cast<size_t>(points));
    job.source = source;
    job.row = source == TrackSource::Flytec ? &igcRow : &plainRow;
    job.protocol = ProtocolType::Flytec;
    job.utcTimes = 1;
    job.signable = 1;
    job.modelName = "COMPEO";
  }

  const ProtocolRow igcRow{.protocol = ProtocolType::Flytec, .rawImage = RawImage::IgcFile};
  const ProtocolRow plainRow{.protocol = ProtocolType::GarminSerial};
  JobTable table;
  FakeLinkOpener opener;
  GpsAccess access;
  RecordingChannel channel;
  GpsJob job;
  TrackLog log;
  WaypointList waypoints;
  CompletionContext context;
  std::vector<std::pair<int, int>> posts;
  int redraws = 0;
};

TEST_F(CompletionTest, TrackDownloadInstallsPointsAndIdentity) {
  Downloaded(5, TrackSource::Garmin);
  log.identity = "kept";
  CompleteTrackDownload(job, access, log, context);
  EXPECT_EQ(log.Count(), 5);
  EXPECT_TRUE(job.points.empty());
  EXPECT_EQ(log.source, TrackSource::Garmin);
  EXPECT_EQ(log.protocol, ProtocolType::Flytec);
  EXPECT_EQ(log.utcTimes, 1);
  EXPECT_EQ(log.modelName, "COMPEO");
  EXPECT_EQ(log.identity, "kept");  // empty texts do not replace
  EXPECT_EQ(log.downloadTime.year, 2024);
  EXPECT_EQ(log.rawIgc, "");        // a Garmin log has no raw images
  EXPECT_EQ(log.rawLog, "");
  EXPECT_FALSE(access.JobRunning());
  EXPECT_EQ(redraws, 1);
  EXPECT_TRUE(posts.empty());
}

TEST_F(CompletionTest, CompetitionDownloadTakesTheInstrumentsIdsOrNone) {
  // With the waypoint check, and without it (a Garmin on USB unticked).
  for (const bool checked : {true, false}) {
    SCOPED_TRACE(checked);
    log.compId = 12;  // the previous pilot's
    log.civlId = 4567;
    posts.clear();
    access.SetJobRunning(true);
    Downloaded(5, TrackSource::Flytec);
    job.competitionCheck = nullptr;
    if (checked) job.competitionCheck = [](GpsJob&, const Waypoint&) {};
    job.compId = -1;
    job.civlId = checked ? 77 : -1;
    context.competitionMode = true;
    CompleteTrackDownload(job, access, log, context);
    EXPECT_EQ(log.compId, -1);
    EXPECT_EQ(log.civlId, checked ? 77 : -1);
    EXPECT_EQ(posts, (std::vector<std::pair<int, int>>{{2, 1}}));
  }
}

TEST_F(CompletionTest, RawImagesComeWithTheirDownload) {
  Downloaded(5, TrackSource::Flytec);
  job.rawIgc = RawIgcImage{"AFLY new", 1234, "FLY", "042"};
  CompleteTrackDownload(job, access, log, context);
  EXPECT_EQ(log.rawIgc, "AFLY new");
  EXPECT_EQ(log.rawIgcMaker, "FLY");
  EXPECT_EQ(log.rawIgcSerial, "042");
  EXPECT_EQ(log.rawIgcDate, 1234u);
  EXPECT_EQ(log.rawLog, "");
}

TEST_F(CompletionTest, FailedDownloadSetsTheFailureFlagAndKeepsTheOldLog) {
  Downloaded(5, TrackSource::Flytec);
  job.result = -1;
  job.rawIgc = RawIgcImage{"half", 0, "", "000"};
  context.commandLineRun = true;
  CompleteTrackDownload(job, access, log, context);
  EXPECT_EQ(access.ExitCode(), 1);
  EXPECT_EQ(log.Count(), 3);
  EXPECT_EQ(log.rawIgc, "old igc");
  EXPECT_FALSE(access.JobRunning());
  EXPECT_EQ(posts, (std::vector<std::pair<int, int>>{{1, 0}}));
}

TEST_F(CompletionTest, AbortedCommandInstallsNothing) {
  Downloaded(5, TrackSource::Garmin);
  access.SetJobRunning(false);  // the abort command cleared it
  context.competitionMode = true;
  CompleteTrackDownload(job, access, log, context);
  EXPECT_EQ(log.Count(), 3);
  EXPECT_EQ(posts, (std::vector<std::pair<int, int>>{{2, 0}}));
}

TEST_F(CompletionTest, FilterReportsRemovedPoints) {
  Downloaded(10, TrackSource::Garmin);
  context.downloadFilter = [](std::vector<TrackPoint>& points) { points.resize(7); };
  context.commandLineRun = true;
  context.exitAfterRun = true;
  CompleteTrackDownload(job, access, log, context);
  EXPECT_EQ(log.Count(), 7);
  EXPECT_EQ(channel.Messages(), (std::vector<RecordedMessage>{
                                    {MessageKind::Information, "3 points removed by filter(s)", "Analyze track"}}));
  EXPECT_EQ(redraws, 0);  // the run ends with EXIT
  EXPECT_EQ(posts, (std::vector<std::pair<int, int>>{{1, 1}}));
}

TEST_F(CompletionTest, WaypointDownloadReplacesTheList) {
  job.waypoints.resize(4);
  job.identity = "COMPEO: 123";
  waypoints.waypoints.resize(9);
  context.commandLineRun = true;
  CompleteWaypointDownload(job, access, log, waypoints, context);
  EXPECT_EQ(waypoints.Count(), 4);
  EXPECT_EQ(log.identity, "COMPEO: 123");
  EXPECT_EQ(posts, (std::vector<std::pair<int, int>>{{1, 1}}));
  EXPECT_FALSE(access.JobRunning());
}

TEST_F(CompletionTest, FailedUploadAndCommandLineStepSetTheFailureFlag) {
  job.result = -1;
  CompleteWaypointUpload(job, access, context);
  EXPECT_EQ(access.ExitCode(), 1);
  access.ClearFailure();
  access.SetJobRunning(true);
  CompleteCommandLineStep(job, access, context);
  EXPECT_EQ(access.ExitCode(), 1);
  EXPECT_FALSE(access.JobRunning());
  EXPECT_EQ(posts, (std::vector<std::pair<int, int>>{{1, 0}}));
}

TEST_F(CompletionTest, CtrDownloadHandsTheListOver) {
  job.ctrList = std::string("airspace");
  std::string installed;
  CompleteCtrDownload(job, access, [&](std::any&& list) { installed = std::any_cast<std::string>(list); }, context);
  EXPECT_EQ(installed, "airspace");
  EXPECT_FALSE(job.ctrList.has_value());
  EXPECT_FALSE(access.JobRunning());
}

}  // namespace
}  // namespace trelvik
