#include "ui/competition/competition_commands.hpp"

#include <QAction>
#include <QCheckBox>
#include <QTableView>
#include <memory>

#include "access/gps_job.hpp"

#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "competition/competition_ids.hpp"
#include "competition/competition_output.hpp"
#include "ui/airspace/selected_rows.hpp"
#include "ui/analysis/analysis_commands.hpp"
#include "ui/choice_list_dialog.hpp"
#include "ui/command_ids.hpp"
#include "ui/competition/competition_dialogs.hpp"
#include "ui/competition/pilot_list_model.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"

namespace trelvik {
namespace {

constexpr const char* kPilotListFilter = "FS Database files";

// "&Read pilot list": the file dialog, the question before a list is
// replaced, the read. The count read, or -1 when the list stayed.
int ReadPilotListFromDialog(const CompetitionCommandContext& context) {
  if (context.pilots.Loaded() && !context.commandLineJob &&
      AskOkCancel(context.ui, "Current list will be overwritten, continue ?", kDecodingPilotListCaption) !=
          Answer::Ok) {
    return -1;
  }
  const std::optional<std::string> path = ChooseFileName(context.ui, FileDialogKind::Open, kReadPilotListCaption,
                                                         kPilotListFilter, ".fsdb", context.settings.pilotListDir);
  if (!path) return -1;
  if (ReadPilotListFile(context.ui, *path, context.pilots) < 0) return -1;
  context.settings.pilotListName = *path;
  const int count = static_cast<int>(context.pilots.entries.size());
  context.ui.SetStatus(CFormat("%d pilots registered", count));
  return count;
}

void SavePilotListCsv(const CompetitionCommandContext& context) {
  if (!context.pilots.Loaded()) {
    ShowError(context.ui, "No pilot list stored", "Save pilot list");
    return;
  }
  const std::optional<std::string> path =
      SaveFileDialog(context.ui, "Save pilot list", "Pilot list files", ".csv", context.settings.pilotListDir);
  if (!path) return;
  if (const FileWriteError error = WriteFileAtomically(*path, PilotListCsvText(context.pilots.entries))) {
    ShowSystemError(context.ui, "Save pilot list", error.errorNumber);
  }
}

void ShowCompetitionModeDialog(MainWindow& window, const CompetitionCommandContext& context) {
  Settings& settings = context.settings;
  CompetitionModeActions actions;
  actions.readPilotList = [&window, context] {
    const int count = ReadPilotListFromDialog(context);
    window.RefreshList();
    return count;
  };
  actions.setTimes = [&window, context]() -> std::optional<CompetitionTimes> {
    SetCompetitionTimesDialog dialog(context.settings.compTimeStart, context.settings.compTimeStop, context.ui,
                                     &window);
    context.qtUi.PlaceSmallDialog(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    context.settings.compTimeStart = dialog.Times().start;
    context.settings.compTimeStop = dialog.Times().stop;
    return dialog.Times();
  };
  CompetitionModeDialog dialog(settings.compMode != 0, static_cast<int>(context.pilots.entries.size()),
                               {settings.compTimeStart, settings.compTimeStop}, actions, &window);
  context.qtUi.PlaceSmallDialog(dialog);
  if (dialog.exec() != QDialog::Accepted) return;
  settings.compMode = dialog.ModeBox().isChecked() ? 1 : 0;
  window.SetCompetitionMode(settings.compMode != 0, settings.compSpecial != 0);
}

CompetitionOutputSettings OutputSettings(const CompetitionCommandContext& context) {
  const Settings& settings = context.settings;
  CompetitionOutputSettings output;
  output.compDir = settings.compDir;
  output.timeStart = settings.compTimeStart;
  output.timeStop = settings.compTimeStop;
  output.writeIgc = settings.addIgcToCompOut != 0 || settings.compSpecial != 0;
  output.speedFilter = settings.logFilter != 0;
  output.varioFilter = settings.varioFilter;
  output.split = {settings.trackGapTime, false, settings.portName, context.log.modelName};
  output.loopFlightGap = settings.loopFlightGap;
  return output;
}

// The "Save competition log" dialog: true when the user confirmed a pilot,
// who then is the log's pilot.
bool AskPilot(MainWindow& window, const CompetitionCommandContext& context) {
  TrackLog& log = context.log;
  SaveLogDialogContent content;
  content.title = SaveCompetitionLogTitle(context.settings.portName, log.modelName);
  content.current = {log.compId < 0 ? std::string() : std::to_string(log.compId),
                     log.civlId < 0 ? std::string() : std::to_string(log.civlId), log.pilotName};
  content.compId = log.compId;
  content.civlId = log.civlId;
  content.folder = context.settings.compDir;
  SaveCompetitionLogDialog dialog(
      content, context.pilots, context.ui, [context] { return ReadPilotListFromDialog(context) >= 0; }, &window);
  context.qtUi.PlaceSmallDialog(dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  const ChosenPilot& pilot = dialog.Chosen();
  log.compId = pilot.compId;
  log.civlId = pilot.civlId;
  log.pilotName = pilot.name;
  if (!dialog.Folder().empty()) context.settings.compDir = dialog.Folder();
  context.ui.SetStatus(ChosenPilotStatus(pilot));
  return true;
}

void SaveOutput(const CompetitionCommandContext& context, std::span<const TrackPoint> points) {
  (void)SaveCompetitionOutput(context.ui, context.log, points, OutputSettings(context), QtSplitLogChooser(context.qtUi),
                              CurrentUtcTime());
}

// "Save log" in competition mode: the selected positions under a pilot.
void SaveSelection(MainWindow& window, const CompetitionCommandContext& context) {
  if (window.JobRunning()) {
    ShowError(context.ui, "Busy GPS driver", kSaveCompetitionCaption);
    return;
  }
  std::vector<TrackPoint> points;
  for (const int row : SelectedRows(window.List())) {
    if (row < context.log.Count()) points.push_back(context.log.points[static_cast<size_t>(row)]);
  }
  if (points.empty()) {
    ShowError(context.ui, "No positions found", kSaveCompetitionCaption);
    return;
  }
  if (!AskPilot(window, context)) return;
  SaveOutput(context, points);
}

// Before a waypoint upload in competition mode: "Select pilot", then the ID
// waypoints after the selection. False when the user cancelled.
bool AddPilotIds(MainWindow& window, const CompetitionCommandContext& context, std::vector<Waypoint>& waypoints,
                 bool& idsAdded) {
  idsAdded = false;
  Settings& settings = context.settings;
  if (settings.compMode == 0) return true;
  TrackLog& log = context.log;
  const PilotFields current{log.compId < 0 ? std::string() : std::to_string(log.compId),
                            log.civlId < 0 ? std::string() : std::to_string(log.civlId), log.pilotName};
  SelectPilotDialog dialog(SelectPilotTitle(settings.portName, log.modelName), current, context.pilots,
                           settings.compWptNNN != 0, context.ui, &window);
  context.qtUi.PlaceSmallDialog(dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  settings.compWptNNN = dialog.NnnBox().isChecked() ? 1 : 0;
  const ChosenPilot& pilot = dialog.Chosen();
  log.compId = pilot.compId;
  log.civlId = pilot.civlId;
  log.pilotName = pilot.name;
  const std::vector<Waypoint> ids =
      PilotIdWaypoints(pilot.compId, pilot.civlId, settings.compWptNNN != 0, TrackTimeFromDate(CurrentUtcTime()));
  waypoints.insert(waypoints.end(), ids.begin(), ids.end());
  idsAdded = !ids.empty();
  window.RefreshList();
  return true;
}

// The instruments whose waypoints can carry a pilot's IDs.
bool TakesIdWaypoints(ProtocolType protocol) {
  switch (protocol) {
    case ProtocolType::GarminSerial:
    case ProtocolType::Mlr:
    case ProtocolType::TopNav:
    case ProtocolType::Flytec:
    case ProtocolType::Magellan:
    case ProtocolType::XcTrainer:
    case ProtocolType::GarminUsb:
    case ProtocolType::Flymaster:
    case ProtocolType::IqBasic:
    case ProtocolType::Leonardo:
      return true;
    default:
      return false;
  }
}

std::string NoPilotIdQuestion(const TrackLog& log) {
  std::string text = "The GPS did not contain any COMPID or CIVLID.\r\nDo you want to upload the following ID(s) ?\r\n";
  if (log.compId >= 0) text += CFormat("\r\nCOMPID: %d", log.compId);
  if (log.civlId >= 0) text += CFormat("\r\nCIVLID: %d", log.civlId);
  text += "\r\nPilot: " + log.pilotName;
  text += "\r\nGPS: " + log.identity;
  return text;
}

// After a download whose instrument held no ID: the pilot's IDs, now known,
// are offered for that instrument so that its next download finds them.
void OfferPilotIdUpload(MainWindow& window, const CompetitionCommandContext& context) {
  const TrackLog& log = context.log;
  if ((log.compId < 0 && log.civlId < 0) || !TakesIdWaypoints(log.protocol)) return;
  // A dialog of its own, not a message box: the IDs, the name and the product
  // are shown whole, beyond the message boxes' length.
  if (context.ui.Ask(QuestionKind::OkCancel, NoPilotIdQuestion(log), "No pilot ID") != Answer::Ok) return;
  std::vector<Waypoint> ids = PilotIdWaypoints(log.compId, log.civlId, context.settings.compWptNNN != 0,
                                               TrackTimeFromDate(CurrentUtcTime()));
  (void)window.StartPilotIdUpload(log.protocol, std::move(ids), [context](GpsJob& job) {
    (void)RememberPilotDevice(context.pilots, context.log.pilotName, job.identity);
  });
}

}  // namespace

void RunCompetitionFlow(MainWindow& window, const CompetitionCommandContext& context) {
  const bool instrumentHeldId = context.log.compId >= 0 || context.log.civlId >= 0;
  if (context.log.Empty() || !AskPilot(window, context)) return;
  SaveOutput(context, context.log.points);
  if (!instrumentHeldId) OfferPilotIdUpload(window, context);
}

void InstallCompetitionCommands(MainWindow& window, const CompetitionCommandContext& context) {
  using namespace command;
  Settings& settings = context.settings;
  if (!context.commandLineJob && settings.compMode != 0 && !settings.pilotListName.empty() &&
      ReadPilotListFile(context.ui, settings.pilotListName, context.pilots) == 0) {
    context.ui.SetStatus(CFormat("%d pilots registered", static_cast<int>(context.pilots.entries.size())));
  }
  window.SetCompetitionMode(settings.compMode != 0, settings.compSpecial != 0);
  new ViewBinding(window, ViewMode::PilotList, new PilotListModel(context.pilots));  // owned by the window

  CompetitionHooks hooks;
  hooks.waypointCheck = [&settings]() -> CompetitionWaypointCheck {
    if (settings.compMode == 0) return {};
    return MakeCompetitionWaypointCheck(settings.compSpecial != 0);
  };
  // Off at start: a Garmin on USB is searched for ID waypoints only on request.
  auto usbChecksWaypoints = std::make_shared<bool>(false);
  hooks.checksWaypoints = [usbChecksWaypoints](ProtocolType protocol) {
    return protocol != ProtocolType::GarminUsb || *usbChecksWaypoints;
  };
  window.SetHandler(kUsbCompCheckWaypoints, [&window, usbChecksWaypoints] {
    *usbChecksWaypoints = !*usbChecksWaypoints;
    if (QAction* action = window.Action(kUsbCompCheckWaypoints)) action->setChecked(*usbChecksWaypoints);
  });
  hooks.afterDownload = [&window, context](bool installed) {
    if (installed) RunCompetitionFlow(window, context);
  };
  // Set by the pilot question of an upload, read by its completion.
  auto idsSent = std::make_shared<bool>(false);
  hooks.beforeWaypointUpload = [&window, context, idsSent](std::vector<Waypoint>& waypoints) {
    return AddPilotIds(window, context, waypoints, *idsSent);
  };
  hooks.afterWaypointUpload = [context, idsSent](GpsJob& job) {
    if (!*idsSent || context.settings.compMode == 0) return;
    *idsSent = false;
    // The instrument that now holds the pilot's IDs belongs to that pilot.
    (void)RememberPilotDevice(context.pilots, context.log.pilotName, job.identity);
  };
  window.SetCompetitionHooks(std::move(hooks));

  window.SetHandler(kCompetitionMode, [&window, context] { ShowCompetitionModeDialog(window, context); });
  window.SetHandler(kSavePilotListCsv, [context] { SavePilotListCsv(context); });
  window.SetHandler(kToggleCompSpecial, [&window, &settings] {
    settings.compSpecial = settings.compSpecial != 0 ? 0 : 1;
    window.SetCompetitionMode(settings.compMode != 0, settings.compSpecial != 0);
  });
  if (QAction* action = window.Action(kAddIgcToCompOut)) action->setChecked(settings.addIgcToCompOut != 0);
  window.SetHandler(kAddIgcToCompOut, [&window, &settings] {
    settings.addIgcToCompOut = settings.addIgcToCompOut != 0 ? 0 : 1;
    if (QAction* action = window.Action(kAddIgcToCompOut)) action->setChecked(settings.addIgcToCompOut != 0);
  });
  const AnalysisCommandContext analysis{context.log, context.settings, context.ui, context.qtUi};
  for (const int id : {kSaveLogFlightLog, kSaveLogButton}) {
    window.SetHandler(id, [&window, context, analysis] {
      if (context.settings.compMode != 0) {
        SaveSelection(window, context);
      } else {
        OpenFlightStatistics(window, analysis);
      }
    });
  }
}

}  // namespace trelvik
