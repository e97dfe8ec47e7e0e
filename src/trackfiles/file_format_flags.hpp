#pragma once
// What a file format holds and how it behaves, for the rows of the track and
// waypoint file tables. Whether a row reads or writes is whether it has the
// function.
#include <cstdint>
#include <optional>
#include <string>

#include "trackfiles/file_read_outcome.hpp"

namespace trelvik {

enum FileFormatFlag : uint32_t {
  kFormatHoldsTracks = 1u << 0,
  kFormatHoldsWaypoints = 1u << 1,
  kFormatKeyedHash = 1u << 2,         // the reader checks a signature the writer can make
  kFormatKeepsRawImage = 1u << 3,     // the file itself is kept, to be saved again unchanged
  kFormatAsksQuestions = 1u << 4,     // the reader may need an answer (NeedsAnswer)
};

// A writer's result: the whole file, or the message to show instead.
struct FileWriteResult {
  std::string bytes;
  std::optional<FileMessage> error;
};

}  // namespace trelvik
