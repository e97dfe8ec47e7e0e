// OZI_LOG, RD_LOG and MPS_LOG: the downloaded log in a format of the track
// file table.
#include "automation/batch_output.hpp"
#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "trackfiles/track_file_formats.hpp"

namespace trelvik {

int WriteBatchTrackFile(const TrackLog& log, const BatchOutputContext& context, std::string_view format,
                        TrackTime now) {
  constexpr const char* kCaption = "Download track log";
  const TrackFileFormat* row = FindTrackFileFormat(format);
  int ended = kOutputFailed;
  std::optional<TrackOutputTarget> target = PrepareTrackOutput(log, context, kCaption, ended);
  if (!target) return ended;
  TrackFileRecords records;
  records.points = std::move(target->points);
  records.utcTimes = log.utcTimes;
  records.hasPressureAltitude = log.hasPressureAltitude;
  TrackWriteOptions options;
  options.now = now;
  const FileWriteResult written = row->write(records, options);
  if (written.error) {
    ShowError(context.ui, written.error->text, written.error->caption);
    return kOutputFailed;
  }
  if (const FileWriteError error = WriteFileAtomically(target->path, written.bytes)) {
    ShowSystemError(context.ui, "File write error", error.errorNumber);
    context.cancelExit();
    return kOutputFailed;
  }
  context.ui.SetStatus(CFormat("%d positions written", records.Count()));
  context.ui.SetProduct(target->path);
  return kOutputWritten;
}

}  // namespace trelvik
