#pragma once
// The simulator's end of the line: a pseudo-terminal whose other side the
// program opens by its device path, like any serial port.
#include <string>

namespace trelvik::sim {

struct PseudoTerminal {
  int master = -1;
  // The simulator keeps one handle on the device side open so that the line
  // does not hang up between two opens by the program.
  int deviceHold = -1;
  std::string path;  // "/dev/pts/7"
};

// Opens a new pseudo-terminal in raw mode; false with `error` set on failure.
bool OpenPseudoTerminal(PseudoTerminal& pty, std::string& error);
// Closes both handles: the program's side sees a hang-up.
void ClosePseudoTerminal(PseudoTerminal& pty);

}  // namespace trelvik::sim
