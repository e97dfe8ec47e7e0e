#pragma once
// What the line-based waypoint readers share: the "Bad line" stop, the strict
// ID rule with its question, the lenient ID rule and the rounding of heights.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "trackfiles/file_answers.hpp"
#include "trackfiles/waypoint_file_records.hpp"
#include "trackfiles/xml_waypoint_name.hpp"

namespace trelvik {

inline constexpr char kDecodingWaypointFile[] = "Decoding waypoint file";

// "Bad line %d" under the reader's caption; nothing is kept.
[[nodiscard]] WaypointFileRead BadLine(int lineNumber, std::string_view caption);

enum class IdStep { Take, Skip, Stop };

// The strict name rule of the Ozi, GEO and UTM readers: a clean name is taken;
// one that fails for its characters or length is asked about (interactive
// reads), a refused or cancelled one stops the reading.
class StrictIdRule {
 public:
  explicit StrictIdRule(FileAnswerReplay& replay, bool canAsk)
      : ask_(replay.ModifyId()), namer_(canAsk, ask_) {}
  StrictIdRule(const StrictIdRule&) = delete;
  StrictIdRule& operator=(const StrictIdRule&) = delete;

  IdStep Clean(std::string_view field, std::string& name);

 private:
  ModifyIdQuestion ask_;
  XmlWaypointNamer namer_;
};

// The first 6 characters up to a blank, lower case raised, other characters
// as "-"; nothing when the text is blank.
[[nodiscard]] std::optional<std::string> LenientId(std::string_view field);

inline constexpr double kMetresPerFoot = 0.3048;
inline constexpr double kFeetPerMetre = 3.28084;

}  // namespace trelvik
