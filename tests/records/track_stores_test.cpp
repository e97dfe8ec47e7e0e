#include "records/track_stores.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trelvik {
namespace {

const SystemTime kNow{2024, 7, 0, 14, 10, 30, 0, 0};

std::vector<TrackPoint> ThreePoints() {
  std::vector<TrackPoint> points(3);
  points[0].flags = kNewSegment;
  return points;
}

TEST(ClearTrackLogTest, FreesPointsAndRawImages) {
  TrackLog log;
  log.points = ThreePoints();
  log.signable = log.saved = log.hasPressureAltitude = 1;
  log.rawIgc = "AFLY01234\r\n";
  log.rawIgcDate = 99;
  log.rawIgcMaker = "FLY";
  log.rawIgcSerial = "012";
  log.rawLog = "raw";
  ClearTrackLog(log);
  EXPECT_TRUE(log.points.empty());
  EXPECT_EQ(log.Count(), 0);
  EXPECT_EQ(log.signable, 0);
  EXPECT_EQ(log.saved, 0);
  EXPECT_EQ(log.hasPressureAltitude, 0);
  EXPECT_TRUE(log.rawIgc.empty());
  EXPECT_EQ(log.rawIgcDate, 0u);
  EXPECT_EQ(log.rawIgcMaker, "");
  EXPECT_EQ(log.rawIgcSerial, "000");
  EXPECT_TRUE(log.rawLog.empty());
}

TEST(InstallFileLogTest, SetsTheFieldsOfAFileLog) {
  TrackLog log;
  log.signable = 1;
  log.source = TrackSource::Garmin;
  log.description = "eTrex";
  log.pilotName = "Pilot";
  log.compId = 12;
  log.civlId = 34;
  log.saved = 1;
  log.rawIgc = "old";
  InstallFileLog(log, ThreePoints(), true, false, kNow);
  EXPECT_EQ(log.Count(), 3);
  EXPECT_EQ(log.signable, 0);
  EXPECT_EQ(log.source, TrackSource::None);
  EXPECT_EQ(log.description, "");
  EXPECT_EQ(log.pilotName, "");
  EXPECT_EQ(log.compId, -1);
  EXPECT_EQ(log.civlId, -1);
  EXPECT_EQ(log.utcTimes, 1);
  EXPECT_EQ(log.hasPressureAltitude, 0);
  EXPECT_EQ(log.saved, 0);
  EXPECT_EQ(log.downloadTime.year, 2024);
  EXPECT_EQ(log.downloadTime.minute, 30);
  EXPECT_TRUE(log.rawIgc.empty());
}

TEST(TrackStoresTest, ProcessInstanceIsOne) { EXPECT_EQ(&TrackStores::Instance(), &TrackStores::Instance()); }

}  // namespace
}  // namespace trelvik
