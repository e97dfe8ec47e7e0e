#pragma once
// The one table that describes the main window's menus: the tree, each
// command's id, text and shortcut, and for instrument commands the job they
// start. The menu bar, the quick buttons and the command dispatch are built
// from it.
#include <span>

namespace trelvik {

enum class MenuRow {
  Submenu,    // opens a (sub)menu; closed by the matching End
  End,
  Command,
  Check,      // a command with a check mark
  Separator,
};

// Job started by an instrument command: AccessFunction, ProtocolType and the
// parameter (a baud rate override, 0 for the protocol's default, or a variant).
struct InstrumentJob {
  int accessFunction = -1;  // -1: not an instrument command
  int protocol = -1;
  int parameter = 0;
};

struct MenuEntry {
  MenuRow row = MenuRow::Command;
  int id = 0;                        // command id; 0 for submenus, ends and separators
  const char* text = "";             // with its "&" mnemonic
  const char* shortcut = nullptr;    // QKeySequence portable text
  InstrumentJob job = {};
};

std::span<const MenuEntry> MainMenuTable();

// The first entry with this command id, or null.
const MenuEntry* FindMenuEntry(int id);

// Instrument operations (AccessFunction values).
namespace access_function {
inline constexpr int kDownloadWaypoints = 0;
inline constexpr int kDownloadTrackLog = 1;
inline constexpr int kLoggerDataDialog = 2;
inline constexpr int kUploadWaypoints = 3;
inline constexpr int kEraseLog = 4;
inline constexpr int kUploadOwnerName = 5;
inline constexpr int kUploadWaypointsAsTrack = 6;
inline constexpr int kUploadAirspace = 7;
inline constexpr int kDownloadAirspace = 8;
inline constexpr int kDownloadFlightList = 9;
}  // namespace access_function

// The quick buttons: text, command id and place in the button grid.
struct QuickButton {
  const char* text;
  int id;
  int row;
  int column;
};
std::span<const QuickButton> QuickButtons();

}  // namespace trelvik
