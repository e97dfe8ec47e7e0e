#include "trackfiles/kml_track_file.hpp"

#include "analysis/flight_statistics.hpp"
#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"

namespace trelvik {
namespace {

constexpr const char* kWriteCaption = "Write GoogleEarth file";
constexpr const char* kTripCaption = "Making GoogleEarth track folder";
constexpr size_t kMinimumPoints = 5;
constexpr size_t kMaxFileName = 256;

}  // namespace

void FillKmlTripStatistics(std::span<const TrackPoint> points, KmlTripInput& input) {
  if (points.empty()) return;
  const FlightStatistics statistics = ComputeFlightStatistics(points);
  input.firstTime = statistics.firstTime;
  input.lastTime = statistics.lastTime;
  input.duration = statistics.duration;
  input.lowestAltitude = statistics.lowestAltitude;
  input.highestAltitude = statistics.highestAltitude;
  input.totalDistance = statistics.totalDistance;
  input.topSpeed = statistics.topSpeed;
  input.greatestMeanSpeed = statistics.greatestMeanSpeed;
  input.averageSpeed = statistics.averageSpeed;
  input.leastClimb = statistics.leastClimb;
  input.greatestClimb = statistics.greatestClimb;
}

namespace {

// Statistics and optimisation of `input.points`; on failure the message to show.
std::optional<KmlTripFailure> AnalyseKmlTrip(KmlTripInput& input, const OptimiseOptions& optimise) {
  FillKmlTripStatistics(input.points, input);
  input.loopFlightGap = optimise.loopFlightGap;
  if (OptimiseFlight(input.points, optimise, input.optimisation) != 0) {
    return KmlTripFailure{kOptimiseMemoryError, kAnalysingTrackCaption};
  }
  return std::nullopt;
}

std::string KmlTripTitle(const KmlTripInput& input) {
  const SystemTime date = DateFromTrackTime(input.points.front().time);
  return CFormat("%d-%02d-%02d", date.year, date.month, date.day);
}

std::optional<KmlTripFailure> TripFailure(int built) {
  if (built == 0) return std::nullopt;
  return KmlTripFailure{built == kKmlTripBadTitle ? "Wide character conversion error" : kMemoryAllocationError,
                        kTripCaption};
}

}  // namespace

std::optional<KmlTripFailure> AppendAnalysedKmlTrip(TextBuffer& buffer, KmlTripInput& input,
                                                    const OptimiseOptions& optimise,
                                                    std::optional<std::string_view> instrument) {
  if (std::optional<KmlTripFailure> failure = AnalyseKmlTrip(input, optimise)) return failure;
  return TripFailure(BuildKmlTrip(buffer, input, KmlTripTitle(input), instrument));
}

KmlTrackFileText FormatKmlTrackFile(std::span<const TrackPoint> points, int32_t isSigned, int32_t utcTimes,
                                    int32_t hasPressureAltitude, std::optional<std::string_view> instrument,
                                    const OptimiseOptions& optimise) {
  KmlTrackFileText file;
  if (points.size() < kMinimumPoints) {
    file.failure = KmlTripFailure{"Too few track positions", kWriteCaption};
    return file;
  }
  KmlTripInput input;
  input.points = points;
  input.isSigned = isSigned;
  input.utcTimes = utcTimes;
  input.hasPressureAltitude = hasPressureAltitude;
  file.failure = AnalyseKmlTrip(input, optimise);
  if (file.failure) return file;
  // The trip is written straight into the file's text: a long flight's text
  // is megabytes, and every copy of it touches fresh memory.
  try {
    file.text.reserve(kKmlFileHead.size() + KmlTripTextEstimate(points.size()) + kKmlFileTail.size());
    file.text.append(kKmlFileHead);
  } catch (const std::bad_alloc&) {
    file.failure = TripFailure(kKmlTripBufferFailed);
    return file;
  }
  file.failure = TripFailure(AppendKmlTrip(file.text, input, KmlTripTitle(input), instrument));
  if (!file.failure) {
    try {
      file.text.append(kKmlFileTail);
    } catch (const std::bad_alloc&) {
      file.failure = TripFailure(kKmlTripBufferFailed);
    }
  }
  if (file.failure) file.text = {};
  return file;
}

int WriteKmlTrackFile(UserInterface& ui, const KmlTrackFileTarget& target, std::span<const TrackPoint> points,
                      int32_t isSigned, int32_t utcTimes, int32_t hasPressureAltitude,
                      std::optional<std::string_view> instrument, const OptimiseOptions& optimise) {
  const KmlTrackFileText file =
      FormatKmlTrackFile(points, isSigned, utcTimes, hasPressureAltitude, instrument, optimise);
  if (file.failure) {
    ShowError(ui, file.failure->text, file.failure->caption);
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
  if (const FileWriteError error = WriteFileAtomically(path, file.text)) {
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
