#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.
#include <filesystem>
#include <string>

namespace trelvik::testing {

class TempDir {
 public:
  TempDir();
  // Under `parent` instead.
  explicit TempDir(const std::filesystem::path& parent);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A folder in memory when the system has one (writes there skip the disk's
// syncs, which matters to a test that writes a file thousands of times),
// else the temporary folder.
std::filesystem::path FastTempParent();

// Path of the shared real-flight corpus, or empty when the folder is absent.
std::string FlightCorpusDir();

}  // namespace trelvik::testing
