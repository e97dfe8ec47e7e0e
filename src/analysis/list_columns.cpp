#include "analysis/list_columns.hpp"

#include <array>
#include <cstring>

#include "base/c_format.hpp"
#include "geo/position_display.hpp"
#include "geo/track_window.hpp"
#include "records/track_time.hpp"

namespace trelvik {

namespace {

constexpr auto kTrackLatLon = std::to_array<ListColumn>({{"UTC date", 8}, {"UTC time", 8}, {"Latitude", 12},
                                                         {"Longitude", 12}, {"H (GPS)", 8}, {"H (B-G)", 8},
                                                         {"km/h", 7}});
constexpr auto kTrackUtm = std::to_array<ListColumn>({{"UTC date", 8}, {"UTC time", 8}, {"Zone", 5},
                                                      {"Easting", 7}, {"Northing", 7}, {"H (GPS)", 8},
                                                      {"H (B-G)", 8}, {"km/h", 7}});
constexpr auto kWaypointLatLon = std::to_array<ListColumn>({{"ID", 8}, {"Latitude", 12}, {"Longitude", 12},
                                                            {"Height", 8}, {"T", 3}, {"Name", 50}, {"Time", 18}});
constexpr auto kWaypointUtm = std::to_array<ListColumn>({{"ID", 8}, {"Zone", 5}, {"Easting", 8},
                                                         {"Northing", 8}, {"Height", 8}, {"T", 3}, {"Name", 50},
                                                         {"Time", 18}});
constexpr auto kAirspace = std::to_array<ListColumn>(
    {{"Name", 18}, {"Floor (Remark)", 18}, {"Ceiling", 18}, {"Distance", 10}, {"Segments", 10}});
constexpr auto kPilots = std::to_array<ListColumn>({{"Name", 22}, {"Comp. ID", 10}, {"CIVL ID", 10}, {"Device", 10}});

std::string Clip(std::string text) {
  if (text.size() > kCellTextLimit) text.resize(kCellTextLimit);
  return text;
}

std::string DateText(TrackTime time) {
  const SystemTime date = DateFromTrackTime(time);
  return CFormat("%4d-%02d-%02d", date.year, date.month, date.day);
}

std::string TimeText(TrackTime time) {
  const SystemTime date = DateFromTrackTime(time);
  return CFormat("%02d:%02d:%02d", date.hour, date.minute, date.second);
}

// Position columns as they follow each other in both views: latitude and
// longitude, or zone, easting and northing. `index` counts from the first of them.
std::string PositionCell(Semicircle lat, Semicircle lon, int index, bool utm) {
  if (!utm) return index == 0 ? LatitudeText(lat) : LongitudeText(lon);
  const UtmTexts texts = UtmCellTexts(lat, lon);
  switch (index) {
    case 0: return texts.zone;
    case 1: return texts.easting;
    default: return texts.northing;
  }
}

}  // namespace

std::span<const ListColumn> ColumnsFor(ViewMode mode, bool utm) {
  switch (mode) {
    case ViewMode::Waypoints: return utm ? std::span<const ListColumn>(kWaypointUtm) : kWaypointLatLon;
    case ViewMode::TrackLog: return utm ? std::span<const ListColumn>(kTrackUtm) : kTrackLatLon;
    case ViewMode::Airspace: return kAirspace;
    case ViewMode::PilotList: return kPilots;
  }
  return {};
}

std::string TrackCell(const TrackLog& log, int row, int column, bool utm) {
  const TrackPoint& point = log.points[static_cast<size_t>(row)];
  const int positionColumns = utm ? 3 : 2;
  if (column == 0) return DateText(point.time);
  if (column == 1) return TimeText(point.time);
  if (column < 2 + positionColumns) return Clip(PositionCell(point.lat, point.lon, column - 2, utm));
  switch (column - 2 - positionColumns) {
    case 0: return CFormat("%d", GpsAltitudeMetres(point.gpsAlt));
    case 1:
      if (!log.hasPressureAltitude) return {};
      return CFormat("%d", GpsAltitudeMetres(point.baroAlt * 10 - point.gpsAlt));
    case 2:
      if (point.flags & kNewSegment) return "START";
      return CFormat("%.1f", RecentSpeedAndClimb(log.points, static_cast<size_t>(row)).speedKmh);
  }
  return {};
}

std::string WaypointCell(const WaypointList& list, int row, int column, bool utm) {
  const Waypoint& waypoint = list.waypoints[static_cast<size_t>(row)];
  const int positionColumns = utm ? 3 : 2;
  if (column == 0) return std::string(waypoint.name, strnlen(waypoint.name, sizeof waypoint.name));
  if (column < 1 + positionColumns) return Clip(PositionCell(waypoint.lat, waypoint.lon, column - 1, utm));
  switch (column - 1 - positionColumns) {
    case 0: return CFormat("%d", waypoint.alt);
    case 1: return waypoint.airport ? "A" : " ";
    case 2: return std::string(waypoint.description, strnlen(waypoint.description, sizeof waypoint.description));
    case 3: return DateText(waypoint.time) + " " + TimeText(waypoint.time);
  }
  return {};
}

}  // namespace trelvik
