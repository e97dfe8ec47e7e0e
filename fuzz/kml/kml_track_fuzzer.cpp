// The KML track reader on arbitrary bytes: with a track choice and without.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "trackfiles/kml_track_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace trelvik;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The last line: a choice other than the first reaches every stored track.
  const FileTrackChooser last = [](const TrackListRequest& request) {
    return static_cast<int>(request.lines.size()) - 1;
  };
  (void)ReadKmlTrack(input, last);
  (void)ReadKmlTrack(input);
  return 0;
}
