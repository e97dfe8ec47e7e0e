// The pieces every driver shares: the end of a read loop and the joining of
// the tracks of several flights.
#include <gtest/gtest.h>

#include "support/recording_channel.hpp"
#include "instruments/common/igc_track_download.hpp"
#include "instruments/common/read_loop.hpp"

namespace trelvik {
namespace {

TEST(ReadFailure, AbortAndPortFailuresAreReportedOnceTheRestIsTheCallers) {
  struct Case {
    ReadEnd end;
    int result;
    std::vector<std::string> progress;
    size_t messages;
  };
  const Case cases[] = {
      {ReadEnd::Stopped, 0, {}, 0},
      {ReadEnd::TimedOut, 0, {}, 0},
      {ReadEnd::Aborted, -1, {"Transfer aborted"}, 0},
      {ReadEnd::ReadError, -1, {}, 1},
  };
  for (const Case& c : cases) {
    RecordingChannel channel;
    GpsJob job;
    job.channel = &channel;
    EXPECT_EQ(ReportReadFailure(job, c.end, "E301 COM port read error", "Read GPS waypoints"), c.result);
    EXPECT_EQ(channel.Progress(), c.progress);
    ASSERT_EQ(channel.Messages().size(), c.messages);
    if (c.messages) {
      EXPECT_EQ(channel.Messages()[0].text, "E301 COM port read error");
      EXPECT_EQ(channel.Messages()[0].caption, "Read GPS waypoints");
    }
  }
}

std::vector<TrackPoint> Track(std::initializer_list<TrackTime> times) {
  std::vector<TrackPoint> points;
  for (const TrackTime time : times) {
    TrackPoint point;
    point.flags = points.empty() ? kNewSegment : 0;
    point.time = time;
    points.push_back(point);
  }
  return points;
}

std::vector<TrackTime> Times(const std::vector<TrackPoint>& points) {
  std::vector<TrackTime> times;
  for (const TrackPoint& point : points) times.push_back(point.time);
  return times;
}

TEST(JoinTracks, FlightsJoinInTimeOrderAsOneSegment) {
  std::vector<TrackPoint> kept = Track({100, 110});
  std::vector<TrackPoint> later = Track({200, 210});
  ASSERT_TRUE(JoinTracks(kept, later));
  std::vector<TrackPoint> earlier = Track({10, 20});
  ASSERT_TRUE(JoinTracks(kept, earlier));
  EXPECT_EQ(Times(kept), (std::vector<TrackTime>{10, 20, 100, 110, 200, 210}));
  int segmentStarts = 0;
  for (const TrackPoint& point : kept) segmentStarts += (point.flags & kNewSegment) ? 1 : 0;
  EXPECT_EQ(segmentStarts, 1);
  EXPECT_TRUE(kept.front().flags & kNewSegment);
}

TEST(JoinTracks, OverlappingOrEmptyTracksAreRefusedAndLeftAlone) {
  const std::pair<std::vector<TrackPoint>, std::vector<TrackPoint>> cases[] = {
      {Track({100, 200}), Track({150, 250})},
      {Track({100, 200}), Track({50, 100})},
      {Track({100, 200}), Track({200})},
      {Track({100, 200}), {}},
      {{}, Track({100})},
  };
  for (auto [kept, track] : cases) {
    const std::vector<TrackTime> before = Times(kept);
    EXPECT_FALSE(JoinTracks(kept, track));
    EXPECT_EQ(Times(kept), before);
  }
}

}  // namespace
}  // namespace trelvik
