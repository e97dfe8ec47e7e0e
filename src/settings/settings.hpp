#pragma once
// The persistent user choices, one field per named setting. The values live in
// memory on the user-interface thread between loading and saving; the names,
// types, sizes and built-in defaults are in setting_table.hpp, the only place
// that knows them.
#include <cstdint>
#include <string>

#include "records/track_time.hpp"

namespace trelvik {

struct Settings {
  std::string pilotListName;  // UTF-8 path of the pilot list read at start in competition mode
  std::string pilotListDir;   // UTF-8 folder of the pilot list dialogs
  std::string googleDir;      // kept for the file only
  std::string compDir;        // UTF-8 competition output folder
  std::string oziDir;         // kept for the file only
  std::string trackLogDir;    // UTF-8 folder of the track log dialogs
  std::string waypointDir;    // UTF-8 folder of the waypoint dialogs
  std::string ctrDir;         // UTF-8 folder of the airspace dialogs
  std::string traceDir;       // UTF-8 folder for saving the debug trace
  std::string baudrate;       // kept for the file only
  std::string portName;       // serial device path
  int32_t port = 0;           // kept for the file only
  int32_t logFilter = 0;      // speed-analysis filter on
  int32_t logExportExt = 0;   // 1-based file type last chosen when saving a track log
  int32_t logImportExt = 0;
  int32_t wptExportExt = 0;
  int32_t wptImportExt = 0;
  TrackTime compTimeStart = 0;  // competition window
  TrackTime compTimeStop = 0;   // 0 = none
  int32_t compWptNNN = 0;
  int32_t compMode = 0;
  int32_t compSpecial = 0;
  int32_t trackGapTime = 0;  // seconds
  int32_t addIgcToCompOut = 0;
  int32_t loopFlightGap = 0;  // metres, 0 = off
  int32_t varioFilter = 0;    // m/s, 0 = off
  int32_t timestampFilter = 0;
  int32_t downloadFilter = 0;
  int32_t flymasterPwrOff = 0;
  int32_t utcOffsetForTN = 0;  // seconds, may be negative
  std::string igcDir;          // UTF-8 folder of IGC files
  std::string igcPilotName;
  std::string igcFlightNo;
  std::string igcContestId;
  std::string igcGliderType;
  std::string igcGliderId;
  std::string igcSite;
  std::string igcClass;
  int32_t igcSaveMask = 0;
  int32_t igcAddEnl = 0;
  std::string olcDir;  // UTF-8 folder of OLC files
  std::string olcFirstName;
  std::string olcLastName;
  std::string olcBirthDate;  // dd.mm.yy
  std::string olcGliderClass;
  std::string olcGliderType;
  std::string olcCallSign;
  std::string olcStartPlace;
  std::string olcRegion;
  int32_t olcLongFileName = 0;
  int32_t dsxDataMode = 0;
  int32_t csvAbsTime = 0;
  int32_t csvRelTime = 0;
  int32_t csvRelDist = 0;
  int32_t csvAccDist = 0;
  int32_t csvBearing = 0;  // seconds, 0 = no column
  int32_t csv400deg = 0;
  int32_t csvSpeed = 0;     // seconds, 0 = no column
  int32_t csvVario = 0;     // seconds, 0 = no column
  int32_t ctrSegError = 0;  // metres

  bool operator==(const Settings&) const = default;
};

}  // namespace trelvik
