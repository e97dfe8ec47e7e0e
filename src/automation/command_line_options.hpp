#pragma once
// The meaning of each command-line option: its value rules, its effect on the
// job and its message when the value is wrong.
#include <span>
#include <string_view>

#include "automation/command_line.hpp"
#include "automation/command_line_tokenizer.hpp"

namespace trelvik {

struct OptionContext {
  CommandLineJob& job;
  UserInterface& ui;
  const CommandLineHooks& hooks;
  bool pilotListLoaded = false;  // COMP_FS read a pilot list
};

// Acts on one complete option: 0, or -1 after its message.
[[nodiscard]] int ApplyCommandLineOption(const CommandLineToken& option, OptionContext& context);

// The keys the parser knows, in the order the usage text lists them.
std::span<const std::string_view> CommandLineOptionKeys();

}  // namespace trelvik
