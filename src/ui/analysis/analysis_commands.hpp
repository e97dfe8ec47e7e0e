#pragma once
// The track analysis in the window: the flight statistics dialog (the "Save
// log" command outside competition mode), the filter toggles and settings
// dialogs, the loop flight gap and "Rotate Track". Values come from and go
// to the settings.
#include "base/user_interface.hpp"
#include "records/track_log.hpp"
#include "settings/settings.hpp"

namespace trelvik {

class MainWindow;
class QtUserInterface;

struct AnalysisCommandContext {
  TrackLog& log;       // the window's track log
  Settings& settings;  // the filter settings, LoopFlightGap, PortName and the track-log folder
  UserInterface& ui;   // messages, questions and file choosers (the window's, or a test's recorder)
  // The window's boxes: the small dialogs' place, "Split Log" and "File already exists".
  QtUserInterface& qtUi;
  // Options of a command-line job that runs with the window.
  bool noSplit = false;             // NOSPLIT
  bool noCheck = false;             // NOCHECK: no speed-analysis filter
  bool noLoopOptimisation = false;  // NOLOOPOPT
};

// Registers the handlers of the analysis commands and sets the filter check
// marks from the settings. Everything referred to by `context` outlives the
// window. The "Save log" menu command and button open the flight statistics;
// install after MainWindow::AttachSettings, whose plain logbook save they replace.
void InstallAnalysisCommands(MainWindow& window, const AnalysisCommandContext& context);

// The flight statistics of the selected track rows, as "Save log" opens them
// outside competition mode.
void OpenFlightStatistics(MainWindow& window, const AnalysisCommandContext& context);

// "&OLC statistics (use IGC buffer)" (the log's stored IGC file) and "OLC
// statistics (use selected pos.)".
void OpenOlcStatistics(MainWindow& window, const AnalysisCommandContext& context, bool fromIgcBuffer);

}  // namespace trelvik
