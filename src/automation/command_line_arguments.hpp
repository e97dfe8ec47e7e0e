#pragma once
// The program's arguments as one command line: how they are joined, and the
// one case the joined line cannot express (an absolute file name that begins
// with "/" like an option).
#include <string>

#include "automation/command_line.hpp"

namespace trelvik {

// argv[1..] joined with single blanks. A "/KEY=value" argument whose value
// holds a blank becomes /KEY="value"; any other argument with a blank is
// quoted whole.
std::string JoinArguments(int argc, const char* const* argv);

// ParseCommandLine over the joined arguments, except that a single argument
// naming an existing file is that file to open, whatever its first character.
[[nodiscard]] int ParseCommandLineArguments(int argc, const char* const* argv, UserInterface& ui,
                                            CommandLineResult& result, const CommandLineHooks& hooks = {});

}  // namespace trelvik
