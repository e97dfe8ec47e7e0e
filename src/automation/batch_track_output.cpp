// OZI_LOG, RD_LOG and MPS_LOG: the downloaded log in a format of the track
// file table.
#include "automation/batch_output.hpp"
#include "automation/output_file_create.hpp"
#include "automation/output_file_name.hpp"
#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "trackfiles/track_file_formats.hpp"

namespace trelvik {

int WriteBatchTrackFile(const TrackLog& log, const BatchOutputContext& context, std::string_view format,
                        TrackTime now) {
  constexpr const char* kCaption = "Download track log";
  const TrackFileFormat* row = FindTrackFileFormat(format);
  if (log.points.empty()) {
    ShowError(context.ui, "No positions", kCaption);
    return kOutputFailed;
  }
  std::vector<TrackPoint> points;
  switch (SplitForOutput(log, context, kCaption, points)) {
    case SplitOutcome::Kept: break;
    case SplitOutcome::Cancelled: return kOutputLeftAlone;
    case SplitOutcome::Failed: return kOutputFailed;
  }
  const std::string path = ExpandDateInFileName(context.job.fileName, points.front().time, kFileNameLimit);
  switch (DecideOutputFile(context.ui, path, {context.job.overwrite != 0, context.hiddenWindow})) {
    case OutputFileDecision::Write: break;
    case OutputFileDecision::Skip: return kOutputLeftAlone;
    case OutputFileDecision::Failed: context.cancelExit(); return kOutputFailed;
  }
  TrackFileRecords records;
  records.points = std::move(points);
  records.utcTimes = log.utcTimes;
  records.hasPressureAltitude = log.hasPressureAltitude;
  TrackWriteOptions options;
  options.now = now;
  const FileWriteResult written = row->write(records, options);
  if (written.error) {
    ShowError(context.ui, written.error->text, written.error->caption);
    return kOutputFailed;
  }
  if (const FileWriteError error = WriteFileAtomically(path, written.bytes)) {
    ShowSystemError(context.ui, "File write error", error.errorNumber);
    context.cancelExit();
    return kOutputFailed;
  }
  context.ui.SetStatus(CFormat("%d positions written", records.Count()));
  context.ui.SetProduct(path);
  return kOutputWritten;
}

}  // namespace trelvik
