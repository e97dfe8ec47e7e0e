#pragma once
// What a simulated XC Trainer or TopNav sends: the hex "MXP" log, the text
// "TNCM" log, 31-byte binary waypoint records and TopNav waypoint text lines,
// with the faults a test asks for. Written for the simulator alone, from the
// protocol description.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "sim_fixes.hpp"

namespace trelvik::sim {

struct SimLogSettings {
  bool topNav = false;      // "@tn" MXP header; TNCM logs of GPS altitudes only
  int format = 0;           // MXP: 0 pressure, 1 GPS, 2 both; TNCM (XC Trainer): 0 pressure, 1 GPS, 2 both
  uint32_t serial = 0x1234;
  std::string firmware = "1234";  // four characters
  int32_t utcOffset = 0;    // seconds the instrument's clock is ahead of UTC (TopNav logs, every TNCM log)
  // Faults.
  int announce = -1;        // MXP: positions the header announces (-1: as many as sent)
  int badChecksumLine = -1; // MXP: this line (0 = header) has its checksum off by one
  int repeatRecordLine = -1;  // MXP: this position line repeats the record number before it
  int shortLine = -1;       // MXP: this position line is cut after 20 characters
  int blockGap = 30;        // TNCM: seconds from one block's time line to the next
  std::set<int> badLines;   // TNCM: these position lines (1-based) are not hex
  bool endMark = true;      // TNCM: "@EOF" at the end
};

// Pressure altitude of a generated fix: the simulator's barometer reads a little low.
inline constexpr int kPressureBelowGps = 15;

std::string MxpLog(const std::vector<LoggerFix>& fixes, const SimLogSettings& settings);
// Position lines one a second, 30 to a block.
std::string TncmLog(const std::vector<LoggerFix>& fixes, const SimLogSettings& settings);

struct SimTurnpoint {
  std::string name;  // at most 11
  double lat = 0, lon = 0;  // degrees
  int alt = 0;              // metres
};

// The instrument's own list; one record of it holds the bytes 0x11 and 0x13.
const std::vector<SimTurnpoint>& BuiltInTurnpoints();
std::string WaypointRecordBytes(const SimTurnpoint& point, bool badChecksum);
// The TopNav's download: a comment, the list as "TPT" lines, one line of
// another type, then "@EOF"; each line answered "@@OK" before the next.
std::vector<std::string> TopNavWaypointLines(const std::vector<SimTurnpoint>& points);

}  // namespace trelvik::sim
