#include "trackfiles/kml_animation.hpp"

#include "base/c_format.hpp"
#include "trackfiles/kml_values.hpp"

namespace trelvik {
namespace {

constexpr const char* kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\" "
    "xmlns:atom=\"http://www.w3.org/2005/Atom\">\r\n"
    "<Document>\r\n"
    "  <name>Track</name>\r\n"
    "  <Style id=\"multiTrack_n\">\r\n"
    "    <IconStyle>\r\n"
    "      <Icon><href>http://earth.google.com/images/kml-icons/track-directional/track-0.png</href></Icon>\r\n"
    "    </IconStyle>\r\n"
    "    <LineStyle><color>99ffac59</color><width>6</width></LineStyle>\r\n"
    "  </Style>\r\n"
    "  <Style id=\"multiTrack_h\">\r\n"
    "    <IconStyle>\r\n"
    "      <scale>1.2</scale>\r\n"
    "      <Icon><href>http://earth.google.com/images/kml-icons/track-directional/track-0.png</href></Icon>\r\n"
    "    </IconStyle>\r\n"
    "    <LineStyle><color>99ffac59</color><width>8</width></LineStyle>\r\n"
    "  </Style>\r\n"
    "  <StyleMap id=\"multiTrack\">\r\n"
    "    <Pair><key>normal</key><styleUrl>#multiTrack_n</styleUrl></Pair>\r\n"
    "    <Pair><key>highlight</key><styleUrl>#multiTrack_h</styleUrl></Pair>\r\n"
    "  </StyleMap>\r\n"
    "  <Placemark>\r\n"
    "    <name>Pilot</name>\r\n"
    "    <styleUrl>#multiTrack</styleUrl>\r\n"
    "    <gx:balloonVisibility>1</gx:balloonVisibility>\r\n"
    "    <gx:Track>\r\n"
    "      <altitudeMode>absolute</altitudeMode>\r\n";

}  // namespace

FileWriteResult WriteKmlAnimation(std::span<const TrackPoint> points, bool utcTimes) {
  if (points.size() < 2) {
    return {{}, FileMessage{0, "Less than 2 positions selected", "Save track animation file"}};
  }
  std::string text = kHead;
  text.reserve(text.size() + points.size() * 90);
  for (const TrackPoint& point : points) {
    const SystemTime t = DateFromTrackTime(point.time);
    text += CFormat("      <when>%d-%02d-%02dT%02d:%02d:%02d%s</when>\r\n", t.year, t.month, t.day, t.hour, t.minute,
                    t.second, utcTimes ? "Z" : "");
  }
  for (const TrackPoint& point : points) {
    text += CFormat("      <gx:coord>%.6f %.6f %d</gx:coord>\r\n", SemicircleToDegrees(point.lon),
                    SemicircleToDegrees(point.lat), point.gpsAlt / 10);
  }
  text += "    </gx:Track>\r\n  </Placemark>\r\n</Document>\r\n</kml>\r\n";
  return {std::move(text), std::nullopt};
}

std::string KmlAnimationFileName(const TrackPoint& first) {
  const SystemTime t = DateFromTrackTime(first.time);
  return CFormat("%d-%02d-%02d_%02d-%02d", t.year, t.month, t.day, t.hour, t.minute);
}

}  // namespace trelvik
