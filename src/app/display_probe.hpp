#pragma once
// Whether the window can be shown at all, decided before any Qt GUI object
// exists: Qt ends the process when its platform cannot connect, and a run
// without a display must never end that way.

namespace trelvik {

// True when the command line asks for a hidden window ("/WIN=0", key in any case).
bool AsksForHiddenWindow(int argc, char** argv);
// True when it asks for the TCP command server ("/SERVER=..."), which runs without a window.
bool AsksForServer(int argc, char** argv);

// True when an X server (DISPLAY) or a Wayland compositor (WAYLAND_DISPLAY)
// accepts a connection on its socket.
bool DisplayReachable();

}  // namespace trelvik
