// Feeds saved inputs to a fuzz target's entry point without libFuzzer, so that
// every build (gcc included) runs each target over its seeds as an ordinary
// test. Arguments are files or folders (every regular file in them, in name
// order). Each input gets a heap block of exactly its size, so that the
// sanitizers see a read past its end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

// The inputs an argument names; false (after a message) when it names none.
bool CollectInputs(const fs::path& argument, std::vector<fs::path>& inputs) {
  std::error_code error;
  if (fs::is_regular_file(argument, error)) {
    inputs.push_back(argument);
    return true;
  }
  if (!fs::is_directory(argument, error)) {
    std::fprintf(stderr, "%s: no such file or folder\n", argument.c_str());
    return false;
  }
  std::vector<fs::path> found;
  for (const fs::directory_entry& entry : fs::directory_iterator(argument, error)) {
    if (entry.is_regular_file(error)) found.push_back(entry.path());
  }
  if (error) {
    std::fprintf(stderr, "%s: %s\n", argument.c_str(), error.message().c_str());
    return false;
  }
  if (found.empty()) {
    std::fprintf(stderr, "%s: no inputs in this folder\n", argument.c_str());
    return false;
  }
  std::sort(found.begin(), found.end());
  inputs.insert(inputs.end(), found.begin(), found.end());
  return true;
}

bool ReadInput(const fs::path& path, std::vector<char>& bytes) {
  std::ifstream file(path, std::ios::binary);
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", argv[0]);
    return 2;
  }
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (!CollectInputs(argv[i], inputs)) return 2;
  }
  std::vector<char> bytes;
  for (const fs::path& path : inputs) {
    if (!ReadInput(path, bytes)) {
      std::fprintf(stderr, "%s: cannot be read\n", path.c_str());
      return 2;
    }
    // Named on stderr first, so that a crash report says which input it was.
    std::fprintf(stderr, "%s (%zu bytes)\n", path.c_str(), bytes.size());
    const std::unique_ptr<uint8_t[]> exact(new uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), exact.get());
    (void)LLVMFuzzerTestOneInput(exact.get(), bytes.size());
  }
  std::fprintf(stderr, "%zu inputs replayed\n", inputs.size());
  return 0;
}
