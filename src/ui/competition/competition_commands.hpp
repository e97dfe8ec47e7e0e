#pragma once
// Competition mode in the window: the "Competition mode" dialog, the pilot
// list commands, the check mark "Add IGC file to comp. output", the pilot
// question after each track download, "Save log" for the selection, and the
// competition state restored at start.
#include "base/user_interface.hpp"
#include "competition/pilot_list.hpp"
#include "records/track_log.hpp"
#include "settings/settings.hpp"

namespace trelvik {

class MainWindow;
class QtUserInterface;

struct CompetitionCommandContext {
  TrackLog& log;       // the window's track log
  Settings& settings;  // the competition settings, the filters, the port
  PilotList& pilots;   // the one pilot list of the program
  UserInterface& ui;   // messages, questions and file choosers
  QtUserInterface& qtUi;
  // A command-line job runs with the window: the state is not restored from
  // the settings and nothing is asked before a list is replaced.
  bool commandLineJob = false;
};

// Registers the handlers and hooks; everything `context` refers to outlives
// the window. Install after the analysis commands, whose "Save log" it wraps.
void InstallCompetitionCommands(MainWindow& window, const CompetitionCommandContext& context);

// The competition flow after a track download: the "Save competition log"
// dialog, then the output from all points. Exposed for the window's tests.
void RunCompetitionFlow(MainWindow& window, const CompetitionCommandContext& context);

}  // namespace trelvik
