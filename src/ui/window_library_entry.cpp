// The one symbol the window library exports to the program that loads it.
#include <type_traits>

#include "ui/window_face.hpp"

extern "C" __attribute__((visibility("default"))) int trelvik_run_window_face(int argc, char** argv,
                                                                              const trelvik::WindowHooks* hooks) {
  return trelvik::RunWindowFace(argc, argv, *hooks);
}

static_assert(std::is_same_v<decltype(&trelvik_run_window_face), trelvik::RunWindowFaceEntry>);
