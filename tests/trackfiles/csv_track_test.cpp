#include "trackfiles/csv_track.hpp"

#include <gtest/gtest.h>

#include "support/golden_file.hpp"
#include "trackfiles/kml_values.hpp"

namespace trelvik {
namespace {

using testing::GoldenFile;

TrackTime At(int minute, int second) {
  return TrackTimeFromDate(
      SystemTime{2012, 7, 0, 1, 10, static_cast<uint16_t>(minute), static_cast<uint16_t>(second), 0});
}

TEST(CsvTrack, WriterGivesTheGoldenFileByteForByte) {
  const TrackPoint points[] = {{0, At(0, 0), DegreesToSemicircle(47.0), DegreesToSemicircle(8.5), 15000, 1480, 0},
                               {0, At(0, 10), DegreesToSemicircle(47.001), DegreesToSemicircle(8.501), 15107, 1489, 0},
                               {0, At(0, 20), DegreesToSemicircle(47.002), DegreesToSemicircle(8.503), 15220, 1500, 0}};
  const FileWriteResult written = WriteCsvTrack(points, CsvColumns{});
  ASSERT_FALSE(written.error);
  EXPECT_EQ(written.bytes, GoldenFile("track_files/flight.csv"));
}

TEST(CsvTrack, HeadersChooseColumnsAndSeparator) {
  const TrackFileRead semicolons = ReadCsvTrack("DATE;LATITUDE;LONGITUDE\n2012-07-01T10:00:00Z;47,5;8,25\n");
  ASSERT_TRUE(semicolons.Ok()) << semicolons.error.text;
  ASSERT_EQ(semicolons.records.Count(), 1);
  EXPECT_EQ(semicolons.records.points[0].lat, DegreesToSemicircle(47.5));
  EXPECT_EQ(semicolons.records.points[0].lon, DegreesToSemicircle(8.25));
  EXPECT_EQ(semicolons.records.hasPressureAltitude, 0);

  const TrackFileRead quoted =
      ReadCsvTrack("\"Height\", \"Longitude\",\"Time, UTC\",Latitude\r\n  -12.5 ,8.5, \"2012-07-01T10:00:00Z\",47\r\n");
  ASSERT_TRUE(quoted.Ok()) << quoted.error.text;
  EXPECT_EQ(quoted.records.points[0].gpsAlt, -125);
  EXPECT_EQ(quoted.records.points[0].time, At(0, 0));

  const TrackFileRead noLatitude = ReadCsvTrack("Time,Lat,Longitude\n");
  EXPECT_EQ(noLatitude.error.text, "Could not determine items from header");
  EXPECT_EQ(noLatitude.error.caption, "Read CSV track log file");
  EXPECT_EQ(ReadCsvTrack("Time,Latitude,Longitude,Height of Time\n").error.text, "");
  EXPECT_EQ(ReadCsvTrack("Latitude time,Longitude\n").error.text, "Could not determine items from header");
}

TEST(CsvTrack, AColumnOfZeroPressuresClaimsNone) {
  const TrackFileRead zeros = ReadCsvTrack(
      "Date/time,Latitude,Longitude,H-GPS,H-Baro\r\n2012-07-01T10:00:00Z,47,8,1500,0\r\n");
  ASSERT_TRUE(zeros.Ok());
  EXPECT_EQ(zeros.records.hasPressureAltitude, 0);
  const TrackFileRead some = ReadCsvTrack(
      "Date/time,Latitude,Longitude,H-GPS,H-Baro\r\n2012-07-01T10:00:00Z,47,8,1500,1480.9\r\n");
  ASSERT_TRUE(some.Ok());
  EXPECT_EQ(some.records.hasPressureAltitude, 1);
  EXPECT_EQ(some.records.points[0].baroAlt, 1480);
}

TEST(CsvTrack, FaultsNameTheirLine) {
  const std::string head = "Date/time,Latitude,Longitude,H-GPS,H-Baro\r\n";
  struct Case {
    std::string line;
    std::string error;
  };
  const Case cases[] = {
      {"2012-07-01T10:00:00Z,47,8,1500", "Error parsing line 2"},
      {"2012-07-01T10:00:00Z,4\"7,8,1500,0", "Error parsing line 2"},
      {"2012-07-01T10:00:00Z,\"47,8,1500,0", "Error parsing line 2"},
      {"yesterday,47,8,1500,0", "Error decoding time on line 2"},
      {"2012-07-01T10:00:00Z,north,8,1500,0", "Error decoding latitude on line 2"},
      {"2012-07-01T10:00:00Z,47,east,1500,0", "Error decoding longitude on line 2"},
      {"2012-07-01T10:00:00Z,90,8,1500,0", "Latitude out of range on line 2"},
      {"2012-07-01T10:00:00Z,47,-180,1500,0", "Longitude out of range on line 2"},
      {"2012-07-01T10:00:00Z,47,8,high,0", "Bad GPS height data on line 2"},
      {"2012-07-01T10:00:00Z,47,8,1500,low", "Bad pressure height data on line 2"},
  };
  for (const Case& c : cases) {
    const TrackFileRead read = ReadCsvTrack(head + c.line + "\r\n");
    EXPECT_EQ(read.status, FileReadStatus::Failed) << c.line;
    EXPECT_EQ(read.error.text, c.error) << c.line;
    EXPECT_EQ(read.error.line, 2) << c.line;
  }
}

// Straight north at 10 m/s, climbing 1 m/s, one point every 5 s.
std::vector<TrackPoint> StraightNorth(int count) {
  std::vector<TrackPoint> points;
  for (int i = 0; i < count; ++i) {
    points.push_back({0, At(0, 5 * i), DegreesToSemicircle(47.0 + i * 50 / 111200.0), DegreesToSemicircle(8.5),
                      15000 + 50 * i, 0, 0});
  }
  return points;
}

std::vector<std::string> Fields(const std::string& text, int line) {
  size_t at = 0;
  for (int i = 0; i < line; ++i) at = text.find("\r\n", at) + 2;
  const std::string row = text.substr(at, text.find("\r\n", at) - at);
  std::vector<std::string> fields;
  for (size_t from = 0;;) {
    const size_t comma = row.find(',', from);
    fields.push_back(row.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
    if (comma == std::string::npos) return fields;
    from = comma + 1;
  }
}

TEST(CsvTrack, DerivedColumnsFollowTheSettings) {
  CsvColumns columns;
  columns.absTime = columns.relTime = columns.relDist = columns.accDist = true;
  columns.bearingSeconds = 30;
  columns.speedSeconds = 20;
  columns.varioSeconds = 10;
  const std::string text = WriteCsvTrack(StraightNorth(10), columns).bytes;
  EXPECT_EQ(text.substr(0, text.find("\r\n")),
            "Date/time,Latitude,Longitude,H-GPS,H-Baro,AbsTime,RelTime,RelDist,AccDist,Bearing,Speed,Vario");
  EXPECT_EQ(Fields(text, 1), (std::vector<std::string>{"2012-07-01T10:00:00Z", "47.000000", "8.500000", "1500", "0",
                                                       "1/7/2012  10:00:00", "0:00:00", "0.000", "0.000", "0", "0.0",
                                                       "0.0"}));
  const std::vector<std::string> last = Fields(text, 10);
  EXPECT_EQ(last[5], "1/7/2012  10:00:45");
  EXPECT_EQ(last[6], "0:00:45");
  EXPECT_NEAR(std::stod(last[7]), 0.450, 0.002);
  EXPECT_EQ(last[7], last[8]);
  EXPECT_EQ(last[9], "0");                         // north
  EXPECT_NEAR(std::stod(last[10]), 36.0, 0.2);     // 10 m/s
  EXPECT_EQ(last[11], "1.0");
  // Half way through the window the distance is interpolated: 7.5 s of 10 m/s.
  const std::vector<std::string> second = Fields(text, 2);
  EXPECT_NEAR(std::stod(second[10]), 50 * 3.6 / 20, 0.1);
}

TEST(CsvTrack, BearingsTurnClockwiseAndCirclingGivesZero) {
  std::vector<TrackPoint> east = StraightNorth(3);
  for (size_t i = 0; i < east.size(); ++i) {
    east[i].lat = DegreesToSemicircle(47.0);
    east[i].lon = DegreesToSemicircle(8.5 + i * 0.001);
  }
  CsvColumns columns;
  columns.bearingSeconds = 10;
  EXPECT_EQ(Fields(WriteCsvTrack(east, columns).bytes, 3)[5], "90");
  columns.bearing400 = true;
  EXPECT_EQ(Fields(WriteCsvTrack(east, columns).bytes, 3)[5], "100");
  std::vector<TrackPoint> circling = StraightNorth(8);
  for (TrackPoint& point : circling) point.lat = DegreesToSemicircle(47.0) + (&point - circling.data()) % 2 * 100;
  columns.bearingSeconds = 30;
  EXPECT_EQ(Fields(WriteCsvTrack(circling, columns).bytes, 8)[5], "0");
}

TEST(CsvTrack, ParameterFieldsAreCheckedInOrder) {
  CsvColumns columns;
  EXPECT_FALSE(ApplyCsvParameterTexts({"", " 30 ", "-5"}, columns));
  EXPECT_EQ(columns.bearingSeconds, 0);
  EXPECT_EQ(columns.speedSeconds, 30);
  EXPECT_EQ(columns.varioSeconds, 0);
  const struct {
    CsvParameterTexts texts;
    const char* refusal;
  } cases[] = {{{"x", "y", "z"}, "Bad bearing input"}, {{"1", "2s", "z"}, "Bad speed input"},
               {{"1", "2", "3.5"}, "Bad vario input"}};
  for (const auto& c : cases) {
    CsvColumns kept = columns;
    const std::optional<FileMessage> refusal = ApplyCsvParameterTexts(c.texts, kept);
    ASSERT_TRUE(refusal) << c.refusal;
    EXPECT_EQ(refusal->text, c.refusal);
    EXPECT_EQ(refusal->caption, "Check csv parameters");
    EXPECT_EQ(kept.speedSeconds, 30) << c.refusal;
  }
}

}  // namespace
}  // namespace trelvik
