#pragma once
// The simulator's main loop: bytes from the line to the instrument, its answers
// through the fault injector back onto the line, until stopped or hung up.
#include <atomic>

#include "fault_injector.hpp"
#include "sim_plugin.hpp"

namespace trelvik::sim {

enum class LoopEnd { Stopped, HungUp, LineFailed };

struct LoopSettings {
  int baud = 0;  // output pacing; 0 = unpaced
  int hangupDelayMs = 100;
};

// `lineFd` is the master side of the pseudo-terminal, non-blocking. `stop` is
// set from a signal handler.
LoopEnd RunSimulator(int lineFd, SimInstrument& instrument, FaultInjector& faults, const LoopSettings& settings,
                     const std::atomic<bool>& stop);

}  // namespace trelvik::sim
