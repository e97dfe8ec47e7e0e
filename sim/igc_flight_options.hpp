#pragma once
// The flights of a simulated instrument that sends IGC files, and the faults
// its options put into them; shared by the instruments that keep several
// flights.
#include <string>
#include <string_view>
#include <vector>

#include "flytec/flytec_flights.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {

// The option keys ApplyIgcFlightOptions takes.
inline constexpr std::string_view kIgcFlightOptionKeys[] = {"flights", "no-hfdte", "bad-hfdte", "no-a",
                                                            "no-g",    "cut-b",    "overlap"};


// The flights from --igc=FILE, else --flights=N generated (N 0..99, default
// 2), with the faults asked for: --no-hfdte=1, --bad-hfdte=1, --no-a=1,
// --no-g=1, --cut-b=N, --overlap=1 (the second flight a copy of the first).
// False with `error` set.
bool MakeIgcFlights(const SimOptions& options, std::vector<SimFlight>& flights, std::string& error);

}  // namespace trelvik::sim
