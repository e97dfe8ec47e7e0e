// One line-based waypoint reader (the row named by TRELVIK_WAYPOINT_FORMAT) on
// arbitrary bytes: quietly, and answering each name question in turn. What it
// reads, its own writer must write so that the reader takes it back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "../kml/waypoint_checks.hpp"
#include "waypoints/waypoint_file_formats.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace trelvik;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const WaypointFileFormat& row = *FindWaypointFileFormat(TRELVIK_WAYPOINT_FORMAT);

  FileReadContext quiet;
  quiet.canAsk = false;
  fuzz::CheckWaypoints(row.read(input, quiet));

  const ModifyIdQuestion cycling = fuzz::CyclingModifyIdAnswers(size);
  const WaypointFileRead read = ReadAnswering<WaypointFileRecords>(
      [&](const FileReadContext& context) { return row.read(input, context); }, FileReadContext{},
      [&](const FileQuestion& question) { return AnswerOf(cycling(question.waypointName)); }, {});
  fuzz::CheckWaypoints(read);
  if (!read.Ok()) return 0;

  const FileWriteResult written = row.write(read.records, WaypointWriteOptions{});
  if (written.error) std::abort();
  const WaypointFileRead again = row.read(written.bytes, quiet);
  fuzz::CheckWaypoints(again);
  if (!again.Ok() || again.records.Count() != read.records.Count()) std::abort();
  return 0;
}
