#pragma once
// The texts of --help and --version.
#include <string>

namespace trelvik {

inline constexpr const char* kVersionText = "Trelvik 4.72";

// Exit codes of the program.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitJobFailed = 1;
inline constexpr int kExitUsage = 2;

// Every option on a line of its own, then the exit codes; ends with a line feed.
std::string UsageText();

}  // namespace trelvik
