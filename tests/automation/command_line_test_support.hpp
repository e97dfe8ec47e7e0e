#pragma once
// Runs one command line through the parser with a recording face and a fixed tick.
#include <string_view>
#include <vector>

#include "automation/command_line.hpp"
#include "support/scripted_user_interface.hpp"

namespace trelvik::testing {

inline constexpr uint32_t kTestTick = 4242;

struct Parsed {
  int rc = 0;
  CommandLineResult result;
  std::vector<RecordedBox> boxes;
};

inline CommandLineHooks FixedTickHooks() {
  CommandLineHooks hooks;
  hooks.tickCount = [] { return kTestTick; };
  return hooks;
}

inline Parsed Parse(std::string_view line, const CommandLineHooks& hooks = FixedTickHooks()) {
  ScriptedUserInterface ui;
  Parsed parsed;
  parsed.rc = ParseCommandLine(line, ui, parsed.result, hooks);
  parsed.boxes = ui.boxes;
  return parsed;
}

inline RecordedBox ParsingError(std::string_view text) {
  return {MessageKind::Error, std::string(text), "Parsing command line"};
}

}  // namespace trelvik::testing
