#pragma once
// The one table that describes the main window's menus: the tree, each
// command's id, text and shortcut, and for instrument commands the job they
// start. The menu bar, the quick buttons and the command dispatch are built
// from it.
#include <span>

#include "access/protocol_row.hpp"

namespace trelvik {

enum class MenuRow {
  Submenu,    // opens a (sub)menu; closed by the matching End
  End,
  Command,
  Check,      // a command with a check mark
  Separator,
};

// Job started by an instrument command: the operation, the protocol's row and
// the parameter (a baud rate override, 0 for the protocol's default, or a variant).
struct InstrumentJob {
  const ProtocolRow* row = nullptr;  // null: not an instrument command
  AccessFunction accessFunction = AccessFunction::DownloadTrackLog;
  int32_t parameter = 0;
  ProtocolType Protocol() const { return row->protocol; }
};

struct MenuEntry {
  MenuRow row = MenuRow::Command;
  int id = 0;                        // command id; 0 for submenus, ends and separators
  const char* text = "";             // with its "&" mnemonic
  const char* shortcut = nullptr;    // QKeySequence portable text
  InstrumentJob job = {};
};

// The window's own commands with the protocol table's instrument commands in
// their places.
std::span<const MenuEntry> MainMenuTable();

// The quick buttons of every protocol: text, command id and place in the button grid.
std::span<const QuickButtonPlace> QuickButtons();

}  // namespace trelvik
