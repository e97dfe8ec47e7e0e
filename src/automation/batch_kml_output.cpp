// KML_LOG: the downloaded log as a KML trip file.
#include "automation/batch_output.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/text_buffer.hpp"
#include "trackfiles/kml_track_file.hpp"

namespace trelvik {

int WriteBatchKml(const TrackLog& log, const BatchOutputContext& context) {
  constexpr const char* kCaption = "Download track log";
  int ended = kOutputFailed;
  std::optional<TrackOutputTarget> target = PrepareTrackOutput(log, context, kCaption, ended);
  if (!target) return ended;
  const std::vector<TrackPoint>& points = target->points;
  const std::string& path = target->path;
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
