#pragma once
// "trelvik-sim PROTOCOL [options]" taken apart.
#include <string>
#include <vector>

#include "fault_injector.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {

struct SimCommandLine {
  std::string protocol;
  SimOptions options;
  FaultPlan faults;
  int baud = 0;            // pacing of what the instrument sends; 0 = as fast as the line takes it
  int hangupDelayMs = 100; // pause between the last byte and a planned hang-up
  bool list = false;       // --list: print the plugins
  bool help = false;
};

// False with `error` set (a one-line message) for an unusable command line.
bool ParseSimCommandLine(const std::vector<std::string>& args, SimCommandLine& line, std::string& error);
std::string SimUsage();

}  // namespace trelvik::sim
