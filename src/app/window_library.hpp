#pragma once
// The window and Qt live in a library of their own, loaded only when a window
// is shown: a headless run (a conversion, a download, the server) then starts
// without mapping and relocating some fifty Qt and desktop libraries.
#include <string>

#include "automation/window_entry.hpp"

namespace trelvik {

struct WindowLibrary {
  RunWindowFaceEntry run = nullptr;  // null when the library could not be loaded
  std::string error;                 // why not, for the user
};

// Loads the window library from beside the program (the build) or from the
// installed library folder, and finds its entry.
WindowLibrary LoadWindowLibrary();

}  // namespace trelvik
