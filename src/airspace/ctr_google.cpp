#include "airspace/ctr_google.hpp"

#include <algorithm>
#include <new>

#include "airspace/airspace_text.hpp"
#include "airspace/ctr_points.hpp"
#include "airspace/ctr_selection.hpp"
#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "geo/angles.hpp"

namespace trelvik {
namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kPolylineUnitsPerDegree = 1e5;

constexpr std::string_view kColourTable =
    "// Airspace A:   Fillcolor #00FF00, strokeColor #FF0000, fillOpacity: 0.10\r\n"
    "// Airspace B:   Fillcolor #00FF01, strokeColor #FF0001, fillOpacity: 0.11\r\n"
    "// Airspace C:   Fillcolor #00FF02, strokeColor #FF0002, fillOpacity: 0.12\r\n"
    "// Airspace D:   Fillcolor #00FF03, strokeColor #FF0003, fillOpacity: 0.13\r\n"
    "// Airspace E:   Fillcolor #00FF04, strokeColor #FF0004, fillOpacity: 0.14\r\n"
    "// Airspace P:   Fillcolor #00FF05, strokeColor #FF0005, fillOpacity: 0.15\r\n"
    "// Airspace Q:   Fillcolor #00FF06, strokeColor #FF0006, fillOpacity: 0.16\r\n"
    "// Airspace R:   Fillcolor #00FF07, strokeColor #FF0007, fillOpacity: 0.17\r\n"
    "// Airspace W:   Fillcolor #00FF08, strokeColor #FF0008, fillOpacity: 0.18\r\n"
    "// Airspace CTR: Fillcolor #00FF09, strokeColor #FF0009, fillOpacity: 0.19\r\n"
    "// Airspace CTZ: Fillcolor #00FF0A, strokeColor #FF000A, fillOpacity: 0.20\r\n"
    "// Airspace GP:  Fillcolor #00FF0B, strokeColor #FF000B, fillOpacity: 0.21\r\n"
    "// Airspace ?:   Fillcolor #00FF0C, strokeColor #FF000C, fillOpacity: 0.22\r\n"
    "\r\n";

int64_t PolylineUnits(double degrees) {
  const double scaled = degrees * kPolylineUnitsPerDegree;
  return static_cast<int64_t>(scaled >= 0 ? scaled + 0.5 : scaled - 0.5);
}

void AppendPolylineValue(std::string& text, int64_t value) {
  uint64_t bits = static_cast<uint64_t>(value) << 1;
  if (value < 0) bits = ~bits;
  while (bits >= 0x20) {
    text += static_cast<char>((0x20 | (bits & 0x1F)) + 63);
    bits >>= 5;
  }
  text += static_cast<char>(bits + 63);
}

void AppendPolygon(std::string& text, const CtrArea& area, const std::vector<Waypoint>& points) {
  std::vector<std::pair<double, double>> degrees;
  double south = 90, west = 180, north = -90, east = -180;
  for (const Waypoint& point : points) {
    const double lat = SemicircleToRadians(point.lat) * kDegreesPerRadian;
    const double lon = SemicircleToRadians(point.lon) * kDegreesPerRadian;
    degrees.emplace_back(lat, lon);
    south = std::min(south, lat);
    north = std::max(north, lat);
    west = std::min(west, lon);
    east = std::max(east, lon);
  }
  const int32_t c = std::clamp<int32_t>(area.classCode, kClassA, kClassOther);
  text += "// " + area.name + CFormat(" %s - %s\r\n", area.ceilingRemark.c_str(), area.floorRemark.c_str());
  text += CFormat("// CLASS %s\r\n", area.classText.c_str());
  text += "var polygon = new google.maps.Polygon({\r\n";
  text += "path: google.maps.geometry.encoding.decodePath('" + EncodePolyline(degrees);
  text += CFormat(
      "'),\r\nmap: map, strokeColor: \"#%06X\", strokeOpacity: 0.5, strokeWeight: 1, fillColor: \"#%06X\", "
      "fillOpacity: 0.%02d});\r\n",
      0xFF0000 + c, 0x00FF00 + c, 10 + c);
  text += CFormat(
      "polygon.bounds  = new google.maps.LatLngBounds(new google.maps.LatLng(%.6f, %.6f), "
      "new google.maps.LatLng(%.6f, %.6f));\r\n",
      south, west, north, east);
  text += CFormat("polygon.altLow  = %d;\r\npolygon.altHigh = %d;\r\n", area.floorValue, area.ceilingValue);
  // The name and remarks stand inside a quoted script string here, so a quote
  // in a name (St. John's) must not end it.
  text += "attachPolygonInfoBox(polygon, infoBox, '" + JsStringText(area.name) + "<br />" +
          JsStringText(area.ceilingRemark) + " - " + JsStringText(area.floorRemark) + "');\r\n";
  text += "polygons.push(polygon);\r\n\r\n";
}

}  // namespace

std::string EncodePolyline(const std::vector<std::pair<double, double>>& points) {
  std::string text;
  int64_t lastLat = 0;
  int64_t lastLon = 0;
  for (const auto& [latDegrees, lonDegrees] : points) {
    const int64_t lat = PolylineUnits(latDegrees);
    const int64_t lon = PolylineUnits(lonDegrees);
    AppendPolylineValue(text, lat - lastLat);
    AppendPolylineValue(text, lon - lastLon);
    lastLat = lat;
    lastLon = lon;
  }
  return text;
}

int FormatCtrGoogleApi(const CtrList& list, int32_t segError, TrackTime now, std::string& text) {
  try {
    std::vector<size_t> order;
    for (size_t row = 0; row < list.size(); ++row) {
      if (list[row].selected) order.push_back(row);
    }
    // Lower airspaces are drawn last, over the higher ones.
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      if (list[a].floorValue != list[b].floorValue) return list[a].floorValue > list[b].floorValue;
      return list[a].ceilingValue > list[b].ceilingValue;
    });
    std::string out = "function addAirspace(map) {\r\n\r\n";
    out += kColourTable;
    for (const size_t row : order) {
      std::vector<Waypoint> points;
      if (CtrToPoints(list[row], static_cast<int>(row), segError, now, points) < 0) return -1;
      AppendPolygon(out, list[row], points);
    }
    out += "}\r\n";
    text = std::move(out);
    return 0;
  } catch (const std::bad_alloc&) {
    return -1;
  }
}

bool WriteCtrGoogleApi(UserInterface& ui, CtrList& list, const std::vector<int>& selectedRows, int32_t segError,
                       TrackTime now, std::string& folder) {
  if (!MarkCtrSelection(ui, list, selectedRows, kCtrGoogleCaption)) return false;
  std::string text;
  if (FormatCtrGoogleApi(list, segError, now, text) < 0) return false;
  const std::optional<std::string> path = SaveCtrExport(ui, text, ".txt", folder);
  if (!path) return false;
  ui.SetStatus(*path + " written");
  return true;
}

}  // namespace trelvik
