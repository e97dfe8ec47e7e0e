#pragma once
// IQ Basic / Flytec 6015 line protocol without I/O: the RPA_ and ACT_
// requests, the reply lines, the parameter values, the track list and the
// waypoint lines in both directions.
#include <cstdint>
#include <string>
#include <string_view>

#include "records/track_time.hpp"
#include "records/waypoint.hpp"

namespace trelvik::iqbasic {

inline constexpr std::string_view kRPA00 = "RPA_00\r\n";     // serial number
inline constexpr std::string_view kRPA01 = "RPA_01\r\n";     // device type
inline constexpr std::string_view kRPA02 = "RPA_02\r\n";     // software version
inline constexpr std::string_view kACT20 = "ACT_20_  \r\n";  // track list
inline constexpr std::string_view kACT31 = "ACT_31_00\r\n";  // waypoint list
// "ACT_21_" and the instrument's flight number as two upper-case hex digits.
std::string ACT21(int flightNumber);
// "ACT_32_00\r\n" and the waypoint line that stores `waypoint`.
std::string ACT32(const Waypoint& waypoint);

// Reply lines end with LF; what follows the first CR of a line is ignored and
// at most 1000 characters are kept.
class ReplyLineCollector {
 public:
  // True when `c` completed a line; Line() holds it.
  bool Feed(uint8_t c);
  const std::string& Line() const { return line_; }

 private:
  std::string line_;
  bool complete_ = false;
  bool afterCr_ = false;
};

// The value of an "RPA_0n_" reply: blanks, then pairs of hex digits (either
// case), least significant byte first; empty is 0. False for anything else.
[[nodiscard]] bool ParseParameterValue(std::string_view text, uint32_t& value);

// Model name of a device type: "6015" for 0, "IQ-BASIC" for any other.
std::string_view DeviceModel(uint32_t deviceType);
// "%s, SW %d.%d.%02d, S/N %d".
std::string ProductText(std::string_view model, uint32_t software, uint32_t serial);

// One line of the track list: "number;DD.MM.YY;HH:MM:SS;unused;HH:MM:SS".
struct TrackListLine {
  int flightNumber = 0;  // 0..255: it is sent back as two hex digits
  TrackTime start = 0;
  uint32_t duration = 0;  // seconds
};
// False for a line that does not parse, and for flight numbers that two hex
// digits cannot name.
[[nodiscard]] bool ParseTrackListLine(std::string_view line, TrackListLine& entry);

// One waypoint line "name;latitude;longitude[;altitude]" into `waypoint`
// (time `now`): 0, or the error number of "Waypoint string parse error %d".
enum WaypointLineError {
  kEmptyName = 1,
  kTooFewFields = 2,
  kBadAltitude = 3,
  kBadLatitude = 4,
  kBadLongitude = 5,
};
[[nodiscard]] int ParseWaypointLine(std::string_view line, TrackTime now, Waypoint& waypoint);
// "No Data" or "Done" in either case: the waypoint list is over.
bool EndsWaypointList(std::string_view line);

// "N  46'25.460" or "E 008'08.100": what the instrument reads back.
[[nodiscard]] bool ParseAngle(std::string_view text, bool latitude, Semicircle& angle);

}  // namespace trelvik::iqbasic
