#pragma once
// Runs a shell command for the tests that check our files with other tools
// (gpsbabel, xmllint).
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace trelvik::testing {

inline bool ToolInstalled(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// The command's standard output; nothing when it could not run or failed.
inline std::optional<std::string> RunCommand(const std::string& command) {
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string out;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, n);
  if (::pclose(pipe) != 0) return std::nullopt;
  return out;
}

}  // namespace trelvik::testing
