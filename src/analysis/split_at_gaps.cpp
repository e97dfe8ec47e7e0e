#include "analysis/split_at_gaps.hpp"

#include <algorithm>

#include "base/c_format.hpp"
#include "records/track_time.hpp"

namespace trelvik {
namespace {

constexpr size_t kMaxSegments = 100;

}  // namespace

std::vector<GapSegment> FindGapSegments(const std::vector<TrackPoint>& points, int32_t trackGapTime) {
  std::vector<GapSegment> segments;
  if (points.empty()) return segments;
  std::vector<int32_t> starts{0};
  TrackTime latest = points[0].time;
  for (size_t i = 1; i < points.size() && starts.size() < kMaxSegments; ++i) {
    if (points[i].time <= latest) continue;  // neither splits nor moves the comparison time
    if (points[i].time - latest > static_cast<uint32_t>(std::max(trackGapTime, 0)) || (points[i].flags & kNewSegment)) {
      starts.push_back(static_cast<int32_t>(i));
    }
    latest = points[i].time;
  }
  for (size_t s = 0; s < starts.size(); ++s) {
    const int32_t first = starts[s];
    const int32_t end = s + 1 < starts.size() ? starts[s + 1] : static_cast<int32_t>(points.size());
    TrackTime last = points[first].time;
    for (int32_t i = first; i < end; ++i) last = std::max(last, points[i].time);
    segments.push_back({first, end - first, last - points[first].time});
  }
  return segments;
}

SplitLogDialog MakeSplitLogDialog(const std::vector<TrackPoint>& points, const std::vector<GapSegment>& segments,
                                  std::string_view portName, std::string_view modelName) {
  SplitLogDialog dialog;
  const std::string port(portName), model(modelName);
  dialog.title = model.empty() ? CFormat("Split track (%s)", port.c_str())
                               : CFormat("Split track (%s, %s)", port.c_str(), model.c_str());
  for (auto segment = segments.rbegin(); segment != segments.rend(); ++segment) {
    const SystemTime start = DateFromTrackTime(points[segment->first].time);
    dialog.lines.push_back(CFormat("%02d-%02d-%02d   %02d:%02d:%02d   %d:%02d:%02d", start.day, start.month, start.year,
                                   start.hour, start.minute, start.second, static_cast<int>(segment->seconds / 3600),
                                   static_cast<int>(segment->seconds / 60 % 60), static_cast<int>(segment->seconds % 60)));
  }
  return dialog;
}

int32_t SplitAtGaps(std::vector<TrackPoint>& points, const SplitSettings& settings, const SplitLogChooser& choose) {
  const int32_t count = static_cast<int32_t>(points.size());
  if (count <= 1 || settings.noSplit) return count;
  const std::vector<GapSegment> segments = FindGapSegments(points, settings.trackGapTime);
  if (segments.size() <= 1) return count;
  const SplitLogDialog dialog = MakeSplitLogDialog(points, segments, settings.portName, settings.modelName);
  const std::optional<std::vector<int32_t>> chosen = choose ? choose(dialog) : std::nullopt;
  std::vector<bool> keep(segments.size(), false);
  if (chosen) {
    for (const int32_t line : *chosen) {
      if (line >= 0 && line < static_cast<int32_t>(segments.size())) keep[segments.size() - 1 - line] = true;
    }
  }
  std::vector<TrackPoint> kept;
  for (size_t s = 0; s < segments.size(); ++s) {
    if (keep[s]) kept.insert(kept.end(), points.begin() + segments[s].first,
                             points.begin() + segments[s].first + segments[s].count);
  }
  points = std::move(kept);
  return static_cast<int32_t>(points.size());
}

}  // namespace trelvik
