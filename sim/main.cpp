// trelvik-sim: an instrument on a pseudo-terminal, for the demonstration, the
// end-to-end tests and anyone without an instrument at hand.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "pseudo_terminal.hpp"
#include "sim_command_line.hpp"
#include "sim_loop.hpp"

namespace {

std::atomic<bool> stopRequested{false};

void OnStopSignal(int) { stopRequested.store(true); }

}  // namespace

int main(int argc, char** argv) {
  using namespace trelvik::sim;
  const std::vector<std::string> args(argv + 1, argv + argc);
  SimCommandLine line;
  std::string error;
  if (!ParseSimCommandLine(args, line, error)) {
    std::fprintf(stderr, "trelvik-sim: %s\n%s", error.c_str(), SimUsage().c_str());
    return 2;
  }
  if (line.help || line.list) {
    std::fputs(SimUsage().c_str(), stdout);
    return 0;
  }
  const SimPlugin* plugin = FindSimPlugin(line.protocol);
  std::unique_ptr<SimInstrument> instrument = plugin->create(line.options, error);
  if (!instrument) {
    std::fprintf(stderr, "trelvik-sim: %s\n", error.c_str());
    return 2;
  }
  PseudoTerminal pty;
  if (!OpenPseudoTerminal(pty, error)) {
    std::fprintf(stderr, "trelvik-sim: %s\n", error.c_str());
    return 1;
  }
  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
  std::signal(SIGPIPE, SIG_IGN);
  std::printf("%s\n", pty.path.c_str());
  std::fflush(stdout);

  FaultInjector faults(line.faults);
  const LoopEnd end = RunSimulator(pty.master, *instrument, faults, {line.baud, line.hangupDelayMs}, stopRequested);
  ClosePseudoTerminal(pty);
  if (end == LoopEnd::LineFailed) {
    std::fputs("trelvik-sim: the line failed\n", stderr);
    return 1;
  }
  return 0;
}
