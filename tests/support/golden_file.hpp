#pragma once
// The golden files of the format tables, read from tests/data (tests run from
// the source root).
#include <fstream>
#include <sstream>
#include <string>

namespace trelvik::testing {

inline std::string GoldenFile(const std::string& name) {
  std::ifstream in("tests/data/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace trelvik::testing
