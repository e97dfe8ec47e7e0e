#pragma once
// CSV track logs: a header line naming the columns, one position per line,
// and on writing the optional derived columns of "Set additional csv parameters".
#include <cstdint>
#include <span>
#include <optional>
#include <string>
#include <string_view>

#include "records/track_point.hpp"
#include "trackfiles/file_format_flags.hpp"
#include "trackfiles/track_file_records.hpp"

namespace trelvik {

// The derived columns (the Csv* settings); a window of 0 seconds leaves its column out.
struct CsvColumns {
  bool absTime = false;
  bool relTime = false;
  bool relDist = false;
  bool accDist = false;
  int32_t bearingSeconds = 0;
  bool bearing400 = false;  // bearing in 400ths of a turn
  int32_t speedSeconds = 0;
  int32_t varioSeconds = 0;
};

// The three window fields of "Set additional csv parameters" (seconds; empty
// counts 0) checked as OK checks them; nothing is changed on a refusal, whose
// text ("Bad bearing input", ...) comes back under "Check csv parameters".
struct CsvParameterTexts {
  std::string bearing;
  std::string speed;
  std::string vario;
};
[[nodiscard]] std::optional<FileMessage> ApplyCsvParameterTexts(const CsvParameterTexts& texts, CsvColumns& columns);

// Errors come back under "Read CSV track log file" with the line's number.
[[nodiscard]] TrackFileRead ReadCsvTrack(std::string_view text);

[[nodiscard]] FileWriteResult WriteCsvTrack(std::span<const TrackPoint> points, const CsvColumns& columns);

}  // namespace trelvik
