#pragma once
// The flights a simulated Flytec/Braeuniger instrument keeps: IGC files read
// from disk or generated, with the facts its track list tells about them.
#include <cstdint>
#include <string>
#include <vector>

namespace trelvik::sim {

struct SimFlight {
  std::string igc;  // the file as the instrument sends it
  int day = 0, month = 0, year = 0;  // year in two digits
  uint32_t start = 0;     // seconds of the day of the first B record
  uint32_t duration = 0;  // seconds from the first to the last B record
};

// Reads an IGC file; false with `error` set when it cannot be read or has no
// date or no B record.
bool LoadFlight(const std::string& path, SimFlight& flight, std::string& error);

// Generated flight `number` (0 = the latest): 20 minutes at 2 s near Fiesch,
// one day earlier for each further number, with A, H, B and G records.
SimFlight GenerateFlight(int number);

// The flight's IGC text without its HFDTE lines.
std::string WithoutDateLines(const std::string& igc);
// The flight's IGC text without the records that begin with `letter`.
std::string WithoutRecords(const std::string& igc, char letter);
// The flight's IGC text with its date lines naming the 32nd day of the month.
std::string WithBadDate(const std::string& igc);
// The flight's IGC text with every `every`-th B record cut to 30 characters.
std::string WithCutPositions(const std::string& igc, int every);

}  // namespace trelvik::sim
