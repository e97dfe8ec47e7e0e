#include "competition/competition_output.hpp"

#include <algorithm>
#include <cstring>

#include "analysis/optimise_flight.hpp"
#include "analysis/track_filters.hpp"
#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "competition/competition_file_name.hpp"
#include "records/text_buffer.hpp"
#include "trackfiles/igc_encoder.hpp"
#include "trackfiles/kml_track_file.hpp"
#include "trackfiles/kml_trip.hpp"

namespace trelvik {
namespace {

constexpr size_t kFewestPositions = 10;
constexpr double kClimbLimit = 9999.0;
constexpr const char* kCompetitionTitle = "Tracklog from Trelvik competition mode";

bool BadTimestamp(TrackTime time) { return time == 0 || time == 2147483647u || time == 0xFFFFFFFFu; }

CompetitionOutput Outcome(CompetitionOutcome outcome, CompetitionOutput output = {}) {
  output.outcome = outcome;
  return output;
}

// The filters of the output, each reporting what it removed. False after
// "too few" was shown.
bool FilterForOutput(UserInterface& ui, std::vector<TrackPoint>& points, const CompetitionOutputSettings& settings) {
  if (points.size() < kFewestPositions) {
    ShowError(ui, "Too few positions for statistics analysis", kSaveCompetitionCaption);
    return false;
  }
  if (settings.varioFilter > 0 && RemoveVarioSpikes(points, settings.varioFilter) > 0) {
    ShowInfo(ui, "Position(s) have been removed due to vario filtering", kSaveCompetitionCaption);
    if (points.size() < kFewestPositions) {
      ShowError(ui, "Too few positions for statistics analysis", kSaveCompetitionCaption);
      return false;
    }
  }
  if (settings.speedFilter) {
    const size_t before = points.size();
    const int32_t left = SpeedAnalysisFilter(points);
    if (left < static_cast<int32_t>(kFewestPositions)) {
      ShowError(ui, "Too few positions left after track speed analysis", kSaveCompetitionCaption);
      return false;
    }
    if (static_cast<size_t>(left) != before) {
      ShowInfo(ui, "Position(s) have been removed during track speed analysis", kSaveCompetitionCaption);
    }
  }
  return true;
}

enum class FileStep { Written, AlreadyThere, Failed };

// Writes one output file: a command-line run leaves an existing file alone.
FileStep WriteOutputFile(UserInterface& ui, const std::string& path, std::string_view bytes, bool commandLineRun) {
  if (commandLineRun && FileExists(path)) {
    ui.SetStatus("\"" + path + "\" already processed");
    return FileStep::AlreadyThere;
  }
  if (const FileWriteError error = WriteFileAtomically(path, bytes)) {
    if (error.operation == "create") {
      ShowError(ui, CFormat("Error opening file: %s", std::strerror(error.errorNumber)), kSaveCompetitionCaption);
    } else {
      ShowError(ui, "File write error", kSaveCompetitionCaption);
    }
    return FileStep::Failed;
  }
  ui.SetStatus("\"" + path + "\" written");
  return FileStep::Written;
}

std::string IgcText(const TrackLog& log, std::span<const TrackPoint> points, bool& isSigned) {
  IgcEncoderInput input;
  input.points = points;
  input.signable = log.signable;
  input.pilot = log.pilotName;
  input.competitionId = log.compId >= 0 ? std::to_string(log.compId) : std::string();
  input.description = log.description;
  input.serial = "000";
  input.downloadTime = log.downloadTime;
  input.wantSecurity = true;  // written only when the log is signable
  EncodedIgc encoded = EncodeIgc(input);
  isSigned = encoded.isSigned;
  return encoded.length > 0 ? std::move(encoded.text) : std::string();
}

// The KML file's text, or empty after the failure was shown.
std::string KmlText(UserInterface& ui, const TrackLog& log, std::span<const TrackPoint> points,
                    const CompetitionOutputSettings& settings, const SystemTime& now) {
  KmlTripInput input;
  input.points = points;
  FillKmlTripStatistics(points, input);
  input.leastClimb = std::clamp(input.leastClimb, -kClimbLimit, kClimbLimit);
  input.greatestClimb = std::clamp(input.greatestClimb, -kClimbLimit, kClimbLimit);
  input.isSigned = log.signable != 0 ? 1 : 0;
  if (log.signable != 0) input.downloaded = TrackTimeFromDate(now);
  input.hasIds = 1;
  input.compId = log.compId;
  input.civlId = log.civlId;
  input.utcTimes = log.utcTimes;
  input.hasPressureAltitude = log.hasPressureAltitude;
  input.loopFlightGap = settings.loopFlightGap;
  const OptimiseOptions optimise{settings.loopFlightGap, settings.noLoopOptimisation};
  if (OptimiseFlight(points, optimise, input.optimisation) != 0) {
    ShowError(ui, kMemoryAllocationError, kAnalysingTrackCaption);
    return {};
  }
  TextBuffer buffer(kKmlTripBufferStart);
  const std::optional<std::string_view> instrument =
      log.description.empty() ? std::nullopt : std::optional<std::string_view>(log.description);
  if (BuildKmlTrip(buffer, input, kCompetitionTitle, instrument) != 0) {
    ShowError(ui, kMemoryAllocationError, kSaveCompetitionCaption);
    return {};
  }
  return std::string(kKmlFileHead) + buffer.Text() + std::string(kKmlFileTail);
}

}  // namespace

CompetitionPoints PointsInCompetitionWindow(std::span<const TrackPoint> points, TrackTime start, TrackTime stop) {
  CompetitionPoints kept;
  const bool window = start == 0 || stop == 0 || start < stop;
  kept.points.reserve(points.size());
  for (const TrackPoint& point : points) {
    if (BadTimestamp(point.time)) {
      kept.badTimestamps = true;
      continue;
    }
    if (window && ((start != 0 && point.time < start) || (stop != 0 && point.time > stop))) {
      kept.outsideWindow = true;
      continue;
    }
    kept.points.push_back(point);
  }
  return kept;
}

CompetitionOutput SaveCompetitionOutput(UserInterface& ui, TrackLog& log, std::span<const TrackPoint> points,
                                        const CompetitionOutputSettings& settings, const SplitLogChooser& chooseSplit,
                                        const SystemTime& now) {
  CompetitionPoints kept = PointsInCompetitionWindow(points, settings.timeStart, settings.timeStop);
  if (!kept.points.empty()) (void)SplitAtGaps(kept.points, settings.split, chooseSplit);
  if (kept.points.empty()) {
    std::string text = "No positions found";
    if (kept.badTimestamps) text += "\r\nSome removed due to bad timestamp";
    if (kept.outsideWindow) text += "\r\nSome removed due to time filtering";
    ShowError(ui, text, kSaveCompetitionCaption);
    return Outcome(CompetitionOutcome::NothingToWrite);
  }
  std::vector<TrackPoint>& flight = kept.points;
  if (!FilterForOutput(ui, flight, settings)) return Outcome(CompetitionOutcome::NothingToWrite);

  // The first fix names the files, so that the same flight downloaded twice
  // finds the files of the first download.
  const std::optional<std::string> base = CompetitionFileBase(settings.compDir, log.pilotName, log.civlId, log.compId,
                                                              DateFromTrackTime(flight.front().time));
  if (!base) {
    ShowError(ui, "Too long filename", kSaveCompetitionCaption);
    return Outcome(CompetitionOutcome::Failed);
  }
  CompetitionOutput output;
  output.kmlPath = *base + ".kml";
  if (settings.writeIgc) output.igcPath = *base + ".igc";
  bool everyFileThere = true;

  if (settings.writeIgc) {
    bool isSigned = false;
    const std::string igc = IgcText(log, flight, isSigned);
    if (igc.empty()) {
      ShowError(ui, kMemoryAllocationError, kSaveCompetitionCaption);
      return Outcome(CompetitionOutcome::Failed, output);
    }
    switch (WriteOutputFile(ui, output.igcPath, igc, settings.commandLineRun)) {
      case FileStep::Failed: return Outcome(CompetitionOutcome::Failed, output);
      case FileStep::AlreadyThere: break;
      case FileStep::Written:
        everyFileThere = false;
        ui.SetStatus(isSigned ? "File saved, signature OK" : "File saved, NO signature");
        break;
    }
  }
  const std::string kml = KmlText(ui, log, flight, settings, now);
  if (kml.empty()) return Outcome(CompetitionOutcome::Failed, output);
  switch (WriteOutputFile(ui, output.kmlPath, kml, settings.commandLineRun)) {
    case FileStep::Failed: return Outcome(CompetitionOutcome::Failed, output);
    case FileStep::AlreadyThere: break;
    case FileStep::Written:
      everyFileThere = false;
      log.saved = 1;
      break;
  }
  return Outcome(everyFileThere ? CompetitionOutcome::AlreadyProcessed : CompetitionOutcome::Written, output);
}

}  // namespace trelvik
