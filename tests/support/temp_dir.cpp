#include "support/temp_dir.hpp"

#include <cstdlib>
#include <vector>

namespace trelvik::testing {

TempDir::TempDir() : TempDir(std::filesystem::temp_directory_path()) {}

TempDir::TempDir(const std::filesystem::path& parent) {
  std::string pattern = parent.string() + "/trelvik-test-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) != nullptr) path_ = name.data();
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path FastTempParent() {
  std::error_code error;
  const std::filesystem::path memory = "/dev/shm";
  if (std::filesystem::is_directory(memory, error)) return memory;
  return std::filesystem::temp_directory_path();
}

std::string FlightCorpusDir() {
  // Tests run from the project root; the corpus lies beside the checkout.
  const std::string dir = "../shared/flights";
  return std::filesystem::is_directory(dir) ? dir : std::string();
}

}  // namespace trelvik::testing
