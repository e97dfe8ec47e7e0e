#pragma once
// The texts of the OLC dialog: every result with its points, the best result
// and the progress percentage.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "analysis/olc/olc_result.hpp"
#include "records/track_point.hpp"

namespace trelvik::olc {

struct ResultSection {
  std::string title;               // "MAX. DISTANCE (Start point A, end point B)  (Not an OLC parameter)"
  std::vector<std::string> lines;  // one per point: letter, index, time, position, leg from the line before
  std::string total;               // "%.2f km", the "Check:" gap of a triangle after it
};

// The two-point distance, the free distance, the out-and-return flight and
// the two triangles, in the dialog's order; a search without a result shows
// its title and no lines.
std::vector<ResultSection> ResultSections(const OlcResult& result, std::span<const TrackPoint> points);

// "Best result is free distance with %.2f points" and its kin.
std::string BestResultText(const OlcResult& result);

// "%d %%" of done / total, rounded; "Done:" above 99 %.
std::string ProgressText(int64_t done, int64_t total);

}  // namespace trelvik::olc
