#include "trackfiles/gpx_track_writer.hpp"

#include <algorithm>

#include "base/c_format.hpp"
#include "trackfiles/igc_encoder.hpp"
#include "trackfiles/kml_values.hpp"

namespace trelvik {
namespace {

std::string XmlTime(TrackTime time) {
  const SystemTime t = DateFromTrackTime(time);
  return CFormat("%d-%02d-%02dT%02d:%02d:%02dZ", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

}  // namespace

std::string GpxHead(std::span<const TrackPoint> points, TrackTime now, int32_t programVersion) {
  Semicircle minLat = 0, minLon = 0, maxLat = 0, maxLon = 0;
  if (!points.empty()) {
    minLat = maxLat = points.front().lat;
    minLon = maxLon = points.front().lon;
  }
  for (const TrackPoint& point : points) {
    minLat = std::min(minLat, point.lat), maxLat = std::max(maxLat, point.lat);
    minLon = std::min(minLon, point.lon), maxLon = std::max(maxLon, point.lon);
  }
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
  text += "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\"\r\n";
  text += CFormat("     creator=\"Trelvik %d.%02d\"\r\n", programVersion / 100, programVersion % 100);
  text += "     version=\"1.1\"\r\n";
  text += "     xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n";
  text += "     xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd\">\r\n";
  text += "  <metadata>\r\n";
  text += "    <link href=\"https://trelvik.org/\"><text>Trelvik: flights from your instrument to your "
          "flight-log service</text></link>\r\n";
  text += "    <time>" + XmlTime(now) + "</time>\r\n";
  text += CFormat("    <bounds minlat=\"%.6f\" minlon=\"%.6f\" maxlat=\"%.6f\" maxlon=\"%.6f\"/>\r\n",
                  SemicircleToDegrees(minLat), SemicircleToDegrees(minLon), SemicircleToDegrees(maxLat),
                  SemicircleToDegrees(maxLon));
  text += "  </metadata>\r\n";
  return text;
}

FileWriteResult WriteGpxTrack(std::span<const TrackPoint> points, TrackTime now) {
  std::string text = GpxHead(points, now, kTrelvikVersion);
  text.reserve(text.size() + points.size() * 120);
  text += "  <trk>\r\n    <name>Track 001</name>\r\n    <trkseg>\r\n";
  for (const TrackPoint& point : points) {
    text += CFormat("      <trkpt lat=\"%.6f\" lon=\"%.6f\">\r\n", SemicircleToDegrees(point.lat),
                    SemicircleToDegrees(point.lon));
    text += CFormat("        <ele>%.1f</ele>\r\n", point.gpsAlt / 10.0);
    text += "        <time>" + XmlTime(point.time) + "</time>\r\n      </trkpt>\r\n";
  }
  text += "    </trkseg>\r\n  </trk>\r\n</gpx>\r\n";
  return {std::move(text), std::nullopt};
}

}  // namespace trelvik
