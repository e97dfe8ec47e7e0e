#include "trackfiles/track_log_save.hpp"

#include <cstdlib>

#include "analysis/track_filters.hpp"
#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "geo/angles.hpp"
#include "geo/track_window.hpp"
#include "trackfiles/track_file_formats.hpp"

namespace trelvik {
namespace {

constexpr const char* kTitle = "Save track log";
constexpr double kDegreesPerRadian = 57.29577951307999939;

// The overwrite question, then the whole file at once; false after a fault.
bool WriteChosenFile(UserInterface& ui, const std::string& path, const std::string& bytes) {
  if (!CreateWithOverwriteQuestion(ui, path)) return false;
  if (const FileWriteError error = WriteFileAtomically(path, bytes)) {
    ShowSystemError(ui, "File write error", error.errorNumber);
    return false;
  }
  return true;
}

int32_t Failed(UserInterface& ui) {
  ui.SetStatus("");
  ui.SetProduct("");
  return 0;
}

}  // namespace

int32_t SaveTrackLogAs(TrackLog& log, std::vector<TrackPoint> selected, const SaveTrackLogContext& context) {
  UserInterface& ui = context.ui;
  const std::optional<ChosenTrackFile> file =
      ChooseTrackFile(ui, context.chooseFile, FileDialogKind::Save, kTitle, TrackFileSaveList(), TrackSaveChoices(),
                      context.exportIndex, context.folder);
  if (!file) return 0;
  if (file->format->write == nullptr) {
    // The TopNavigator row: the instrument's own log, unchanged.
    if (log.rawLog.empty()) {
      ShowError(ui, "No TopNav log downloaded", kTitle);
      return 0;
    }
    if (!WriteChosenFile(ui, file->path, log.rawLog)) return Failed(ui);
    log.saved = 1;
    ui.SetProduct(file->path);
    return 1;
  }
  if (selected.empty()) {
    ShowError(ui, "No position(s) selected", kTitle);
    return 0;
  }
  if (selected.size() == 1 && ui.Ask(QuestionKind::OkCancel, "Only one position selected, continue ?", kTitle) !=
                                  Answer::Ok) {
    return 0;
  }
  const int32_t removed = RemoveVarioSpikes(selected, context.varioFilter);
  if (removed > 0) ShowInfo(ui, CFormat("%d positions have been removed due to vario filtering", removed), kTitle);

  TrackFileRecords records;
  records.points = std::move(selected);
  records.utcTimes = log.utcTimes;
  records.hasPressureAltitude = log.hasPressureAltitude;
  TrackWriteOptions options;
  options.now = context.now;
  options.csv = context.csv;
  const FileWriteResult written = file->format->write(records, options);
  if (written.error) {
    ShowError(ui, written.error->text, written.error->caption);
    return Failed(ui);
  }
  if (!WriteChosenFile(ui, file->path, written.bytes)) return Failed(ui);
  ui.SetProduct(file->path);
  ui.SetStatus(CFormat("%d positions written", records.Count()));
  log.saved = 1;
  return records.Count();
}

std::string TrackClipboardText(std::span<const TrackPoint> points) {
  std::string text;
  text.reserve(points.size() * 80 + 1);
  for (size_t i = 0; i < points.size(); ++i) {
    const TrackPoint& point = points[i];
    const SystemTime t = DateFromTrackTime(point.time);
    const int32_t magnitude = std::abs(point.gpsAlt);
    text += CFormat("%4d-%02d-%02d, %02d:%02d:%02d, %.6f, %.6f, %c%d.%d, %.1f\r\n", t.year, t.month, t.day, t.hour,
                    t.minute, t.second, SemicircleToRadians(point.lat) * kDegreesPerRadian,
                    SemicircleToRadians(point.lon) * kDegreesPerRadian, point.gpsAlt < 0 ? '-' : ' ', magnitude / 10,
                    magnitude % 10, RecentSpeedAndClimb(points, i).speedKmh);
  }
  return text;
}

}  // namespace trelvik
