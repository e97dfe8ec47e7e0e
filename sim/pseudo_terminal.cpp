#include "pseudo_terminal.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace trelvik::sim {

bool OpenPseudoTerminal(PseudoTerminal& pty, std::string& error) {
  pty.master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (pty.master < 0) {
    error = std::string("posix_openpt: ") + std::strerror(errno);
    return false;
  }
  char name[256];
  if (::grantpt(pty.master) != 0 || ::unlockpt(pty.master) != 0 || ::ptsname_r(pty.master, name, sizeof name) != 0) {
    error = std::string("pseudo-terminal setup: ") + std::strerror(errno);
    ClosePseudoTerminal(pty);
    return false;
  }
  pty.path = name;
  pty.deviceHold = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios tio{};
  if (pty.deviceHold < 0 || ::tcgetattr(pty.deviceHold, &tio) != 0) {
    error = std::string("opening ") + name + ": " + std::strerror(errno);
    ClosePseudoTerminal(pty);
    return false;
  }
  // Raw from the first moment: no echo, no line editing, no CR/LF mapping.
  ::cfmakeraw(&tio);
  if (::tcsetattr(pty.deviceHold, TCSANOW, &tio) != 0) {
    error = std::string("raw mode: ") + std::strerror(errno);
    ClosePseudoTerminal(pty);
    return false;
  }
  const int flags = ::fcntl(pty.master, F_GETFL);
  ::fcntl(pty.master, F_SETFL, flags | O_NONBLOCK);
  return true;
}

void ClosePseudoTerminal(PseudoTerminal& pty) {
  if (pty.master >= 0) ::close(pty.master);
  if (pty.deviceHold >= 0) ::close(pty.deviceHold);
  pty.master = -1;
  pty.deviceHold = -1;
}

}  // namespace trelvik::sim
