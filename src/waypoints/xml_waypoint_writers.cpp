#include "waypoints/xml_waypoint_writers.hpp"

#include <algorithm>

#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "waypoints/waypoint_text.hpp"

namespace trelvik {
namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

double Degrees(Semicircle angle) { return SemicircleToRadians(angle) * kDegreesPerRadian; }

std::string IsoTime(TrackTime time) {
  const SystemTime t = DateFromTrackTime(time);
  return CFormat("%d-%02d-%02dT%02d:%02d:%02dZ", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

std::string Bounds(const WaypointFileRecords& records) {
  double minLat = 0, minLon = 0, maxLat = 0, maxLon = 0;
  for (size_t i = 0; i < records.waypoints.size(); ++i) {
    const double lat = Degrees(records.waypoints[i].lat);
    const double lon = Degrees(records.waypoints[i].lon);
    minLat = i == 0 ? lat : std::min(minLat, lat);
    maxLat = i == 0 ? lat : std::max(maxLat, lat);
    minLon = i == 0 ? lon : std::min(minLon, lon);
    maxLon = i == 0 ? lon : std::max(maxLon, lon);
  }
  return CFormat("    <bounds minlat=\"%.6f\" minlon=\"%.6f\" maxlat=\"%.6f\" maxlon=\"%.6f\"/>\r\n", minLat, minLon,
                 maxLat, maxLon);
}

}  // namespace

FileWriteResult WriteGpxWaypoints(const WaypointFileRecords& records, TrackTime now, int32_t programVersion) {
  FileWriteResult result;
  std::string& text = result.bytes;
  text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
  text += "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\"\r\n";
  text += CFormat("     creator=\"Trelvik %d.%02d\"\r\n", programVersion / 100, programVersion % 100);
  text += "     version=\"1.1\"\r\n";
  text += "     xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n";
  text += "     xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd\">\r\n";
  text += "  <metadata>\r\n";
  text += "    <link href=\"https://trelvik.org/\"><text>Trelvik</text></link>\r\n";
  text += "    <time>" + IsoTime(now) + "</time>\r\n";
  text += Bounds(records);
  text += "  </metadata>\r\n";
  for (const Waypoint& waypoint : records.waypoints) {
    const std::string name = XmlEscaped(NameOf(waypoint));
    const std::string description = XmlEscaped(DescriptionOf(waypoint));
    text += CFormat("  <wpt lat=\"%.6f\" lon=\"%.6f\">\r\n", Degrees(waypoint.lat), Degrees(waypoint.lon));
    text += CFormat("    <ele>%.1f</ele>\r\n", static_cast<double>(waypoint.alt));
    text += "    <time>" + IsoTime(waypoint.time) + "</time>\r\n";
    text += "    <name>" + name + "</name>\r\n";
    text += "    <cmt>" + description + "</cmt>\r\n";
    text += "    <desc>" + description + "</desc>\r\n";
    text += "    <sym>Dot</sym>\r\n";
    if (waypoint.airport) text += "    <type>Airport</type>\r\n";
    text += "  </wpt>\r\n";
  }
  text += "</gpx>\r\n";
  return result;
}

FileWriteResult WriteKmlWaypoints(const WaypointFileRecords& records) {
  FileWriteResult result;
  std::string& text = result.bytes;
  text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
  text += "<kml xmlns=\"http://earth.google.com/kml/2.1\">\r\n";
  text += "  <Document>\r\n    <Folder>\r\n      <name>Waypoints</name>\r\n";
  for (const Waypoint& waypoint : records.waypoints) {
    text += "      <Placemark>\r\n";
    text += "        <name>" + XmlEscaped(NameOf(waypoint)) + "</name>\r\n";
    text += "        <description>" + XmlEscaped(DescriptionOf(waypoint)) + "</description>\r\n";
    text += "        <Point>\r\n";
    text += CFormat("        <coordinates>%.6f,%.6f,%.6f</coordinates>\r\n", Degrees(waypoint.lon),
                    Degrees(waypoint.lat), static_cast<double>(waypoint.alt));
    text += "        </Point>\r\n      </Placemark>\r\n";
  }
  text += "    </Folder>\r\n  </Document>\r\n</kml>\r\n";
  return result;
}

}  // namespace trelvik
