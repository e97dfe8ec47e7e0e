#include "app/window_library.hpp"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <string>

namespace trelvik {

namespace {

// The folder of the running program, with its closing slash; empty when the
// kernel does not tell.
std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return {};
  const std::string program(path, static_cast<size_t>(length));
  const size_t slash = program.rfind('/');
  return slash == std::string::npos ? std::string() : program.substr(0, slash + 1);
}

}  // namespace

WindowLibrary LoadWindowLibrary() {
  WindowLibrary library;
  const std::string folder = ProgramFolder();
  if (folder.empty()) {
    library.error = "the program's own folder is unknown";
    return library;
  }
  // Beside the program in the build; under the library folder once installed.
  const std::string candidates[] = {folder + TRELVIK_WINDOW_LIBRARY_NAME,
                                    folder + TRELVIK_WINDOW_LIBRARY_FROM_PROGRAM};
  for (const std::string& candidate : candidates) {
    if (::access(candidate.c_str(), F_OK) != 0) continue;
    // Every symbol is bound now, so a library that does not fit this program
    // is refused here rather than ending the process at its first call.
    void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      const char* reason = ::dlerror();
      library.error = reason != nullptr ? reason : candidate + ": cannot be loaded";
      return library;
    }
    library.run = reinterpret_cast<RunWindowFaceEntry>(::dlsym(handle, kRunWindowFaceSymbol));
    if (library.run == nullptr) library.error = candidate + ": no window entry in it";
    return library;  // stays loaded for the rest of the run
  }
  library.error = std::string("no ") + TRELVIK_WINDOW_LIBRARY_NAME + " beside the program or in " + folder +
                  TRELVIK_WINDOW_LIBRARY_FROM_PROGRAM;
  return library;
}

}  // namespace trelvik
