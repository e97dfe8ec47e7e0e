#include "access/serial_port_list.hpp"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace trelvik {
namespace {

namespace fs = std::filesystem;

struct DeviceName {
  int group;   // listing order of the name's family
  long number;
  std::string name;
};

constexpr std::string_view kFamilies[] = {"ttyUSB", "ttyACM", "ttyS"};

// The family and number of "ttyUSB12"-style names; false for anything else.
bool ParseDeviceName(const std::string& name, DeviceName& parsed) {
  for (int group = 0; group < static_cast<int>(std::size(kFamilies)); ++group) {
    const std::string_view prefix = kFamilies[group];
    if (!name.starts_with(prefix) || name.size() == prefix.size()) continue;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    long number = 0;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last) return false;
    parsed = {group, number, name};
    return true;
  }
  return false;
}

// A ttyS port has hardware behind it when its UART type is known (not 0).
bool UartPresent(const fs::path& ttyClassDir) {
  std::ifstream type(ttyClassDir / "type");
  int value = 0;
  return static_cast<bool>(type >> value) && value != 0;
}

bool IsPseudoTerminal(const fs::path& device) {
  const std::string text = device.generic_string();
  return text.find("/pts/") != std::string::npos || device.filename().string().starts_with("pty") ||
         device.filename() == "ptmx";
}

bool ListById(const DeviceRoots& roots, std::vector<SerialPortEntry>& out) {
  const fs::path byId = fs::path(roots.dev) / "serial" / "by-id";
  std::error_code error;
  fs::directory_iterator it(byId, error);
  if (error) return false;
  std::vector<SerialPortEntry> links;
  for (const fs::directory_entry& entry : it) {
    if (!entry.is_symlink(error)) continue;
    const fs::path target = fs::read_symlink(entry.path(), error);
    if (error) continue;
    const fs::path device = (target.is_absolute() ? target : byId / target).lexically_normal();
    if (IsPseudoTerminal(device) || !fs::exists(device, error)) continue;  // stale link of an unplugged device
    links.push_back({entry.path().string(), device.string()});
  }
  std::sort(links.begin(), links.end(),
            [](const SerialPortEntry& a, const SerialPortEntry& b) { return a.path < b.path; });
  out.insert(out.end(), links.begin(), links.end());
  return true;
}

bool ListDevices(const DeviceRoots& roots, std::vector<SerialPortEntry>& out) {
  const fs::path ttyClass = fs::path(roots.sys) / "class" / "tty";
  std::error_code error;
  fs::directory_iterator it(ttyClass, error);
  if (error) return false;
  std::vector<DeviceName> names;
  for (const fs::directory_entry& entry : it) {
    DeviceName parsed;
    if (!ParseDeviceName(entry.path().filename().string(), parsed)) continue;
    if (kFamilies[parsed.group] == "ttyS" && !UartPresent(entry.path())) continue;
    if (!fs::exists(fs::path(roots.dev) / parsed.name, error)) continue;
    names.push_back(parsed);
  }
  std::sort(names.begin(), names.end(), [](const DeviceName& a, const DeviceName& b) {
    return a.group != b.group ? a.group < b.group : a.number < b.number;
  });
  for (const DeviceName& name : names) out.push_back({(fs::path(roots.dev) / name.name).string(), {}});
  return true;
}

}  // namespace

int ListSerialPorts(std::vector<SerialPortEntry>& out, const DeviceRoots& roots) {
  out.clear();
  const bool byIdRead = ListById(roots, out);
  const bool sysRead = ListDevices(roots, out);
  if (!byIdRead && !sysRead) return -1;
  return static_cast<int>(out.size());
}

}  // namespace trelvik
