#include "sim_command_line.hpp"

#include <algorithm>
#include <charconv>

namespace trelvik::sim {
namespace {

bool ParseCount(const std::string& text, int64_t& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= 0;
}

}  // namespace

std::string SimUsage() {
  std::string usage =
      "usage: trelvik-sim PROTOCOL [options]\n"
      "Opens a pseudo-terminal, prints its device path on the first line and plays\n"
      "an instrument of that family on it until stopped.\n"
      "options:\n"
      "  --igc=FILE           a flight for the instrument (repeatable)\n"
      "  --silence-after=N    go silent after N bytes sent\n"
      "  --garbage-after=N    send garbage bytes once after N bytes sent\n"
      "  --garbage-count=N    how many garbage bytes (default 8)\n"
      "  --drop-line=N        the instrument's N-th line never arrives\n"
      "  --corrupt-after=N    flip the bits of the byte at offset N of what is sent\n"
      "  --hangup-after=N     hang up the line after N bytes sent\n"
      "  --hangup-delay=MS    pause before a planned hang-up (default 100)\n"
      "  --baud=N             pace what the instrument sends at N baud\n"
      "  --list               list the instruments\n"
      "instruments:\n";
  for (const SimPlugin& plugin : SimPlugins()) {
    usage += "  " + std::string(plugin.name) + ": " + std::string(plugin.help) + "\n";
  }
  return usage;
}

bool ParseSimCommandLine(const std::vector<std::string>& args, SimCommandLine& line, std::string& error) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      line.help = true;
      continue;
    }
    if (arg == "--list") {
      line.list = true;
      continue;
    }
    if (!arg.starts_with("--")) {
      if (!line.protocol.empty()) {
        error = "more than one instrument named: " + arg;
        return false;
      }
      line.protocol = arg;
      continue;
    }
    const size_t equals = arg.find('=');
    if (equals == std::string::npos) {
      error = "option without a value: " + arg;
      return false;
    }
    const std::string key = arg.substr(2, equals - 2);
    const std::string value = arg.substr(equals + 1);
    int64_t number = 0;
    const bool numeric = ParseCount(value, number);
    auto needNumber = [&](int64_t& field) {
      if (!numeric) error = "not a count: " + arg;
      field = number;
      return numeric;
    };
    if (key == "igc") {
      line.options.igcFiles.push_back(value);
    } else if (key == "silence-after") {
      if (!needNumber(line.faults.silenceAfter)) return false;
    } else if (key == "garbage-after") {
      if (!needNumber(line.faults.garbageAfter)) return false;
    } else if (key == "drop-line") {
      if (!needNumber(line.faults.dropLine)) return false;
    } else if (key == "corrupt-after") {
      if (!needNumber(line.faults.corruptAfter)) return false;
    } else if (key == "hangup-after") {
      if (!needNumber(line.faults.hangupAfter)) return false;
    } else if (key == "garbage-count" || key == "baud" || key == "hangup-delay") {
      int64_t field = 0;
      if (!needNumber(field) || field > 10000000) {
        error = "bad value: " + arg;
        return false;
      }
      (key == "garbage-count" ? line.faults.garbageCount : key == "baud" ? line.baud : line.hangupDelayMs) =
          static_cast<int>(field);
    } else {
      line.options.values[key] = value;
    }
  }
  if (line.help || line.list) return true;
  if (line.protocol.empty()) {
    error = "no instrument named";
    return false;
  }
  const SimPlugin* plugin = FindSimPlugin(line.protocol);
  if (plugin == nullptr) {
    error = "unknown instrument: " + line.protocol;
    return false;
  }
  for (const auto& [key, value] : line.options.values) {
    if (std::find(plugin->optionKeys.begin(), plugin->optionKeys.end(), key) == plugin->optionKeys.end()) {
      error = "unknown option for " + line.protocol + ": --" + key;
      return false;
    }
  }
  return true;
}

}  // namespace trelvik::sim
