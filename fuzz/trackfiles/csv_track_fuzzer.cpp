// The csv track reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "trackfiles/csv_track.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const trelvik::TrackFileRead read = trelvik::ReadCsvTrack(input);
  // What was read is written again with every derived column.
  trelvik::CsvColumns columns{true, true, true, true, 30, true, 20, 10};
  if (read.Ok()) (void)trelvik::WriteCsvTrack(read.records.points, columns);
  return 0;
}
