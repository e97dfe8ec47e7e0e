// The KML track reader on arbitrary bytes: loud (with a track choice) and silent.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/silent_user_interface.hpp"
#include "trackfiles/kml_track_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace trelvik;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  SilentUserInterface ui;
  // The last line: a choice other than the first reaches every stored track.
  const FileTrackChooser last = [](const TrackListRequest& request) {
    return static_cast<int>(request.lines.size()) - 1;
  };
  (void)ReadKmlTrack(ui, input, false, last);
  (void)ReadKmlTrack(ui, input, true);
  return 0;
}
