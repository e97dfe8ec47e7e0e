#pragma once
// The waypoint list's own commands in the window: "&New waypoint", "&Edit
// waypoint", "&Delete waypoint(s)", "Open wpts." and "Save &wpts. As...".
// The instrument transfers of the list are the window's instrument commands.
#include <functional>

#include "base/user_interface.hpp"
#include "records/track_log.hpp"
#include "settings/settings.hpp"
#include "trackfiles/file_answers.hpp"

namespace trelvik {

class MainWindow;
class QtUserInterface;

struct WaypointCommandContext {
  WaypointList& waypoints;  // the window's waypoint store
  Settings& settings;       // waypointDir, wptExportExt and wptImportExt are read and written
  UserInterface& ui;        // messages, questions and file choosers (the window's, or a test's recorder)
  QtUserInterface& qtUi;    // places the dialogs
  // "Modify waypoint ID" while a file is read; empty: the window's dialog.
  FileQuestionAsker askModifyId = {};
};

// Registers the handlers with the window. Everything referred to by `context`
// outlives the window.
void InstallWaypointCommands(MainWindow& window, const WaypointCommandContext& context);

}  // namespace trelvik
