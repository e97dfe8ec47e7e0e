#include "trackfiles/track_log_open.hpp"

#include "analysis/track_filters.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/track_stores.hpp"
#include "trackfiles/file_answers.hpp"
#include "trackfiles/file_read_report.hpp"
#include "trackfiles/igc_file_read.hpp"
#include "trackfiles/igc_reader.hpp"
#include "trackfiles/track_file_formats.hpp"
#include "trackfiles/xml_track_list.hpp"

namespace trelvik {
namespace {

constexpr const char* kTitle = "Read track log";

std::string DateTimeText(TrackTime time) {
  const SystemTime t = DateFromTrackTime(time);
  return CFormat("%d-%02d-%02d  %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

std::optional<std::string> ReadChosenFile(UserInterface& ui, const std::string& path) {
  IgcFileBytes file = ReadIgcFileBytes(path);
  switch (file.fault) {
    case IgcFileFault::None: return std::move(file.bytes);
    case IgcFileFault::Open: ShowSystemError(ui, "Error opening file", file.errorNumber); break;
    case IgcFileFault::Size: ShowError(ui, "Error opening track log file", kTitle); break;
    case IgcFileFault::Empty: ShowError(ui, "File is empty", kTitle); break;
    case IgcFileFault::Memory: ShowError(ui, "File buffer memory allocation", kTitle); break;
    case IgcFileFault::Read: ShowSystemError(ui, "Track log file read error", file.errorNumber); break;
  }
  return std::nullopt;
}

}  // namespace

NewLogSummary SummariseLog(const std::vector<TrackPoint>& points) {
  if (points.empty()) return {};
  const TrackTime first = points.front().time, last = points.back().time;
  const uint32_t seconds = last >= first ? last - first : 0;
  return {DateTimeText(first), DateTimeText(last),
          CFormat("%02u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60)};
}

bool AppendTrackLog(UserInterface& ui, TrackLog& log, std::vector<TrackPoint> incoming, bool incomingHasPressure,
                    const SystemTime& now) {
  if (log.points.empty() || incoming.empty() || incoming.front().time <= log.points.back().time) {
    ShowError(ui, "New track overlaps current one", "Append track");
    return false;
  }
  incoming.front().flags = 0;
  std::vector<TrackPoint> joined = log.points;
  joined.insert(joined.end(), incoming.begin(), incoming.end());
  // A log of which only one part has pressure altitudes has none to speak of.
  const bool pressure = log.hasPressureAltitude != 0 && incomingHasPressure;
  InstallFileLog(log, std::move(joined), false, pressure, now);
  return true;
}

int32_t OpenTrackLog(TrackLog& log, const OpenTrackLogContext& context) {
  UserInterface& ui = context.ui;
  const std::optional<ChosenTrackFile> file =
      ChooseTrackFile(ui, context.chooseFile, FileDialogKind::Open, kTitle, TrackFileOpenList(), TrackOpenChoices(),
                      context.importIndex, context.folder);
  if (!file) return 0;
  const std::optional<std::string> bytes = ReadChosenFile(ui, file->path);
  if (!bytes) return 0;

  FileReadContext readContext;
  readContext.now = TrackTimeFromDate(context.now);
  readContext.utcOffsetForTn = context.utcOffsetForTn;
  const FileQuestionAsker ask = [&context](const FileQuestion& question) {
    return ChooseTrack(context.chooseTrack, question.trackList);
  };
  TrackFileRead read = ReadAnswering<TrackFileRecords>(
      [&](const FileReadContext& answered) { return file->format->read(*bytes, answered); }, readContext, ask,
      [&ui](const FileNotice& notice) { ShowFileNotice(ui, notice); });
  ui.SetProduct(file->path);
  if (!ShowFileReadError(ui, read.status, read.error)) return 0;
  TrackFileRecords& records = read.records;
  if (records.points.empty()) {
    ui.SetStatus("No positions found");
    return 0;
  }

  const TimeReversals reversals = CountTimeReversals(records.points);
  if (reversals.count > 0) {
    const std::string question = CFormat(
        "One or more positions (the first at pos. %d) go backwards in time. Remove ?", reversals.firstIndex + 1);
    switch (ui.Ask(QuestionKind::YesNoCancel, question, kTitle)) {
      case Answer::Yes:
        RemoveTimeReversals(records.points);
        records.signatureValid = 0;
        break;
      case Answer::No: break;
      default: ui.SetStatus("Operation aborted"); return 0;
    }
  }

  const int32_t count = records.Count();
  if (!log.Empty()) {
    switch (context.askNewLog({SummariseLog(log.points), SummariseLog(records.points)})) {
      case NewLogAnswer::Overwrite: break;
      case NewLogAnswer::Cancel: return 0;
      case NewLogAnswer::Append:
        if (!AppendTrackLog(ui, log, std::move(records.points), records.hasPressureAltitude != 0, context.now)) {
          return 0;
        }
        ui.SetStatus(CFormat("%d positions read", count));
        return count;
    }
  }
  InstallFileLog(log, std::move(records.points), records.utcTimes != 0, records.hasPressureAltitude != 0,
                 context.now);
  // An IGC file stays at hand, for the claim file of the OLC and "Save IGC log from GPS".
  if (records.rawIgc) InstallRawIgcImage(log, std::move(*records.rawIgc));
  ui.SetStatus(CFormat(records.signatureValid == 2 ? "%d positions read (Signature ok)" : "%d positions read", count));
  return count;
}

}  // namespace trelvik
