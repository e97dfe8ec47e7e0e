#include "records/track_stores.hpp"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace trelvik {
namespace {

const SystemTime kNow{2024, 7, 0, 14, 10, 30, 0, 0};

std::vector<TrackPoint> ThreePoints() {
  std::vector<TrackPoint> points(3);
  points[0].flags = kNewSegment;
  return points;
}

DownloadedLog FlytecDownload() {
  DownloadedLog log;
  log.points = ThreePoints();
  log.signable = 1;
  log.utcTimes = 1;
  log.hasPressureAltitude = 1;
  log.protocol = ProtocolType::Flytec;
  log.source = TrackSource::Flytec;
  log.modelName = "6030";
  log.description = "Flytec 6030";
  log.identity = "6030: 12345";
  return log;
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

TEST(LoggerIdTest, TakesMakerAndSerialFromTheARecord) {
  const IgcLoggerId id = LoggerIdFromARecord("AFLY05094\r\nHFDTE010112\r\n");
  EXPECT_EQ(id.maker, "FLY");
  EXPECT_EQ(id.serial, "050");
}

TEST(LoggerIdTest, WithoutARecordTheSerialIsZeros) {
  const IgcLoggerId id = LoggerIdFromARecord("HFDTE010112\r\nB1101355206343N00006198WA0058700558\r\n");
  EXPECT_EQ(id.maker, "");
  EXPECT_EQ(id.serial, "000");
  EXPECT_EQ(LoggerIdFromARecord("").serial, "000");
}

TEST(LoggerIdTest, ShortARecordKeepsTheZeroSerial) {
  const IgcLoggerId id = LoggerIdFromARecord("AXY\n");
  EXPECT_EQ(id.maker, "XY");
  EXPECT_EQ(id.serial, "000");
}

TEST(TrackStoresTest, DownloadKeepsTheRawImageItsDriverInstalled) {
  TrackStores stores;
  stores.Log().saved = 1;
  stores.BeginNewLog();
  std::thread driver([&] { stores.InstallRawIgc("AFLY05094\r\n", 1000, LoggerIdFromARecord("AFLY05094\r\n")); });
  driver.join();
  stores.InstallDownloadedLog(FlytecDownload(), kNow);
  const TrackLog& log = stores.Log();
  EXPECT_EQ(log.Count(), 3);
  EXPECT_EQ(log.rawIgc, "AFLY05094\r\n");
  EXPECT_EQ(log.rawIgcDate, 1000u);
  EXPECT_EQ(log.rawIgcMaker, "FLY");
  EXPECT_EQ(log.rawIgcSerial, "050");
  EXPECT_EQ(log.signable, 1);
  EXPECT_EQ(log.source, TrackSource::Flytec);
  EXPECT_EQ(log.identity, "6030: 12345");
  EXPECT_EQ(log.saved, 0);
  EXPECT_EQ(log.downloadTime.day, 14);
}

TEST(TrackStoresTest, DownloadDropsTheRawImageOfTheLogBefore) {
  TrackStores stores;
  stores.BeginNewLog();
  stores.InstallRawIgc("AFLY05094\r\n", 1000, LoggerIdFromARecord("AFLY05094\r\n"));
  stores.InstallRawLog("xc trainer bytes");
  stores.InstallDownloadedLog(FlytecDownload(), kNow);
  // A Garmin download delivers no raw image: the Flytec file must not stay attached.
  stores.BeginNewLog();
  DownloadedLog garmin;
  garmin.points = ThreePoints();
  garmin.source = TrackSource::Garmin;
  stores.InstallDownloadedLog(std::move(garmin), kNow);
  EXPECT_TRUE(stores.Log().rawIgc.empty());
  EXPECT_EQ(stores.Log().rawIgcSerial, "000");
  EXPECT_TRUE(stores.Log().rawLog.empty());
}

TEST(TrackStoresTest, FileLogKeepsARawImageItsReaderInstalled) {
  TrackStores stores;
  stores.BeginNewLog();
  stores.InstallRawIgc("AXCT00A\r\n", 5, LoggerIdFromARecord("AXCT00A\r\n"));
  stores.InstallFileLog(ThreePoints(), true, true, kNow);
  EXPECT_EQ(stores.Log().rawIgc, "AXCT00A\r\n");
  EXPECT_EQ(stores.Log().source, TrackSource::None);
}

TEST(TrackStoresTest, CompetitionIdsSurviveTheDownloadInstall) {
  TrackStores stores;
  stores.BeginNewLog();
  stores.SetCompetitionIds(17, 4242);
  stores.InstallDownloadedLog(FlytecDownload(), kNow);
  EXPECT_EQ(stores.Log().compId, 17);
  EXPECT_EQ(stores.Log().civlId, 4242);
}

TEST(TrackStoresTest, ReplacesTheWaypointList) {
  TrackStores stores;
  std::vector<Waypoint> waypoints(2);
  waypoints[1].alt = 812;
  stores.ReplaceWaypoints(std::move(waypoints));
  EXPECT_EQ(stores.Waypoints().Count(), 2);
  EXPECT_EQ(stores.Waypoints().waypoints[1].alt, 812);
  stores.ReplaceWaypoints({});
  EXPECT_EQ(stores.Waypoints().Count(), 0);
}

TEST(TrackStoresTest, ProcessInstanceIsOne) { EXPECT_EQ(&TrackStores::Instance(), &TrackStores::Instance()); }

}  // namespace
}  // namespace trelvik
