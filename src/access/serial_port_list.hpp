#pragma once
// The serial ports the system has, found from sysfs and /dev/serial/by-id
// without opening any device (an open would disturb a port another program
// uses). Pseudo-terminals are never listed; they work when named.
#include <string>
#include <vector>

namespace trelvik {

// Roots of the device and sysfs trees; tests point them at a fake tree.
struct DeviceRoots {
  std::string dev = "/dev";
  std::string sys = "/sys";
};

struct SerialPortEntry {
  std::string path;  // what the port setting stores
  std::string tty;   // for a by-id link: the device it points to; empty otherwise
};

// By-id links first (their names survive replugging), then ttyUSB, ttyACM and
// the ttyS ports that have a UART behind them, each group in number order.
// The count, or -1 when neither tree could be read.
[[nodiscard]] int ListSerialPorts(std::vector<SerialPortEntry>& out, const DeviceRoots& roots = {});

}  // namespace trelvik
