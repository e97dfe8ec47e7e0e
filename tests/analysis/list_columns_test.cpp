#include "analysis/list_columns.hpp"

#include <gtest/gtest.h>
#include <cstring>
#include <numbers>

#include "geo/angles.hpp"
#include "records/track_time.hpp"

namespace trelvik {
namespace {

std::vector<std::string> Headers(ViewMode mode, bool utm) {
  std::vector<std::string> headers;
  for (const ListColumn& column : ColumnsFor(mode, utm)) {
    headers.push_back(column.header + std::string(":") + std::to_string(column.widthChars));
  }
  return headers;
}

TEST(ListColumns, EachViewHasItsHeadersAndWidths) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Headers(ViewMode::TrackLog, false),
            (V{"UTC date:8", "UTC time:8", "Latitude:12", "Longitude:12", "H (GPS):8", "H (B-G):8", "km/h:7"}));
  EXPECT_EQ(Headers(ViewMode::TrackLog, true), (V{"UTC date:8", "UTC time:8", "Zone:5", "Easting:7", "Northing:7",
                                                  "H (GPS):8", "H (B-G):8", "km/h:7"}));
  EXPECT_EQ(Headers(ViewMode::Waypoints, false),
            (V{"ID:8", "Latitude:12", "Longitude:12", "Height:8", "T:3", "Name:50", "Time:18"}));
  EXPECT_EQ(Headers(ViewMode::Waypoints, true),
            (V{"ID:8", "Zone:5", "Easting:8", "Northing:8", "Height:8", "T:3", "Name:50", "Time:18"}));
  EXPECT_EQ(Headers(ViewMode::Airspace, false),
            (V{"Name:18", "Floor (Remark):18", "Ceiling:18", "Distance:10", "Segments:10"}));
  EXPECT_EQ(Headers(ViewMode::PilotList, true), (V{"Name:22", "Comp. ID:10", "CIVL ID:10", "Device:10"}));
}

Semicircle Degrees(double degrees) { return RadiansToSemicircle(degrees * std::numbers::pi / 180); }

TrackTime July12At10() {
  SystemTime date;
  date.year = 2008;
  date.month = 7;
  date.day = 12;
  date.hour = 10;
  date.minute = 4;
  date.second = 5;
  return TrackTimeFromDate(date);
}

TrackLog OnePointLog(int32_t gpsAlt, int32_t baroAlt, bool pressure, int32_t flags) {
  TrackLog log;
  TrackPoint point;
  point.flags = flags;
  point.time = July12At10();
  point.lat = Degrees(59 + 54.0 / 60 + 12.34 / 3600);
  point.lon = Degrees(-(10 + 45.0 / 60 + 1.5 / 3600));
  point.gpsAlt = gpsAlt;
  point.baroAlt = baroAlt;
  log.points.push_back(point);
  log.hasPressureAltitude = pressure ? 1 : 0;
  return log;
}

TEST(ListColumns, TrackCellsInDegrees) {
  const TrackLog log = OnePointLog(12345, 1200, true, 0);
  EXPECT_EQ(TrackCell(log, 0, 0, false), "2008-07-12");
  EXPECT_EQ(TrackCell(log, 0, 1, false), "10:04:05");
  EXPECT_EQ(TrackCell(log, 0, 2, false), "N 59  54  12.34");
  EXPECT_EQ(TrackCell(log, 0, 3, false), "W 010  45  01.50");
  EXPECT_EQ(TrackCell(log, 0, 4, false), "1235");  // 1234.5 m rounds away from zero
  EXPECT_EQ(TrackCell(log, 0, 5, false), "-35");   // 12000 - 12345 dm
}

struct AltitudeCase {
  int32_t gpsAlt;
  int32_t baroAlt;
  bool pressure;
  const char* gps;
  const char* baroMinusGps;
};

TEST(ListColumns, AltitudesRoundAwayFromZeroAndBaroNeedsPressure) {
  const AltitudeCase cases[] = {
      {-12, 0, false, "-1", ""},
      {-15, 0, true, "-2", "2"},
      {4, 3, true, "0", "3"},
      {12345, 1200, false, "1235", ""},
  };
  for (const AltitudeCase& c : cases) {
    const TrackLog log = OnePointLog(c.gpsAlt, c.baroAlt, c.pressure, 0);
    EXPECT_EQ(TrackCell(log, 0, 4, false), c.gps) << c.gpsAlt;
    EXPECT_EQ(TrackCell(log, 0, 5, false), c.baroMinusGps) << c.gpsAlt;
  }
}

TEST(ListColumns, SegmentStartShowsStartInTheSpeedColumn) {
  const TrackLog log = OnePointLog(0, 0, false, kNewSegment);
  EXPECT_EQ(TrackCell(log, 0, 6, false), "START");
  EXPECT_EQ(TrackCell(log, 0, 7, true), "START");
}

TEST(ListColumns, SpeedIsTheLastMinutesWithOneDecimal) {
  TrackLog log = OnePointLog(0, 0, false, kNewSegment);
  TrackPoint next = log.points[0];
  next.flags = 0;
  next.time += 60;
  next.lat += RadiansToSemicircle(1000.0 / 6371000);  // about 1 km north in one minute
  log.points.push_back(next);
  const std::string speed = TrackCell(log, 1, 6, false);
  EXPECT_NEAR(std::stod(speed), 60.0, 0.5) << speed;
  EXPECT_EQ(speed.find('.'), speed.size() - 2) << speed;
}

TEST(ListColumns, TrackCellsInUtmOnTheCentralMeridian) {
  TrackLog log = OnePointLog(0, 0, false, 0);
  log.points[0].lat = Degrees(60);
  log.points[0].lon = Degrees(9);
  EXPECT_EQ(TrackCell(log, 0, 2, true), "32V");
  EXPECT_EQ(TrackCell(log, 0, 3, true), "0500000");
  EXPECT_EQ(TrackCell(log, 0, 4, true), "6651411");
  EXPECT_EQ(TrackCell(log, 0, 5, true), "0");  // H (GPS) moves right by one column
}

TEST(ListColumns, WaypointCells) {
  WaypointList list;
  Waypoint waypoint;
  waypoint.lat = Degrees(60);
  waypoint.lon = Degrees(9);
  waypoint.alt = -3;
  std::strcpy(waypoint.name, "LAUNCH");
  std::strcpy(waypoint.description, "Take-off west");
  waypoint.time = July12At10();
  waypoint.airport = 1;
  list.waypoints.push_back(waypoint);
  const std::vector<std::string> degrees = {"LAUNCH", "N 60  00  00.00", "E 009  00  00.00", "-3", "A",
                                            "Take-off west", "2008-07-12 10:04:05"};
  for (size_t column = 0; column < degrees.size(); ++column) {
    EXPECT_EQ(WaypointCell(list, 0, static_cast<int>(column), false), degrees[column]) << column;
  }
  EXPECT_EQ(WaypointCell(list, 0, 1, true), "32V");
  EXPECT_EQ(WaypointCell(list, 0, 2, true), "0500000");
  EXPECT_EQ(WaypointCell(list, 0, 3, true), "6651411");
  list.waypoints[0].airport = 0;
  EXPECT_EQ(WaypointCell(list, 0, 5, true), " ");
}

}  // namespace
}  // namespace trelvik
