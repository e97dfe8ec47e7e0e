#include "trackfiles/mapsource_file.hpp"

#include <gtest/gtest.h>

#include <cstring>

#include "support/golden_file.hpp"
#include "trackfiles/kml_values.hpp"

namespace trelvik {
namespace {

using testing::GoldenFile;

TrackTime At(int second) {
  return TrackTimeFromDate(SystemTime{2012, 7, 0, 1, 10, 0, static_cast<uint16_t>(second), 0});
}

std::vector<TrackPoint> GoldenPoints() {
  return {{kNewSegment, At(0), DegreesToSemicircle(47.0), DegreesToSemicircle(8.5), 15000, 0, 0},
          {0, At(10), DegreesToSemicircle(47.001), DegreesToSemicircle(8.501), 15107, 0, 0},
          {0, At(20), DegreesToSemicircle(47.002), DegreesToSemicircle(8.503), 15220, 0, 0}};
}

std::string Error(std::string_view bytes) { return ReadMapSourceTrack(bytes).error.text; }

TEST(MapSourceFile, TrackWriterGivesTheGoldenFileByteForByte) {
  const FileWriteResult written = WriteMapSourceTrack(GoldenPoints());
  ASSERT_FALSE(written.error);
  EXPECT_EQ(written.bytes.size(), 45u + 42u + 31u * 3u + 7u);
  EXPECT_EQ(written.bytes, GoldenFile("track_files/flight.mps"));
}

TEST(MapSourceFile, TimeZeroIsStoredAsTheUnixSecondsOfItsDay) {
  const TrackPoint point{};
  const std::string bytes = WriteMapSourceTrack(std::span(&point, 1)).bytes;
  uint32_t stored = 0;
  std::memcpy(&stored, bytes.data() + 45 + 42 + 18, 4);  // little-endian host
  EXPECT_EQ(stored, 631065600u);
}

TEST(MapSourceFile, TracksOfSeveralRecordsFollowEachOther) {
  const std::string one = WriteMapSourceTrack(GoldenPoints()).bytes;
  // The head, the track record twice, the end.
  const std::string track = one.substr(45, one.size() - 45 - 7);
  const std::string two = one.substr(0, 45) + track + track + one.substr(one.size() - 7);
  const TrackFileRead read = ReadMapSourceTrack(two);
  ASSERT_TRUE(read.Ok()) << read.error.text;
  ASSERT_EQ(read.records.Count(), 6);
  EXPECT_EQ(read.records.points[3].flags, kNewSegment);
  EXPECT_EQ(read.records.points[4].flags, 0);
  EXPECT_EQ(read.records.points[5].gpsAlt, 15220);
}

TEST(MapSourceFile, FaultsAreFoundWhereTheyStand) {
  const std::string golden = GoldenFile("track_files/flight.mps");
  std::string version = golden;
  version[11] = 'j';
  EXPECT_EQ(Error(version), "Unsupported MapSource version");
  EXPECT_EQ(Error("MsRcd"), "Not a MapSource file");
  EXPECT_EQ(Error(golden.substr(0, 10) + "A" + golden.substr(11)), "Not a MapSource file");
  EXPECT_EQ(Error(golden + "x"), "File format error at 000000bbh");
  EXPECT_EQ(Error(golden.substr(0, golden.size() - 7)), "File format error at 000000b4h");
  std::string count = golden;
  count[45 + 5 + 28 + 5] = 4;  // four points announced, three stored
  EXPECT_EQ(Error(count), "File format error at 0000002dh");
  std::string huge = golden;
  for (int k = 0; k < 4; ++k) huge[45 + 5 + 28 + 5 + k] = '\xff';  // 31 x count overflows 32 bits
  EXPECT_EQ(Error(huge), "File format error at 0000002dh");
  std::string unnamed = golden;
  for (size_t k = 50; k < 50 + 28; ++k) unnamed[k] = 'x';  // the name runs on into the points
  EXPECT_EQ(Error(unnamed.substr(0, 45) + unnamed.substr(45, 5) + std::string(28, 'x') + unnamed.substr(78, 9)),
            "File format error at 0000002dh");
  std::string length = golden;
  length[45] = '\x7f';  // the record runs past the end
  EXPECT_EQ(Error(length), "File format error at 0000002dh");
}

TEST(MapSourceFile, WaypointsReadAndWriteBackByteForByte) {
  const std::string golden = GoldenFile("waypoint_files/waypoints.mps");
  const WaypointFileRead read = ReadMapSourceWaypoints(golden);
  ASSERT_TRUE(read.Ok()) << read.error.text;
  ASSERT_EQ(read.records.Count(), 2);
  EXPECT_STREQ(read.records.waypoints[0].name, "GOLDEN");
  EXPECT_STREQ(read.records.waypoints[0].description, "Golden gate");
  EXPECT_EQ(read.records.waypoints[0].alt, 1500);
  EXPECT_EQ(read.records.waypoints[0].lat, DegreesToSemicircle(47.0));
  EXPECT_STREQ(read.records.waypoints[1].description, "Landing \xc3\xa9t\xc3\xa9");  // Windows-1252 into UTF-8
  EXPECT_EQ(read.records.waypoints[1].lon, DegreesToSemicircle(-70.25));
  EXPECT_EQ(WriteMapSourceWaypoints(read.records.waypoints).bytes, golden);
  EXPECT_TRUE(ReadMapSourceTrack(golden).Ok());  // no track records: no points
  EXPECT_EQ(ReadMapSourceTrack(golden).records.Count(), 0);
}

TEST(MapSourceFile, VersionDWaypointsAreRefusedAndTextsStayInTheirRecord) {
  std::string golden = GoldenFile("waypoint_files/waypoints.mps");
  std::string versionD = golden;
  versionD[11] = 'd';
  EXPECT_EQ(ReadMapSourceWaypoints(versionD).error.text, "Unsupported MapSource version");
  // A waypoint whose description has no zero byte inside its record.
  const uint32_t length = static_cast<uint32_t>(golden[45]) & 0xFF;
  std::string open = golden;
  const size_t description = open.find("Golden gate");
  for (size_t k = description; k < 50 + length; ++k) open[k] = 'x';
  EXPECT_EQ(ReadMapSourceWaypoints(open).error.text.substr(0, 21), "File format error at ");
}

}  // namespace
}  // namespace trelvik
