#include "igc_flight_options.hpp"

#include <cstdlib>

namespace trelvik::sim {

bool MakeIgcFlights(const SimOptions& options, std::vector<SimFlight>& flights, std::string& error) {
  flights.clear();
  for (const std::string& path : options.igcFiles) {
    SimFlight flight;
    if (!LoadFlight(path, flight, error)) return false;
    flights.push_back(std::move(flight));
  }
  if (options.igcFiles.empty()) {
    const int count = std::atoi(OptionValue(options, "flights", "2").c_str());
    if (count < 0 || count > 99) {
      error = "--flights must be 0..99";
      return false;
    }
    for (int i = 0; i < count; ++i) flights.push_back(GenerateFlight(i));
  }
  if (OptionValue(options, "overlap", "0") == "1" && flights.size() >= 2) flights[1] = flights[0];
  const int cutEvery = std::atoi(OptionValue(options, "cut-b", "0").c_str());
  for (SimFlight& flight : flights) {
    if (OptionValue(options, "no-hfdte", "0") == "1") flight.igc = WithoutDateLines(flight.igc);
    if (OptionValue(options, "bad-hfdte", "0") == "1") flight.igc = WithBadDate(flight.igc);
    if (OptionValue(options, "no-a", "0") == "1") flight.igc = WithoutRecords(flight.igc, 'A');
    if (OptionValue(options, "no-g", "0") == "1") flight.igc = WithoutRecords(flight.igc, 'G');
    if (cutEvery > 0) flight.igc = WithCutPositions(flight.igc, cutEvery);
  }
  return true;
}

}  // namespace trelvik::sim
