#include "analysis/rotate_track.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/message_box.hpp"
#include "geo/position_text.hpp"

namespace trelvik {
namespace {

constexpr std::string_view kDecodeCaption = "Decode position";
constexpr double kOneArcSecond = 3314.017975309;  // in semicircles

// One field: empty is "Missing ...", unreadable "Bad ..." (which = "start latitude" ...).
bool ReadAngle(UserInterface& ui, const std::string& text, bool isLatitude, std::string_view which, double& radians) {
  if (text.find_first_not_of(' ') == std::string::npos) {
    ShowError(ui, "Missing " + std::string(which) + " input", kDecodeCaption);
    return false;
  }
  if (ParseLatLonText(text, isLatitude, radians) < 0) {
    ShowError(ui, "Bad " + std::string(which) + " input", kDecodeCaption);
    return false;
  }
  return true;
}

}  // namespace

bool CheckRotateSelection(UserInterface& ui, bool logLoaded, int32_t selectedCount) {
  if (!logLoaded) {
    ShowError(ui, "No positions loaded", kRotateCaption);
    return false;
  }
  if (selectedCount <= 0) {
    ShowError(ui, "No position(s) selected", kRotateCaption);
    return false;
  }
  if (selectedCount == 1) return AskOkCancel(ui, "Only one position selected, continue ?", kRotateCaption) == Answer::Ok;
  return true;
}

std::optional<RotatePositions> ReadRotateFields(UserInterface& ui, const RotateTrackFields& fields) {
  RotatePositions p;
  if (!ReadAngle(ui, fields.startLatitude, true, "start latitude", p.start.lat) ||
      !ReadAngle(ui, fields.startLongitude, false, "start longitude", p.start.lon) ||
      !ReadAngle(ui, fields.endLatitude, true, "end latitude", p.end.lat) ||
      !ReadAngle(ui, fields.endLongitude, false, "end longitude", p.end.lon)) {
    return std::nullopt;
  }
  if (std::fabs(p.start.lat - p.end.lat) * kSemicirclesPerRadian < kOneArcSecond &&
      std::fabs(p.start.lon - p.end.lon) * kSemicirclesPerRadian < kOneArcSecond) {
    ShowError(ui, "Positions are too close", kDecodeCaption);
    return std::nullopt;
  }
  return p;
}

void RotatePoints(std::vector<TrackPoint>& points, const RotatePositions& positions) {
  const double sinStart = std::sin(positions.start.lat), cosStart = std::cos(positions.start.lat);
  struct Une {
    double up, north, east;
  };
  auto toLocal = [&](double lat, double lon) {
    const double dLon = lon - positions.start.lon;
    return Une{sinStart * std::sin(lat) + cosStart * std::cos(lat) * std::cos(dLon),
               cosStart * std::sin(lat) - sinStart * std::cos(lat) * std::cos(dLon), std::cos(lat) * std::sin(dLon)};
  };
  const Une end = toLocal(positions.end.lat, positions.end.lon);
  const double d = std::sqrt(end.north * end.north + end.east * end.east);
  // An end antipodal to the start has no direction; north is taken.
  const double n = d > 0 ? end.north / d : 1, e = d > 0 ? end.east / d : 0;
  auto arcSine = [](double x) { return std::asin(std::clamp(x, -1.0, 1.0)); };
  for (TrackPoint& point : points) {
    const Une local = toLocal(SemicircleToRadians(point.lat), SemicircleToRadians(point.lon));
    const double lat = arcSine(local.north * e - local.east * n);
    double lon = arcSine(local.north * n + local.east * e);
    if (local.up < 0) lon = 3.14159265358979 - lon;
    if (lon > M_PI) lon -= 2 * M_PI;  // keeps the stored angle inside its 32 bits
    point.lat = RadiansToSemicircle(lat);
    point.lon = RadiansToSemicircle(lon);
  }
}

void InstallRotatedTrack(TrackLog& log, std::vector<TrackPoint> rotated) {
  log.points = std::move(rotated);
  log.description.clear();
}

}  // namespace trelvik
