#include <algorithm>
#include <cmath>
#include <string>

#include "base/c_format.hpp"
#include "geo/transverse_mercator.hpp"
#include "geo/vincenty.hpp"
#include "records/number_parsers.hpp"
#include "records/text_buffer.hpp"
#include "trackfiles/csv_track.hpp"
#include "trackfiles/kml_values.hpp"

namespace trelvik {
namespace {

constexpr const char* kWriteCaption = "Save CSV track log file";

struct Moment {
  double lat = 0;  // semicircles, interpolated
  double lon = 0;
  double alt = 0;  // metres
};

GeoPosition PositionOf(const Moment& moment) {
  return {moment.lat * kRadiansPerSemicircle, moment.lon * kRadiansPerSemicircle};
}

// Where the track was `seconds` before points[index]: interpolated between the
// two points around that moment, or the first point when the track is shorter.
// `below` is the last point at or before that moment (the start of the path
// travelled since).
class TrackLookBack {
 public:
  TrackLookBack(std::span<const TrackPoint> points, bool useBaro) : points_(points), useBaro_(useBaro) {}

  double Altitude(const TrackPoint& point) const {
    return useBaro_ ? point.baroAlt : point.gpsAlt / 10.0;
  }
  Moment At(size_t index) const {
    const TrackPoint& p = points_[index];
    return {static_cast<double>(p.lat), static_cast<double>(p.lon), Altitude(p)};
  }
  Moment Before(size_t index, int32_t seconds, size_t& below) const {
    const int64_t target = static_cast<int64_t>(points_[index].time) - seconds;
    below = 0;
    if (target <= static_cast<int64_t>(points_.front().time)) return At(0);
    size_t j = index;
    while (j > 0 && static_cast<int64_t>(points_[j].time) > target) --j;
    below = j;
    const TrackPoint& a = points_[j];
    const TrackPoint& b = points_[std::min(j + 1, index)];
    const double span = static_cast<double>(b.time) - a.time;
    const double f = span > 0 ? (target - static_cast<double>(a.time)) / span : 0;
    return {a.lat + f * (static_cast<double>(b.lat) - a.lat), a.lon + f * (static_cast<double>(b.lon) - a.lon),
            Altitude(a) + f * (Altitude(b) - Altitude(a))};
  }

 private:
  std::span<const TrackPoint> points_;
  bool useBaro_;
};

int Bearing(const Moment& from, const Moment& to, bool in400) {
  UtmPosition a, b;
  LatLonToUtm(PositionOf(to), b);
  a.zone = b.zone;
  LatLonToUtm(PositionOf(from), a);
  const double east = b.easting - a.easting, north = b.northing - a.northing;
  if (std::hypot(east, north) < 10) return 0;
  const double full = in400 ? 400 : 360;
  double angle = std::atan2(east, north) * full / (2 * M_PI);
  if (angle < 0) angle += full;
  const int rounded = static_cast<int>(angle + 0.5);
  return rounded >= full ? 0 : rounded;
}

}  // namespace

FileWriteResult WriteCsvTrack(std::span<const TrackPoint> points, const CsvColumns& columns) {
  TextBuffer buffer(kCsvTextBufferStart);
  std::string header = "Date/time,Latitude,Longitude,H-GPS,H-Baro";
  if (columns.absTime) header += ",AbsTime";
  if (columns.relTime) header += ",RelTime";
  if (columns.relDist) header += ",RelDist";
  if (columns.accDist) header += ",AccDist";
  if (columns.bearingSeconds > 0) header += ",Bearing";
  if (columns.speedSeconds > 0) header += ",Speed";
  if (columns.varioSeconds > 0) header += ",Vario";
  (void)buffer.AppendLine(header + "\r\n");

  bool anyBaro = false;
  for (const TrackPoint& point : points) anyBaro = anyBaro || point.baroAlt != 0;
  const TrackLookBack lookBack(points, anyBaro);
  double accumulated = 0;
  std::string line;
  for (size_t i = 0; i < points.size() && !buffer.Failed(); ++i) {
    const TrackPoint& point = points[i];
    const SystemTime date = DateFromTrackTime(point.time);
    line = CFormat("%d-%02d-%02dT%02d:%02d:%02dZ,%.6f,%.6f,%d,%d", date.year, date.month, date.day, date.hour,
                   date.minute, date.second, SemicircleToDegrees(point.lat), SemicircleToDegrees(point.lon),
                   GpsAltitudeMetres(point.gpsAlt), point.baroAlt);
    const Moment here = lookBack.At(i);
    if (i > 0) accumulated += DistanceOrZero(PositionOf(lookBack.At(i - 1)), PositionOf(here));
    if (columns.absTime) {
      line += CFormat(",%d/%d/%d  %02d:%02d:%02d", date.day, date.month, date.year, date.hour, date.minute,
                      date.second);
    }
    if (columns.relTime) {
      const uint32_t elapsed = point.time >= points.front().time ? point.time - points.front().time : 0;
      line += CFormat(",%u:%02u:%02u", elapsed / 3600, elapsed / 60 % 60, elapsed % 60);
    }
    if (columns.relDist) line += CFormat(",%.3f", DistanceOrZero(PositionOf(lookBack.At(0)), PositionOf(here)) / 1000);
    if (columns.accDist) line += CFormat(",%.3f", accumulated / 1000);
    size_t below = 0;
    if (columns.bearingSeconds > 0) {
      line += CFormat(",%d", i == 0 ? 0
                                    : Bearing(lookBack.Before(i, columns.bearingSeconds, below), here,
                                              columns.bearing400));
    }
    if (columns.speedSeconds > 0) {
      double metres = 0;
      if (i > 0) {
        // The path since that moment: to the next point, then point by point.
        Moment from = lookBack.Before(i, columns.speedSeconds, below);
        for (size_t k = below + 1; k <= i; ++k) {
          const Moment next = lookBack.At(k);
          metres += DistanceOrZero(PositionOf(from), PositionOf(next));
          from = next;
        }
      }
      line += CFormat(",%.1f", metres * 3.6 / columns.speedSeconds);
    }
    if (columns.varioSeconds > 0) {
      const double climb = i == 0 ? 0 : here.alt - lookBack.Before(i, columns.varioSeconds, below).alt;
      line += CFormat(",%.1f", climb / columns.varioSeconds);
    }
    line += "\r\n";
    (void)buffer.AppendLine(line);
  }
  if (buffer.Failed()) return {{}, FileMessage{0, kMemoryAllocationError, kWriteCaption}};
  return {buffer.Take(), std::nullopt};
}

}  // namespace trelvik

namespace trelvik {

std::optional<FileMessage> ApplyCsvParameterTexts(const CsvParameterTexts& texts, CsvColumns& columns) {
  const struct {
    const std::string& text;
    const char* refusal;
  } fields[] = {{texts.bearing, "Bad bearing input"}, {texts.speed, "Bad speed input"}, {texts.vario, "Bad vario input"}};
  int32_t values[3] = {};
  for (int i = 0; i < 3; ++i) {
    if (ParseSignedInt(fields[i].text, values[i]) < 0) {
      return FileMessage{0, fields[i].refusal, "Check csv parameters"};
    }
  }
  // A negative window means no column, as 0 does.
  columns.bearingSeconds = std::max(values[0], 0);
  columns.speedSeconds = std::max(values[1], 0);
  columns.varioSeconds = std::max(values[2], 0);
  return std::nullopt;
}

}  // namespace trelvik
