#pragma once
// "Set view intervals": the averaging intervals of the vario, glide and polar
// views. They live as long as the program runs and are never saved.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/user_interface.hpp"

namespace trelvik {

inline constexpr std::string_view kViewIntervalsDialog = "Set view intervals";
inline constexpr std::string_view kVarioIntervalLabel = "Vario interval (s)";
inline constexpr std::string_view kGlideIntervalLabel = "Glide interval (s)";
inline constexpr std::string_view kPolarIntervalLabel = "Polar interval";
inline constexpr std::string_view kPolarIntervalUnit = "(track points)";

struct GraphIntervals {
  int32_t varioSeconds = 20;
  int32_t glideSeconds = 20;
  int32_t polarPoints = 1;  // the polar view compares each point with the one this many before it
  bool operator==(const GraphIntervals&) const = default;
};

// The three fields as the dialog shows them ("%d"), vario first.
std::array<std::string, 3> GraphIntervalFieldTexts(const GraphIntervals& intervals);

// Reads the three fields. Each must be a whole number above zero: a negative
// interval would reach before the first entry of a series. Anything else
// shows "Bad input" (caption "Decode input") and gives nothing, so the dialog
// stays open.
[[nodiscard]] std::optional<GraphIntervals> ReadGraphIntervalFields(UserInterface& ui,
                                                                    const std::array<std::string, 3>& fields);

}  // namespace trelvik
