#include "analysis/filter_settings.hpp"

#include "analysis/track_filters.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/number_parsers.hpp"

namespace trelvik {
namespace {

bool Blank(std::string_view field) { return field.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

std::string LoopGapFieldText(int32_t loopFlightGap) { return CFormat("%d", loopFlightGap); }

std::optional<int32_t> ReadLoopGapField(UserInterface& ui, std::string_view field) {
  if (Blank(field)) {
    ShowError(ui, "Missing input", "Set gap distance");
    return std::nullopt;
  }
  int32_t value = 0;
  if (ParseUnsignedInt(field, value) < 0) {
    ShowError(ui, "Bad input", "Set gap distance");
    return std::nullopt;
  }
  return value;
}

std::string VarioFilterFieldText(int32_t varioFilter) { return CFormat("%d", varioFilter); }

std::optional<int32_t> ReadVarioFilterField(UserInterface& ui, std::string_view field) {
  int32_t value = 0;  // an empty field parses as 0: filter off
  if (ParseUnsignedInt(field, value) < 0) {
    ShowError(ui, "Bad input", "Set vario filter");
    return std::nullopt;
  }
  return value;
}

std::string TrackGapFieldText(int32_t trackGapTimeSeconds) { return CFormat("%d", trackGapTimeSeconds / 60); }

std::optional<int32_t> ReadTrackGapField(std::string_view field) {
  int32_t minutes = 0;
  if (Blank(field) || ParseUnsignedInt(field, minutes) < 0 || minutes > INT32_MAX / 60) return std::nullopt;
  return minutes * 60;
}

int32_t ApplyDownloadFilters(UserInterface& ui, std::vector<TrackPoint>& points, const DownloadFilterSettings& settings) {
  const size_t before = points.size();
  if (!settings.downloadFilter) return static_cast<int32_t>(before);
  if (settings.timestampFilter && CountTimeReversals(points).count > 0) RemoveTimeReversals(points);
  if (settings.varioFilter > 0) (void)RemoveVarioSpikes(points, settings.varioFilter);
  if (settings.logFilter && !settings.noCheck) (void)SpeedAnalysisFilter(points);
  if (points.size() < before) {
    ShowInfo(ui, CFormat("%d points removed by filter(s)", static_cast<int>(before - points.size())), "Analyze track");
  }
  return static_cast<int32_t>(points.size());
}

}  // namespace trelvik
