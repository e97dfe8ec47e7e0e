#include "analysis/graphs/graph_intervals.hpp"

#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/number_parsers.hpp"

namespace trelvik {

std::array<std::string, 3> GraphIntervalFieldTexts(const GraphIntervals& intervals) {
  return {CFormat("%d", intervals.varioSeconds), CFormat("%d", intervals.glideSeconds),
          CFormat("%d", intervals.polarPoints)};
}

std::optional<GraphIntervals> ReadGraphIntervalFields(UserInterface& ui, const std::array<std::string, 3>& fields) {
  std::array<int32_t, 3> values{};
  for (size_t i = 0; i < fields.size(); ++i) {
    // An empty field parses as 0, which is refused with the rest.
    if (ParseSignedInt(fields[i], values[i]) < 0 || values[i] <= 0) {
      ShowError(ui, "Bad input", "Decode input");
      return std::nullopt;
    }
  }
  return GraphIntervals{values[0], values[1], values[2]};
}

}  // namespace trelvik
