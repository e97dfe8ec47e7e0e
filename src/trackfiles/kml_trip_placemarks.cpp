#include "trackfiles/kml_trip_placemarks.hpp"

#include <charconv>
#include <initializer_list>
#include <vector>

#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "geo/position_text.hpp"
#include "trackfiles/kml_values.hpp"

namespace trelvik {
namespace {

constexpr const char* kBlue = "FFFF0000";  // KML colours are aabbggrr
constexpr const char* kRed = "FF0000FF";

// One row of a placemark's table: a point and the distance that leads to it
// (none for the first row).
struct Row {
  int32_t index;
  double metres;
};

struct PlacemarkText {
  const char* type;
  const char* name;
  std::string heading;
  std::vector<Row> rows;
  bool withSum;
  double sum;
  // One LineString, or two inside a MultiGeometry (triangles).
  std::vector<std::vector<int32_t>> lines;
  const char* colour;
};

void Line(std::string& out, std::string_view text) {
  out.append(text);
  out += "\r\n";
}

void AppendLineString(std::string& out, std::span<const TrackPoint> points, const std::vector<int32_t>& indexes,
                      const std::string& indent) {
  Line(out, indent + "<LineString>");
  Line(out, indent + "  <tessellate>1</tessellate>");
  Line(out, indent + "  <coordinates>");
  for (int32_t index : indexes) Line(out, indent + "    " + KmlCoordinateText(points[static_cast<size_t>(index)]));
  Line(out, indent + "  </coordinates>");
  Line(out, indent + "</LineString>");
}

void AppendPlacemark(std::string& out, const PlacemarkText& p, std::span<const TrackPoint> points, int32_t version) {
  out += "\r\n    <Placemark>\r\n";
  Line(out, CFormat("      <Metadata src=\"Trelvik\" v=\"%d.%02d\" type=\"%s\">", version / 100, version % 100, p.type));
  std::string indexes;
  for (const Row& row : p.rows) indexes += (indexes.empty() ? "" : " ") + std::to_string(row.index);
  Line(out, "        <FsInfo track_idx=\"" + indexes + "\" />");
  Line(out, "      </Metadata>");
  Line(out, std::string("      <name>") + p.name + "</name>");
  Line(out, "      <description>");
  out += "        <![CDATA[\r\n<pre>\r\n";
  Line(out, p.heading);
  Line(out, "");
  Line(out, "Pos.      Time      Latitude         Longitude         Distance");
  for (size_t r = 0; r < p.rows.size(); ++r) {
    const TrackPoint& point = points[static_cast<size_t>(p.rows[r].index)];
    const SystemTime time = DateFromTrackTime(point.time);
    std::string row = CFormat(" %c %5d  %02d:%02d:%02d  %s  %s", static_cast<char>('A' + r), p.rows[r].index + 1,
                              time.hour, time.minute, time.second,
                              FormatLatLonText(SemicircleToCentiArcSec(point.lat), true).c_str(),
                              FormatLatLonText(SemicircleToCentiArcSec(point.lon), false).c_str());
    if (r > 0) row += CFormat("  %.2f", p.rows[r].metres / 1000);
    Line(out, row);
  }
  if (p.withSum) Line(out, CFormat("                                                  Sum  %.2f", p.sum / 1000));
  Line(out, "</pre>]]>");
  Line(out, "      </description>");
  if (p.lines.size() == 1) {
    AppendLineString(out, points, p.lines[0], "      ");
  } else {
    Line(out, "      <MultiGeometry>");
    for (const auto& line : p.lines) AppendLineString(out, points, line, "        ");
    Line(out, "      </MultiGeometry>");
  }
  Line(out, "      <Style>");
  Line(out, "        <LineStyle>");
  Line(out, std::string("          <color>") + p.colour + "</color>");
  Line(out, "        </LineStyle>");
  Line(out, "      </Style>");
  Line(out, "    </Placemark>");
}

template <int N>
PlacemarkText OpenDistance(const OpenDistanceResult<N>& result, const char* type, const char* name) {
  PlacemarkText p{type, name, CFormat("Greatest distance using %d points", N), {}, true, result.total, {{}}, kBlue};
  for (int i = 0; i < N; ++i) {
    p.rows.push_back({result.index[i], i == 0 ? 0.0 : result.legs[i - 1]});
    p.lines[0].push_back(result.index[i]);
  }
  return p;
}

PlacemarkText Triangle(const TriangleResult& t, const char* type, const char* name, std::string heading) {
  return {type,
          name,
          std::move(heading),
          {{t.start, 0}, {t.turnpoint1, t.legs[0]}, {t.turnpoint2, t.legs[1]}, {t.turnpoint3, t.legs[2]}, {t.end, t.gap}},
          true,
          t.distance,
          {{t.turnpoint1, t.turnpoint2, t.turnpoint3, t.turnpoint1}, {t.start, t.end}},
          kBlue};
}

bool Inside(std::initializer_list<int32_t> indexes, size_t count) {
  for (int32_t index : indexes) {
    if (index < 0 || static_cast<size_t>(index) >= count) return false;
  }
  return true;
}

template <size_t N>
bool Inside(const std::array<int32_t, N>& indexes, size_t count) {
  for (int32_t index : indexes) {
    if (index < 0 || static_cast<size_t>(index) >= count) return false;
  }
  return true;
}

}  // namespace

// The C library's "%.6f" rounds the exact binary value to nearest, ties to
// even, as std::to_chars does with a precision; to_chars skips the
// multi-precision arithmetic that printf spends on every one of a long
// flight's coordinates.
std::string KmlCoordinateText(const TrackPoint& point) {
  char text[64];
  char* const end = text + sizeof text;
  char* next = std::to_chars(text, end, SemicircleToDegrees(point.lon), std::chars_format::fixed, 6).ptr;
  *next++ = ',';
  next = std::to_chars(next, end, SemicircleToDegrees(point.lat), std::chars_format::fixed, 6).ptr;
  *next++ = ',';
  next = std::to_chars(next, end, GpsAltitudeMetres(point.gpsAlt)).ptr;
  return std::string(text, next);
}

bool KmlOptimisationIndexesValid(const OptimisationResult& r, size_t count) {
  const TriangleResult& f = r.flatTriangle;
  const TriangleResult& t = r.faiTriangle;
  return Inside(r.twoPoints.index, count) && Inside(r.threePoints.index, count) && Inside(r.fourPoints.index, count) &&
         Inside(r.fivePoints.index, count) &&
         Inside({r.outAndReturn.start, r.outAndReturn.turnpoint, r.outAndReturn.end}, count) &&
         Inside({f.start, f.turnpoint1, f.turnpoint2, f.turnpoint3, f.end}, count) &&
         Inside({t.start, t.turnpoint1, t.turnpoint2, t.turnpoint3, t.end}, count);
}

void AppendKmlOptimisationPlacemarks(std::string& out, const KmlTripInput& input, std::span<const TrackPoint> points) {
  const OptimisationResult& r = input.optimisation;
  const int32_t v = input.programVersion;
  AppendPlacemark(out, OpenDistance(r.fivePoints, "distance_5_point", "Distance over 5 points"), points, v);
  AppendPlacemark(out, OpenDistance(r.fourPoints, "distance_4_point", "Distance over 4 points"), points, v);
  AppendPlacemark(out, OpenDistance(r.threePoints, "distance_3_point", "Distance over 3 points"), points, v);

  const OpenDistanceResult<2>& two = r.twoPoints;
  AppendPlacemark(out,
                  {"distance_open", "Open distance", "Greatest distance between any 2 points",
                   {{two.index[0], 0}, {two.index[1], two.total}}, false, 0, {{two.index[0], two.index[1]}}, kRed},
                  points, v);

  const OutAndReturnResult& oar = r.outAndReturn;
  if (oar.distance == 0) {
    out += "\r\n    <!--Out-and-return not computed-->\r\n";
  } else {
    AppendPlacemark(out,
                    {"distance_out_and_return", "Out-and-return distance",
                     CFormat("Out-and-return distance (max allowable gap %d)", input.loopFlightGap),
                     {{oar.start, 0}, {oar.turnpoint, oar.outwardLeg}, {oar.end, oar.gap}}, true, oar.distance,
                     {{oar.end, oar.start, oar.turnpoint}}, kBlue},
                    points, v);
  }
  if (r.flatTriangle.distance == 0) {
    out += "\r\n    <!--Flat triangle not computed-->\r\n";
  } else {
    AppendPlacemark(out,
                    Triangle(r.flatTriangle, "distance_flat_triangle", "Flat triangle",
                             CFormat("Flat triangle (max allowable gap %d)", input.loopFlightGap)),
                    points, v);
  }
  if (r.faiTriangle.distance == 0) {
    out += "\r\n    <!--FAI triangle not computed-->\r\n";
  } else {
    AppendPlacemark(out,
                    Triangle(r.faiTriangle, "distance_fai_triangle", "FAI triangle",
                             CFormat("FAI triangle (max allowable gap %d)", input.loopFlightGap)),
                    points, v);
  }
}

}  // namespace trelvik
