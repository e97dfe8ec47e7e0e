#pragma once
// The menu toggles and settings dialogs of the filters and of the loop
// optimisation, without their windows: labels, field texts, the reading of
// a field with its messages, and the filters run after a download.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/user_interface.hpp"
#include "records/track_point.hpp"

namespace trelvik {

inline constexpr std::string_view kSpeedFilterToggle = "Track log filter (&speed analysis)";
inline constexpr std::string_view kTimestampFilterToggle = "Timestamp filter (&time analysis)";
inline constexpr std::string_view kDownloadFilterToggle = "Use filter(s) during download";
inline constexpr std::string_view kVarioFilterMenu = "Set vario filter (&height analysis)";
inline constexpr std::string_view kTrackGapMenu = "Set track &gap filter time";
inline constexpr std::string_view kVarioFilterDialog = "Vario filter";
inline constexpr std::string_view kTrackGapDialog = "Set Track Gap Time";
inline constexpr std::string_view kLoopGapMenu = "Set loop flight gap";
inline constexpr std::string_view kLoopGapDialog = "Loop flight gap distance";
inline constexpr std::string_view kLoopGapNote =
    "Set the maximum allowable loop flight gap distance in meters, e.g. 2 x 400m = 800m.";
inline constexpr std::string_view kLoopGapZeroNote =
    "Setting the value to zero disables the out-and-return and triangle optimisation calculation.";

// "Loop flight gap distance": the field shows the setting as "%d"; OK reads
// a whole number. Empty: "Missing input", unreadable: "Bad input" (caption
// "Set gap distance"); nothing is returned and the dialog stays open.
std::string LoopGapFieldText(int32_t loopFlightGap);
[[nodiscard]] std::optional<int32_t> ReadLoopGapField(UserInterface& ui, std::string_view field);

// "Vario filter": "%d"; empty sets 0 (off); unreadable: "Bad input" / "Set vario filter".
std::string VarioFilterFieldText(int32_t varioFilter);
[[nodiscard]] std::optional<int32_t> ReadVarioFilterField(UserInterface& ui, std::string_view field);
// The menu check mark of the vario filter follows its value.
constexpr bool VarioFilterChecked(int32_t varioFilter) { return varioFilter != 0; }

// "Set Track Gap Time": shows the setting in minutes; OK with a whole number
// returns it in seconds; an empty or unreadable field gives nothing, silently.
std::string TrackGapFieldText(int32_t trackGapTimeSeconds);
[[nodiscard]] std::optional<int32_t> ReadTrackGapField(std::string_view field);

struct DownloadFilterSettings {
  bool downloadFilter = false;   // DownloadFilter
  bool timestampFilter = false;  // TimestampFilter
  int32_t varioFilter = 0;       // VarioFilter
  bool logFilter = true;         // LogFilter
  bool noCheck = false;          // the command line's NOCHECK
};

// The filters after a finished download, in order: timestamp (when on and
// time reversals exist), vario, speed analysis (when on and not NOCHECK).
// Shows "%d points removed by filter(s)" (caption "Analyze track") when the
// count went down. A speed analysis that finds no plausible run leaves the
// log as the other filters left it. Returns the new count.
int32_t ApplyDownloadFilters(UserInterface& ui, std::vector<TrackPoint>& points, const DownloadFilterSettings& settings);

}  // namespace trelvik
