#pragma once
// A simulated instrument family. Each plugin is one row of the table in
// plugin_table.cpp: its name on the command line, a line of help, the options
// it accepts and how to make one.
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik::sim {

struct SimOptions {
  std::vector<std::string> igcFiles;            // --igc=FILE, in order
  std::map<std::string, std::string> values;    // the plugin's own --key=value options
};

// The value of a plugin option, or `fallback`.
inline std::string OptionValue(const SimOptions& options, const std::string& key, const std::string& fallback) {
  const auto found = options.values.find(key);
  return found == options.values.end() ? fallback : found->second;
}

class SimInstrument {
 public:
  virtual ~SimInstrument() = default;
  // Bytes the program sent; what the instrument answers is appended to `reply`.
  virtual void Receive(std::string_view bytes, std::string& reply) = 0;
  // Called about every 10 ms; for instruments that talk on their own.
  virtual void Tick(uint64_t /*nowMs*/, std::string& /*reply*/) {}
};

struct SimPlugin {
  std::string_view name;
  std::string_view help;
  std::span<const std::string_view> optionKeys;  // accepted --key=value options besides the frame's
  // Null with `error` set when the options do not make an instrument.
  std::unique_ptr<SimInstrument> (*create)(const SimOptions& options, std::string& error);
};

std::span<const SimPlugin> SimPlugins();
const SimPlugin* FindSimPlugin(std::string_view name);

// The plugins of the frame itself.
std::unique_ptr<SimInstrument> CreateEchoInstrument(const SimOptions& options, std::string& error);
std::unique_ptr<SimInstrument> CreateNmeaInstrument(const SimOptions& options, std::string& error);
SimPlugin FlytecSimPlugin();  // sim/flytec
SimPlugin IqBasicSimPlugin();  // sim/iqbasic
SimPlugin DsxSimPlugin();  // sim/dsx
SimPlugin MagellanSimPlugin();  // sim/magellan
SimPlugin MtkSimPlugin();  // sim/mtk
SimPlugin MlrSimPlugin();       // sim/mlr
SimPlugin LogItSimPlugin();     // sim/logit
SimPlugin GraviterSimPlugin();  // sim/graviter
SimPlugin GarminSimPlugin();  // sim/garmin
SimPlugin FlymasterSimPlugin();  // sim/flymaster
SimPlugin LeonardoSimPlugin();  // sim/leonardo

}  // namespace trelvik::sim
