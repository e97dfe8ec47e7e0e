#pragma once
// The "$PMLR" side of the simulated MLR receiver and LogIt logger: command
// sentences with their 16-bit sums and the binary frames (0x8B ... CR LF).
// Written for the simulator alone, from the protocol description.
#include <cstdint>
#include <string>
#include <string_view>

#include "sim_fixes.hpp"

namespace trelvik::sim {

// The sum a $PMLR command carries: every byte up to and including its last comma.
bool PmlrCommandSumMatches(std::string_view line);

// One frame: 0x8B, number, kind letter, kind byte, body, 16-bit sum, CR LF.
// `sumError` is added to the sum (0 for a right one).
std::string PmlrFrame(uint8_t number, char kindLetter, uint8_t kindByte, std::string_view body, int sumError = 0);
// A data body: 0, the count, the entries.
std::string PmlrDataBody(int count, std::string_view entries);

// 18 bytes: number, GPS-epoch time, latitude, longitude, altitude (dm, 24 bits), flag.
std::string PointEntryBytes(uint16_t number, const LoggerFix& fix, uint8_t flag);
// 22 bytes: six name characters, then time, position, altitude (dm), flag.
std::string WaypointEntryBytes(std::string_view name, uint32_t gpsTime, double latDegrees, double lonDegrees,
                               int altDecimetres);

// Appends every byte to the file named (nothing for an empty name).
void RecordBytes(const std::string& path, std::string_view bytes);

}  // namespace trelvik::sim
