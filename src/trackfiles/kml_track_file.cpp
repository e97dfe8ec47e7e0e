#include "trackfiles/kml_track_file.hpp"

#include <algorithm>

#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "geo/track_window.hpp"
#include "geo/vincenty.hpp"

namespace trelvik {
namespace {

constexpr const char* kWriteCaption = "Write GoogleEarth file";
constexpr size_t kMinimumPoints = 5;
constexpr size_t kMaxFileName = 256;
constexpr double kClimbLimit = 9999;

GeoPosition Position(const TrackPoint& point) { return SemicircleToRadians(point.lat, point.lon); }

}  // namespace

void FillKmlTripStatistics(std::span<const TrackPoint> points, KmlTripInput& input) {
  if (points.empty()) return;
  input.firstTime = points.front().time;
  input.lastTime = points.back().time;
  input.duration = input.lastTime - input.firstTime;
  int32_t lowest = points.front().gpsAlt;
  int32_t highest = points.front().gpsAlt;
  double total = 0;
  double topSpeed = 0;
  double meanSpeed = 0;
  double leastClimb = 0;
  double greatestClimb = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    lowest = std::min(lowest, points[i].gpsAlt);
    highest = std::max(highest, points[i].gpsAlt);
    if (i > 0) total += DistanceOrZero(Position(points[i - 1]), Position(points[i]));
    const int64_t elapsed = int64_t{points[i].time} - int64_t{input.firstTime};
    if (elapsed > 10) topSpeed = std::max(topSpeed, SpeedOverWindow(points, i, 10));
    if (elapsed > 60) {
      const SpeedAndClimb recent = RecentSpeedAndClimb(points, i);
      meanSpeed = std::max(meanSpeed, recent.speedKmh);
      leastClimb = std::min(leastClimb, recent.climbMs);
      greatestClimb = std::max(greatestClimb, recent.climbMs);
    }
  }
  input.lowestAltitude = GpsAltitudeMetres(lowest);
  input.highestAltitude = GpsAltitudeMetres(highest);
  input.totalDistance = total;
  input.topSpeed = topSpeed;
  input.greatestMeanSpeed = meanSpeed;
  // A flight whose first and last times are equal has no average speed.
  input.averageSpeed = input.duration > 0 ? total / input.duration * 3.6 : 0;
  input.leastClimb = std::max(leastClimb, -kClimbLimit);
  input.greatestClimb = std::min(greatestClimb, kClimbLimit);
}

int WriteKmlTrackFile(UserInterface& ui, const KmlTrackFileTarget& target, std::span<const TrackPoint> points,
                      int32_t isSigned, int32_t utcTimes, int32_t hasPressureAltitude,
                      std::optional<std::string_view> instrument, const OptimiseOptions& optimise) {
  if (points.size() < kMinimumPoints) {
    ShowError(ui, "Too few track positions", kWriteCaption);
    return -1;
  }
  KmlTripInput input;
  input.points = points;
  input.isSigned = isSigned;
  input.utcTimes = utcTimes;
  input.hasPressureAltitude = hasPressureAltitude;
  FillKmlTripStatistics(points, input);
  input.loopFlightGap = optimise.loopFlightGap;
  if (OptimiseFlight(points, optimise, input.optimisation) != 0) {
    ShowError(ui, kOptimiseMemoryError, kAnalysingTrackCaption);
    return -1;
  }

  TextBuffer buffer(kKmlTripBufferStart);
  const SystemTime date = DateFromTrackTime(points.front().time);
  const int built = BuildKmlTrip(buffer, input, CFormat("%d-%02d-%02d", date.year, date.month, date.day), instrument);
  if (built != 0) {
    ShowError(ui, built == kKmlTripBadTitle ? "Wide character conversion error" : kMemoryAllocationError,
              "Making GoogleEarth track folder");
    return -1;
  }

  std::string path = target.name;
  if (!target.decided) {
    path += ".kml";
    if (path.size() > kMaxFileName) {
      ShowError(ui, "File name too long", kWriteCaption);
      return -1;
    }
    if (!target.overwrite && FileExists(path)) {
      ShowError(ui, "File already exists", kWriteCaption);
      return -1;
    }
  }
  const std::string text = std::string(kKmlFileHead) + buffer.Text() + std::string(kKmlFileTail);
  if (const FileWriteError error = WriteFileAtomically(path, text)) {
    if (error.operation == "create") {
      ShowError(ui, "File creation error", kWriteCaption);
    } else {
      ShowSystemError(ui, "File write error", error.errorNumber);
    }
    return -1;
  }
  return 0;
}

}  // namespace trelvik
