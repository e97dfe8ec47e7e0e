#pragma once
// The CTR menu in the window: the airspace view's rows, reading and writing
// OpenAir files, the GPX and Google Maps exports, the OpenAir editor, delete,
// show as waypoints and the segment accuracy. Each command keeps the window's
// guards: "Busy GPS driver" while an instrument job runs and "Incorrect view
// mode" outside the airspace view, under the command's caption.
#include "airspace/airspace_list.hpp"
#include "airspace/openair_parser.hpp"
#include "base/user_interface.hpp"
#include "records/track_log.hpp"
#include "settings/settings.hpp"

namespace trelvik {

class ViewBinding;
class JobTable;
class MainWindow;
class QtUserInterface;

struct AirspaceCommandContext {
  AirspaceList& airspace;    // the program's airspace list
  WaypointList& waypoints;   // the window's waypoint store ("&Show CTR as waypoints")
  Settings& settings;        // ctrDir and ctrSegError are read and written
  UserInterface& ui;         // messages, questions and file choosers (the window's, or a test's recorder)
  QtUserInterface& qtUi;     // places the small dialogs at the command-line position
  DyNotifier notifyDy = {};  // empty: the window's "CTR error notification" dialog
  // The instrument jobs: the airspace uploads and downloads whose cells it
  // holds are offered. Null: no transfers (the window has no GPS access).
  const JobTable* jobs = nullptr;
};

// Registers the handlers of the CTR menu's commands with the window.
// Everything referred to by `context` outlives the window. Returns the view
// binding, owned by the window.
ViewBinding& InstallAirspaceCommands(MainWindow& window, const AirspaceCommandContext& context);

}  // namespace trelvik
