// The instrument commands of the main window: each menu entry and quick button
// whose cell the job table holds starts its job through the GPS access layer,
// behind the busy flag, and its completion installs the result into the stores.
#include <QCoreApplication>
#include <QInputDialog>
#include <QMetaObject>
#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>

#include "access/completion.hpp"
#include "access/gps_access.hpp"
#include "access/job_table.hpp"
#include "access/track_list.hpp"
#include "access/user_interface_channel.hpp"
#include "automation/batch_job_frame.hpp"
#include "base/message_box.hpp"
#include "records/track_stores.hpp"
#include "records/waypoint_upload.hpp"
#include "settings/settings.hpp"
#include "ui/command_ids.hpp"
#include "ui/flymaster_settings_dialog.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"

namespace trelvik {
namespace {

using AF = AccessFunction;

// The caption of a command's refusals and of its own messages.
const char* CaptionOf(AccessFunction function) {
  switch (function) {
    case AF::DownloadWaypoints: return "Download waypoints";
    case AF::DownloadTrackLog: return "Download track log";
    case AF::UploadWaypoints: return "Upload waypoints";
    case AF::EraseLog: return "Erase log";
    case AF::UploadPilotName: return "Write owner name";
    case AF::UploadWaypointsAsTrack: return "Upload wpts. as a track log";
    case AF::UploadCtr: return "Upload CTR";
    case AF::DownloadCtr: return "Download CTR";
    case AF::DownloadFlightList: return "Download flightlist";
    default: return "GPS access";
  }
}

// "Write GPS name": the owner name a logger stores, at most `width`
// characters; nothing when cancelled or left empty.
std::optional<std::string> AskOwnerName(QWidget* parent, size_t width) {
  bool ok = false;
  const QString typed = QInputDialog::getText(parent, "Write GPS name", "Fill in the name:", QLineEdit::Normal, {}, &ok);
  if (!ok) return std::nullopt;
  std::string name = typed.toStdString().substr(0, width);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (name.empty()) return std::nullopt;
  return name;
}

// Leonardo keeps the IDs on its competition page, the one its competition
// check reads; the others take the first of their send commands.
bool SendsIdsTo(const InstrumentJob& job) {
  constexpr int32_t kLeonardoCompetitionPage = 1;
  return job.Protocol() != ProtocolType::Leonardo || job.parameter == kLeonardoCompetitionPage;
}

// The power-off check mark a driver reads: Garmin's for its downloads and
// uploads, Flymaster's for its log reads; none for the other families.
int PowerOffCheckMark(ProtocolType protocol) {
  switch (protocol) {
    case ProtocolType::GarminSerial:
    case ProtocolType::GarminUsb: return command::kPowerOffAfterWaypointsAndLog;
    case ProtocolType::Flymaster: return command::kPowerOffAfterLog;
    default: return 0;
  }
}

}  // namespace

int MainWindow::StartPilotIdUpload(ProtocolType protocol, std::vector<Waypoint> ids,
                                   std::function<void(GpsJob&)> bookkeeping) {
  const auto entries = MainMenuTable();
  const auto upload = std::find_if(entries.begin(), entries.end(), [this, protocol](const MenuEntry& entry) {
    return entry.job.row != nullptr && entry.job.accessFunction == AF::UploadWaypoints &&
           entry.job.Protocol() == protocol && HasHandler(entry.id) && SendsIdsTo(entry.job);
  });
  if (upload == entries.end()) return -1;
  CompletionContext context;
  context.competitionMode = true;
  context.competitionBookkeeping = std::move(bookkeeping);
  return StartInstrumentJob(
      upload->job, "Upload pilot ID",
      [this, context](GpsJob& job) { CompleteWaypointUpload(job, *access_, context); }, std::move(ids));
}

void MainWindow::OfferInstrumentCommands(const JobTable& table) {
  // Their state is the check mark itself, off at start and not stored.
  for (const int checkMark : {command::kPowerOffAfterWaypointsAndLog, command::kPowerOffAfterLog}) {
    SetHandler(checkMark, [] {});
  }
  for (const MenuEntry& entry : MainMenuTable()) {
    const InstrumentJob& job = entry.job;
    if (job.row == nullptr || entry.id == 0) continue;
    // The airspace commands own their transfers: they pick the airspaces.
    if (job.accessFunction == AF::UploadCtr || job.accessFunction == AF::DownloadCtr) continue;
    if (table.Find(job.accessFunction, job.Protocol()) == nullptr) continue;
    const MenuEntry* row = &entry;
    SetHandler(entry.id, [this, row] { RunInstrumentCommand(*row); });
  }
}

std::function<void(GpsJob&)> MainWindow::OnWindowThread(std::function<void(GpsJob&)> completion) {
  return [this, completion = std::move(completion)](GpsJob& job) {
    // A window already closed takes nothing; the busy flag must still fall.
    if (!qtUi_.RunOnWindowThread([&] { completion(job); })) {
      if (job.result < 0) access_->SetFailed();
      access_->SetJobRunning(false);
    }
  };
}

int MainWindow::StartInstrumentJob(const InstrumentJob& job, std::string_view caption,
                                   std::function<void(GpsJob&)> onComplete, std::vector<Waypoint> waypoints,
                                   std::any ctrList, std::string ownerName, std::vector<std::string> pilotData) {
  if (access_ == nullptr || channel_ == nullptr) return -1;
  if (access_->RefuseWhenBusy(ui_, caption)) return -1;
  JobRequest request;
  request.function = job.accessFunction;
  request.protocol = job.Protocol();
  request.option = job.parameter;
  request.portName = settings_ != nullptr ? settings_->portName : options_.portName;
  request.channel = channel_.get();
  request.onComplete = OnWindowThread(std::move(onComplete));
  request.waypoints = std::move(waypoints);
  request.ctrList = std::move(ctrList);
  request.ownerName = std::move(ownerName);
  request.pilotData = std::move(pilotData);
  if (const QAction* powerOff = Action(PowerOffCheckMark(job.Protocol()))) {
    request.powerOffAfterTransfer = powerOff->isChecked();
  }
  if (job.accessFunction == AccessFunction::DownloadTrackLog && competition_.waypointCheck &&
      (!competition_.checksWaypoints || competition_.checksWaypoints(job.Protocol()))) {
    request.competitionCheck = competition_.waypointCheck();
  }
  if (settings_ != nullptr) {
    request.analysis = {settings_->logFilter != 0, settings_->loopFlightGap, settings_->trackLogDir};
    request.utcOffsetForTn = settings_->utcOffsetForTN;
  }
  if (access_->StartGpsJob(std::move(request)) != 0) return -1;
  SetJobRunning(true);
  return 0;
}

void MainWindow::RunInstrumentCommand(const MenuEntry& entry) {
  const AccessFunction function = entry.job.accessFunction;
  const char* caption = CaptionOf(function);
  CompletionContext context;
  switch (function) {
    case AF::DownloadTrackLog:
      StartTrackDownload(entry);
      return;
    case AF::DownloadWaypoints:
      context.redrawWaypointList = [this] { ShowView(ViewMode::Waypoints); };
      (void)StartInstrumentJob(entry.job, caption, [this, context](GpsJob& job) {
        CompleteWaypointDownload(job, *access_, log_, waypoints_, context);
      });
      return;
    case AF::UploadWaypoints:
    case AF::UploadWaypointsAsTrack:
      StartWaypointUpload(entry);
      return;
    case AF::DownloadFlightList:
      (void)StartInstrumentJob(entry.job, caption, [this, context, caption](GpsJob& job) {
        const bool listed = job.result >= 0 && access_->JobRunning();
        CompleteFlightListDownload(job, *access_, context);
        // Interactively the list is shown to the user instead of a calling program.
        const std::string text = FlightListText(job);
        if (listed && !text.empty()) ShowInfo(ui_, text, caption);
      });
      return;
    case AF::UploadPilotName: {
      if (entry.job.Protocol() == ProtocolType::Flymaster) {
        StartFlymasterSettings(entry);
        return;
      }
      if (entry.job.Protocol() == ProtocolType::Dsx && settings_ != nullptr) {
        // The pilot-data form opens in the mode the user left it in last time.
        InstrumentJob job = entry.job;
        job.parameter = settings_->dsxDataMode;
        (void)StartInstrumentJob(job, caption, [this](GpsJob& done) {
          settings_->dsxDataMode = done.option;
          CompleteUpload(done, *access_);
        });
        return;
      }
      if (RefuseWhileBusy(caption)) return;
      constexpr size_t kLogItName = 9;
      constexpr size_t kGraviterName = 20;
      const size_t width = entry.job.Protocol() == ProtocolType::Graviter ? kGraviterName : kLogItName;
      std::optional<std::string> name = AskOwnerName(this, width);
      if (!name) return;
      (void)StartInstrumentJob(
          entry.job, caption, [this](GpsJob& job) { CompleteUpload(job, *access_); }, {}, {}, std::move(*name));
      return;
    }
    default:
      // Erase and the logger's own dialog install nothing.
      (void)StartInstrumentJob(entry.job, caption, [this](GpsJob& job) { CompleteUpload(job, *access_); });
      return;
  }
}

void MainWindow::StartFlymasterSettings(const MenuEntry& entry) {
  const auto command = static_cast<flymaster::SettingsCommand>(entry.job.parameter);
  const flymaster::SettingsDialog& dialog = flymaster::SettingsDialogOf(command);
  if (RefuseWhileBusy(dialog.caption)) return;
  const std::optional<std::vector<std::string>> typed = AskFlymasterSettings(this, dialog);
  if (!typed) return;
  const flymaster::InputCheck check = flymaster::CheckSettingsInput(command, *typed);
  if (check.verdict == flymaster::InputVerdict::Refused) {
    ShowError(ui_, check.refusal, dialog.caption);
    return;
  }
  if (check.verdict == flymaster::InputVerdict::Cancelled) return;
  // The settings job installs nothing; its completion only clears the busy flag.
  (void)StartInstrumentJob(
      entry.job, dialog.caption, [this](GpsJob& job) { CompleteUpload(job, *access_); }, {}, {}, {}, check.texts);
}

void MainWindow::StartTrackDownload(const MenuEntry& entry) {
  const char* caption = CaptionOf(AF::DownloadTrackLog);
  if (RefuseWhileBusy(caption)) return;
  // The all-tracks download writes its own logbook and leaves the loaded log alone.
  const bool replacesLog = !entry.job.row->writesOwnLogbook;
  if (replacesLog) {
    if (!log_.Empty() && log_.saved == 0 && !options_.commandLineJob &&
        AskOkCancel(ui_, "Continue without saving current track log ?", "Unsaved track log") != Answer::Ok) {
      return;
    }
    ClearTrackLog(log_);
    ShowView(ViewMode::TrackLog);
  }
  CompletionContext context;
  if (settings_ != nullptr) context.downloadFilter = DownloadFilterOf(*settings_);
  context.redrawTrackList = [this] { ShowView(ViewMode::TrackLog); };
  context.competitionMode = replacesLog && competition_.waypointCheck && competition_.waypointCheck();
  if (context.competitionMode) {
    // The competition flow asks for the pilot: after the completion, not inside it.
    context.postMainWindow = [this](int first, int second) {
      if (first != 2 || !competition_.afterDownload) return;
      QMetaObject::invokeMethod(
          this, [this, second] { competition_.afterDownload(second == 1); }, Qt::QueuedConnection);
    };
  }
  (void)StartInstrumentJob(entry.job, caption, [this, context, replacesLog](GpsJob& job) {
    if (!replacesLog && settings_ != nullptr && !job.analysis.folder.empty()) {
      settings_->trackLogDir = job.analysis.folder;
    }
    CompleteTrackDownload(job, *access_, log_, context);
  });
}

std::vector<Waypoint> MainWindow::SelectedWaypoints() const {
  std::vector<Waypoint> selected;
  if (Mode() != ViewMode::Waypoints) return selected;
  QModelIndexList rows = list_->selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  for (const QModelIndex& row : rows) {
    if (row.row() < waypoints_.Count()) selected.push_back(waypoints_.waypoints[static_cast<size_t>(row.row())]);
  }
  return selected;
}

void MainWindow::StartWaypointUpload(const MenuEntry& entry) {
  const char* caption = CaptionOf(entry.job.accessFunction);
  if (RefuseWhileBusy(caption)) return;
  std::vector<Waypoint> selected = SelectedWaypoints();
  const bool uploadsWaypoints = entry.job.accessFunction == AF::UploadWaypoints;
  const UploadNameRule rule = uploadsWaypoints ? UploadNameRuleFor(entry.job.row->uploadNameRules, entry.job.parameter)
                                               : UploadNameRule::Unchanged;
  for (Waypoint& waypoint : selected) ApplyUploadNameRule(waypoint, rule);
  // The pilot's ID waypoints follow the selection with their names as they are.
  if (uploadsWaypoints && competition_.beforeWaypointUpload && !competition_.beforeWaypointUpload(selected)) return;
  if (selected.empty()) {
    ShowError(ui_, "No waypoints selected", caption);
    return;
  }
  CompletionContext context;
  context.competitionMode = static_cast<bool>(competition_.afterWaypointUpload);
  context.competitionBookkeeping = competition_.afterWaypointUpload;
  std::function<void(GpsJob&)> complete;
  if (uploadsWaypoints) {
    complete = [this, context](GpsJob& job) { CompleteWaypointUpload(job, *access_, context); };
  } else {
    complete = [this](GpsJob& job) { CompleteUpload(job, *access_); };
  }
  (void)StartInstrumentJob(entry.job, caption, std::move(complete), std::move(selected));
}

}  // namespace trelvik
