// KML_LOG: the downloaded log as a KML trip file.
#include "automation/batch_output.hpp"
#include "automation/output_file_create.hpp"
#include "automation/output_file_name.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/text_buffer.hpp"
#include "trackfiles/kml_track_file.hpp"

namespace trelvik {

int WriteBatchKml(const TrackLog& log, const BatchOutputContext& context) {
  constexpr const char* kCaption = "Download track log";
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
  const OptimiseOptions optimise{context.settings.loopFlightGap, context.job.noLoopOpt != 0};
  const std::optional<std::string_view> instrument =
      log.description.empty() ? std::nullopt : std::optional<std::string_view>(log.description);
  if (WriteKmlTrackFile(context.ui, {path, true, context.job.overwrite != 0}, points, log.signable, log.utcTimes,
                        log.hasPressureAltitude, instrument, optimise) != 0) {
    return kOutputFailed;
  }
  context.ui.SetStatus(CFormat("%d positions written", static_cast<int>(points.size())));
  context.ui.SetProduct(path);
  return kOutputWritten;
}

}  // namespace trelvik
