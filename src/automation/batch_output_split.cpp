// The downloaded log split at its gaps before it is written.
#include <new>

#include "automation/batch_output.hpp"
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

}  // namespace trelvik
