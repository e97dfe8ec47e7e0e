#pragma once
// Airspaces as a GPX 1.1 file of tracks: one track per airspace, the ceiling as
// the points' elevation and the floor as Garmin's depth extension.
#include <string>
#include <string_view>
#include <vector>

#include "airspace/ctr_area.hpp"
#include "base/user_interface.hpp"
#include "records/track_time.hpp"

namespace trelvik {

inline constexpr std::string_view kCtrGpxCaption = "Save CTR(s) in .gpx file";

// What the file says about its making: the program version (472 is 4.72) and
// the current UTC time.
struct CtrExportStamp {
  int programVersion = 0;
  SystemTime utc;
};

// The GPX text of the selected airspaces in list order. -1 after "Memory
// allocation error" when an outline gives no points.
[[nodiscard]] int FormatCtrGpx(UserInterface& ui, const CtrList& list, int32_t segError, const CtrExportStamp& stamp,
                               std::string& text);

// The command: selection, text, save dialog (".gpx"), file, status "<file> written".
bool WriteCtrGpx(UserInterface& ui, CtrList& list, const std::vector<int>& selectedRows, int32_t segError,
                 const CtrExportStamp& stamp, std::string& folder);

}  // namespace trelvik
