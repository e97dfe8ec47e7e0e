#include "airspace/ctr_gpx.hpp"

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
constexpr double kStartMaximum = -3;  // radians: below any latitude or longitude of a point
constexpr double kStartMinimum = 3;

constexpr std::string_view kGarminExtensions = "http://www.garmin.com/xmlschemas/GpxExtensions/v3";

struct Bounds {
  double maxLat = kStartMaximum, maxLon = kStartMaximum;
  double minLat = kStartMinimum, minLon = kStartMinimum;
  void Add(double lat, double lon) {
    maxLat = std::max(maxLat, lat);
    maxLon = std::max(maxLon, lon);
    minLat = std::min(minLat, lat);
    minLon = std::min(minLon, lon);
  }
};

std::string Header(const CtrExportStamp& stamp, const Bounds& bounds) {
  const SystemTime& t = stamp.utc;
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
  text += "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\"\r\n";
  text += CFormat("     creator=\"Trelvik %d.%02d\"\r\n", stamp.programVersion / 100, stamp.programVersion % 100);
  text += "     version=\"1.1\"\r\n";
  text += "     xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n";
  text += "     xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd\">\r\n";
  text += "\r\n  <metadata>\r\n";
  text += "    <link href=\"https://trelvik.org/\"><text>Trelvik: flights from your instrument to your "
          "flight-log service</text></link>\r\n";
  text += CFormat("    <time>%d-%02d-%02dT%02d:%02d:%02dZ</time>\r\n", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
  text += "    <bounds ";
  text += CFormat("maxlat=\"%.6f\" maxlon=\"%.6f\" minlat=\"%.6f\" minlon=\"%.6f\"/>\r\n",
                  bounds.maxLat * kDegreesPerRadian, bounds.maxLon * kDegreesPerRadian,
                  bounds.minLat * kDegreesPerRadian, bounds.minLon * kDegreesPerRadian);
  text += "  </metadata>\r\n";
  return text;
}

void AppendTrack(std::string& text, const CtrArea& area, const std::vector<Waypoint>& points, Bounds& bounds) {
  const double ceiling = RemarkToMetres(area.ceilingRemark);
  const double floor = RemarkToMetres(area.floorRemark);
  text += "\r\n  <trk>\r\n";
  text += "    <name>" + XmlText(area.name) + "</name>\r\n";
  text += "    <extensions>\r\n";
  text += CFormat("      <gpxx:TrackExtension xmlns:gpxx=\"%s\">\r\n", kGarminExtensions.data());
  text += "        <gpxx:DisplayColor>Transparent</gpxx:DisplayColor>\r\n";
  text += "      </gpxx:TrackExtension>\r\n";
  text += "    </extensions>\r\n";
  text += "    <trkseg>\r\n";
  for (const Waypoint& point : points) {
    const double lat = SemicircleToRadians(point.lat);
    const double lon = SemicircleToRadians(point.lon);
    bounds.Add(lat, lon);
    text += CFormat("      <trkpt lat=\"%.6f\" lon=\"%.6f\">\r\n", lat * kDegreesPerRadian, lon * kDegreesPerRadian);
    text += CFormat("        <ele>%.6f</ele>\r\n", ceiling);
    text += "        <extensions>\r\n";
    text += CFormat("          <gpxx:TrackPointExtension xmlns:gpxx=\"%s\">\r\n", kGarminExtensions.data());
    text += CFormat("            <gpxx:Depth>%.6f</gpxx:Depth>\r\n", floor);
    text += "          </gpxx:TrackPointExtension>\r\n";
    text += "        </extensions>\r\n";
    text += "      </trkpt>\r\n";
  }
  text += "    </trkseg>\r\n";
  text += "  </trk>\r\n";
}

}  // namespace

int FormatCtrGpx(UserInterface& ui, const CtrList& list, int32_t segError, const CtrExportStamp& stamp,
                 std::string& text) {
  try {
    const TrackTime now = TrackTimeFromDate(stamp.utc);
    Bounds bounds;
    std::string tracks;
    for (size_t row = 0; row < list.size(); ++row) {
      if (!list[row].selected) continue;
      std::vector<Waypoint> points;
      if (CtrToPoints(list[row], static_cast<int>(row), segError, now, points) < 0) {
        ShowError(ui, "Memory allocation error", kCtrGpxCaption);
        return -1;
      }
      AppendTrack(tracks, list[row], points, bounds);
    }
    text = Header(stamp, bounds) + tracks + "\r\n</gpx>\r\n";
    return 0;
  } catch (const std::bad_alloc&) {
    ShowError(ui, "Memory allocation error", kCtrGpxCaption);
    return -1;
  }
}

bool WriteCtrGpx(UserInterface& ui, CtrList& list, const std::vector<int>& selectedRows, int32_t segError,
                 const CtrExportStamp& stamp, std::string& folder) {
  if (!MarkCtrSelection(ui, list, selectedRows, kCtrGpxCaption)) return false;
  std::string text;
  if (FormatCtrGpx(ui, list, segError, stamp, text) < 0) return false;
  const std::optional<std::string> path = SaveCtrExport(ui, text, ".gpx", folder);
  if (!path) return false;
  ui.SetStatus(*path + " written");
  return true;
}

}  // namespace trelvik
