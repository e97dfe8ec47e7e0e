#pragma once
// Reads a whole file and says which step failed, because the IGC commands name
// the failing step (open, size, memory, read) in their messages.
#include <string>
#include <string_view>
#include <vector>

#include "base/bulk_memory.hpp"

namespace trelvik {

enum class IgcFileFault { None, Open, Size, Memory, Read, Empty };

struct IgcFileBytes {
  std::string bytes;
  IgcFileFault fault = IgcFileFault::None;
  int errorNumber = 0;  // errno of the failing call
};

[[nodiscard]] IgcFileBytes ReadIgcFileBytes(const std::string& path);

// The same in bulk memory, for a file that is only decoded and then dropped
// (a long flight's file is megabytes, and every fresh small page costs).
struct IgcBulkFileBytes {
  std::vector<char, BulkAllocator<char>> bytes;
  IgcFileFault fault = IgcFileFault::None;
  int errorNumber = 0;

  std::string_view View() const { return {bytes.data(), bytes.size()}; }
};

[[nodiscard]] IgcBulkFileBytes ReadIgcFileBulk(const std::string& path);

}  // namespace trelvik
