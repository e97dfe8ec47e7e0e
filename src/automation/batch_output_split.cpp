// The downloaded log split at its gaps, and the file it is written to.
#include <new>

#include "automation/batch_output.hpp"
#include "automation/output_file_create.hpp"
#include "automation/output_file_name.hpp"
#include "base/message_box.hpp"
#include "records/text_buffer.hpp"

namespace trelvik {

SplitOutcome SplitForOutput(const TrackLog& log, const BatchOutputContext& context, std::string_view caption,
                            std::vector<TrackPoint>& points) {
  try {
    points = log.points;
    const SplitSettings split{context.settings.trackGapTime, context.job.noSplit != 0, context.settings.portName,
                              log.modelName};
    return SplitAtGaps(points, split, context.chooseSplit) > 0 ? SplitOutcome::Kept : SplitOutcome::Cancelled;
  } catch (const std::bad_alloc&) {
    points.clear();
    ShowError(context.ui, kMemoryAllocationError, caption);
    return SplitOutcome::Failed;
  }
}

std::optional<TrackOutputTarget> PrepareTrackOutput(const TrackLog& log, const BatchOutputContext& context,
                                                    std::string_view caption, int& ended) {
  ended = kOutputFailed;
  if (log.points.empty()) {
    ShowError(context.ui, "No positions", caption);
    return std::nullopt;
  }
  TrackOutputTarget target;
  switch (SplitForOutput(log, context, caption, target.points)) {
    case SplitOutcome::Kept: break;
    case SplitOutcome::Cancelled: ended = kOutputLeftAlone; return std::nullopt;
    case SplitOutcome::Failed: return std::nullopt;
  }
  target.path = ExpandDateInFileName(context.job.fileName, target.points.front().time, kFileNameLimit);
  switch (DecideOutputFile(context.ui, target.path, {context.job.overwrite != 0, context.hiddenWindow})) {
    case OutputFileDecision::Write: return target;
    case OutputFileDecision::Skip: ended = kOutputLeftAlone; return std::nullopt;
    case OutputFileDecision::Failed: context.cancelExit(); return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace trelvik
