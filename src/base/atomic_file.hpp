#pragma once
// The one way every writer replaces or creates a file: the bytes go to a new
// temporary file in the same folder, are flushed to disk and renamed over the
// target, so an interrupted or failed write never destroys what was there.
#include <string>
#include <string_view>

namespace trelvik {

struct FileWriteError {
  int errorNumber = 0;     // errno of the failing call, 0 on success
  std::string operation;   // "create", "write", "sync", "rename"
  explicit operator bool() const { return errorNumber != 0; }
  std::string Text() const;  // the system's text for errorNumber
};

// Writes `bytes` as the whole content of `path`. On failure the old file (if
// any) keeps its bytes and the temporary file is removed.
[[nodiscard]] FileWriteError WriteFileAtomically(const std::string& path, std::string_view bytes);

// Reads a whole file; false (with errno text in `error`) when it cannot be read.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error = nullptr);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// The folder part of a path (everything before its last "/"; empty when none).
std::string FolderOf(const std::string& path);

}  // namespace trelvik
