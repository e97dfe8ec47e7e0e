#include "waypoints/waypoint_edit.hpp"

#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "geo/angles.hpp"
#include "geo/position_text.hpp"
#include "geo/transverse_mercator.hpp"
#include "records/date_time_parsers.hpp"
#include "records/names.hpp"
#include "records/number_parsers.hpp"
#include "records/track_time.hpp"
#include "waypoints/waypoint_text.hpp"

namespace trelvik {
namespace {

constexpr const char* kCaption = "Edit waypoint";

bool Blank(const std::string& text) { return TrimBlanks(text).empty(); }

// Shows `text` and gives nothing, for the checks below.
std::nullopt_t Fail(UserInterface& ui, const char* text) {
  ShowError(ui, text, kCaption);
  return std::nullopt;
}

std::optional<TrackTime> ParseTimestamp(std::string_view text) {
  text = TrimBlanks(text);
  const size_t t = text.find('T');
  if (t == std::string_view::npos) return std::nullopt;
  CalendarDate date;
  ClockTime clock;
  if (ParseDateYMD(text.substr(0, t), '-', date) != 0 || ParseTimeHMS(text.substr(t + 1), ':', clock) != 0) {
    return std::nullopt;
  }
  if (date.year < 1989 || date.year > 2099 || (date.year == 1989 && (date.month < 12 || date.day < 31))) {
    return std::nullopt;
  }
  SystemTime time;
  time.year = static_cast<uint16_t>(date.year);
  time.month = static_cast<uint16_t>(date.month);
  time.day = static_cast<uint16_t>(date.day);
  time.hour = static_cast<uint16_t>(clock.hour);
  time.minute = static_cast<uint16_t>(clock.minute);
  time.second = static_cast<uint16_t>(clock.second);
  return TrackTimeFromDate(time);
}

// Easting or northing: nothing after the field's message.
std::optional<double> ParseMetres(UserInterface& ui, const std::string& text, double limit, const char* missing,
                                  const char* badCharacter, const char* outOfRange) {
  if (Blank(text)) return Fail(ui, missing);
  double value = 0;
  if (ParseDecimal(text, value) != 0) return Fail(ui, badCharacter);
  if (!(value >= 0 && value <= limit)) return Fail(ui, outOfRange);
  return value;
}

}  // namespace

Waypoint NewWaypoint(TrackTime now) {
  Waypoint waypoint;
  waypoint.time = now;
  return waypoint;
}

WaypointEditFields EditFieldsOf(const Waypoint& waypoint) {
  WaypointEditFields fields;
  fields.id = std::string(NameOf(waypoint));
  fields.comment = std::string(DescriptionOf(waypoint));
  fields.height = CFormat("%d", waypoint.alt);
  fields.airfield = waypoint.airport != 0;
  const SystemTime t = DateFromTrackTime(waypoint.time);
  fields.timestamp = CFormat("%d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  UtmPosition utm;
  LatLonToUtm(SemicircleToRadians(waypoint.lat, waypoint.lon), utm);
  fields.zone = FormatUtmZone(utm.zone, utm.band);
  fields.easting = FormatWholeMetres(utm.easting);
  fields.northing = FormatWholeMetres(utm.northing);
  fields.latitude = FormatLatLonText(SemicircleToCentiArcSec(waypoint.lat), true);
  fields.longitude = FormatLatLonText(SemicircleToCentiArcSec(waypoint.lon), false);
  return fields;
}

std::optional<Waypoint> CheckWaypointEdit(UserInterface& ui, const WaypointEditFields& fields, bool utm) {
  Waypoint waypoint;
  if (Blank(fields.id)) return Fail(ui, "Missing ID input");
  std::string name;
  if (StrictWaypointName(fields.id, name) < 0) return Fail(ui, "Bad ID");
  CopyToField(name, waypoint.name);
  CopyToField(CleanDescription(fields.comment), waypoint.description);
  if (Blank(fields.height)) return Fail(ui, "Missing height input");
  if (ParseSignedInt(fields.height, waypoint.alt) != 0) return Fail(ui, "Bad height");
  waypoint.airport = fields.airfield ? 1 : 0;
  if (Blank(fields.timestamp)) return Fail(ui, "Missing timestamp input");
  const std::optional<TrackTime> time = ParseTimestamp(fields.timestamp);
  if (!time) return Fail(ui, "Bad timestamp input");
  waypoint.time = *time;
  GeoPosition position;
  if (utm) {
    UtmZone zone;
    if (Blank(fields.zone)) return Fail(ui, "Missing zone input");
    if (ParseUtmZone(fields.zone, zone) != 0) return Fail(ui, "Bad zone input");
    const std::optional<double> easting = ParseMetres(ui, fields.easting, 1000000, "Missing easting input",
                                                      "Bad easting character", "Easting value out of range");
    if (!easting) return std::nullopt;
    const std::optional<double> northing = ParseMetres(ui, fields.northing, 20000000, "Missing northing input",
                                                       "Bad northing character", "Northing value out of range");
    if (!northing) return std::nullopt;
    position = UtmToLatLon(UtmPosition{*easting, *northing, zone.zone, zone.band});
  } else {
    if (Blank(fields.latitude)) return Fail(ui, "Missing latitude input");
    if (ParseLatLonText(fields.latitude, true, position.lat) != 0) return Fail(ui, "Bad latitude input");
    if (Blank(fields.longitude)) return Fail(ui, "Missing longitude input");
    if (ParseLatLonText(fields.longitude, false, position.lon) != 0) return Fail(ui, "Bad longitude input");
  }
  waypoint.lat = RadiansToSemicircle(position.lat);
  waypoint.lon = RadiansToSemicircle(position.lon);
  return waypoint;
}

}  // namespace trelvik
