#pragma once
// Reads a whole file and says which step failed, because the IGC commands name
// the failing step (open, size, memory, read) in their messages.
#include <string>

namespace trelvik {

enum class IgcFileFault { None, Open, Size, Memory, Read, Empty };

struct IgcFileBytes {
  std::string bytes;
  IgcFileFault fault = IgcFileFault::None;
  int errorNumber = 0;  // errno of the failing call
};

[[nodiscard]] IgcFileBytes ReadIgcFileBytes(const std::string& path);

}  // namespace trelvik
