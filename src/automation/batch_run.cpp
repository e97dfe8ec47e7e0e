#include "automation/batch_run.hpp"

#include "airspace/ctr_file.hpp"
#include "automation/batch_log_file.hpp"
#include "automation/batch_output.hpp"
#include "automation/batch_waypoints.hpp"
#include "automation/command_line.hpp"
#include "automation/command_line_instruments.hpp"
#include "automation/contest_score_report.hpp"
#include "trackfiles/igc_contest_fixes.hpp"
#include "base/c_format.hpp"
#include "competition/competition_download.hpp"
#include "base/message_box.hpp"
#include "records/track_stores.hpp"

namespace trelvik {
namespace {

// The command of the pilot-data upload that USERNAME starts: the identifiers
// (competition id, CIVL id, pilot name).
constexpr int32_t kIdentifiersCommand = 2;

void Call(const std::function<void()>& hook) {
  if (hook) hook();
}

// Without a window to choose in, the preselected flight is kept, as OK would.
std::optional<std::vector<int32_t>> TakePreselected(const SplitLogDialog& dialog) {
  return std::vector<int32_t>{dialog.preselected};
}

}  // namespace

BatchRun::BatchRun(const CommandLineJob& job, BatchRunContext context)
    : job_(std::make_unique<CommandLineJob>(job)), context_(std::move(context)) {
  if (!context_.hooks.chooseSplit) context_.hooks.chooseSplit = TakePreselected;
}

BatchRun::~BatchRun() = default;

bool BatchRun::ExitAfter() const { return job_->exitAfter != 0 && !exitCancelled_; }

int BatchRun::RunCommandLineJob() {
  CommandLineJob& job = *job_;
  UserInterface& ui = context_.ui;
  if (!job.portName.empty()) context_.settings.portName = job.portName;
  switch (job.jobKind) {
    case JobKind::KmlLog:
    case JobKind::OziLog:
    case JobKind::MpsLog:
    case JobKind::IgcLog:
      // The menu's starter drops the old log before the download begins.
      ClearTrackLog(context_.log);
      Call(context_.hooks.redrawTrackList);
      return StartTransfer({BatchTransferKind::TrackDownload});
    case JobKind::CompLog: return StartCompetitionDownload();
    case JobKind::FlightList: return StartTransfer({BatchTransferKind::FlightList});
    case JobKind::ReadWaypoints:
    case JobKind::ReadGeoWaypoints: return StartTransfer({BatchTransferKind::WaypointDownload});
    case JobKind::WriteWaypoints:
    case JobKind::WriteWaypoints2: return StartWaypointUpload();
    case JobKind::WriteCtr: return StartCtrUpload();
    case JobKind::Username: return StartPilotDataUpload();
    case JobKind::LogFile: {
      if (OpenTrackLogFile(ui, job.fileName, context_.log, context_.hooks.chooseTrack, NowDate(),
                           context_.settings.utcOffsetForTN) < 0) {
        context_.transfers.SetFailed();
      } else if (job.scoreRules) {
        ReportContestScore(ui, *job.scoreRules, ContestFixesOfLog(context_.log));
      }
      Call(context_.hooks.redrawTrackList);
      return EndWithoutTransfer();
    }
    case JobKind::CheckKml:
      // The exit code answers the question: 1 for a valid signature.
      if (KmlSignatureValid(ui, job.fileName, context_.hooks.chooseTrack)) context_.transfers.SetFailed();
      return -1;
    case JobKind::None: return 0;
    default:
      ShowError(ui, "This command-line job is not available in this version", kParsingCaption);
      context_.transfers.SetFailed();
      return EndWithoutTransfer();
  }
}

int BatchRun::StartTransfer(BatchTransferRequest request) {
  // The parser refuses a driver not built yet; a record made elsewhere still
  // meets the job table's own refusal when the transfer starts.
  const std::optional<JobProtocol> protocol = ProtocolForJob(*job_);
  if (!protocol) {
    // The parser refuses such a line; a record made elsewhere may still hold one.
    const std::optional<std::string_view> refusal = CheckJobAgainstInstrument(*job_);
    ShowError(context_.ui, refusal ? *refusal : std::string_view("Unsupported GPS type"), kParsingCaption);
    context_.transfers.SetFailed();
    return EndWithoutTransfer();
  }
  request.protocol = protocol->protocol;
  // A pilot-data upload's option is its command; the others take the protocol's.
  if (request.kind != BatchTransferKind::PilotData) request.option = protocol->option;
  request.portName = context_.settings.portName;
  request.utcOffsetForTn = context_.settings.utcOffsetForTN;
  if (context_.transfers.Start(std::move(request)) < 0) {
    // A transfer that never began has failed as surely as one that broke off.
    context_.transfers.SetFailed();
    return EndWithoutTransfer();
  }
  transferRunning_ = true;
  if (context_.hooks.notify) context_.hooks.notify("Transfer started");
  return 0;
}

int BatchRun::StartCtrUpload() {
  UserInterface& ui = context_.ui;
  std::string bytes;
  if (!ReadCtrFileBytes(ui, job_->fileName, bytes)) {
    context_.transfers.SetFailed();
    return EndWithoutTransfer();
  }
  CtrList read;
  const int count = ParseOpenAir(ui, bytes, read);
  if (count < 0) context_.transfers.SetFailed();
  if (count <= 0) return EndWithoutTransfer();
  for (CtrArea& area : read) area.selected = true;
  context_.airspace.Install(CtrList(read), false);
  if (!job_->exitAfter) {
    ui.SetStatus(CFormat("%d CTRs read", count));
    Call(context_.hooks.redrawCtrList);
  }
  BatchTransferRequest request{BatchTransferKind::CtrUpload};
  request.ctrList = std::move(read);
  return StartTransfer(std::move(request));
}

int BatchRun::StartWaypointUpload() {
  UserInterface& ui = context_.ui;
  const std::optional<JobProtocol> protocol = ProtocolForJob(*job_);
  const SystemTime now = context_.hooks.utcNow ? context_.hooks.utcNow() : CurrentUtcTime();
  std::optional<WaypointUploadFile> file =
      ReadWaypointUploadFile(ui, *job_, protocol ? protocol->protocol : ProtocolType::Flytec, TrackTimeFromDate(now),
                             context_.hooks.askWaypointFile);
  if (!file) context_.transfers.SetFailed();
  if (!file || file->fileCount == 0) return EndWithoutTransfer();
  const int count = static_cast<int>(file->listed.size());
  if (!job_->exitAfter) {
    context_.waypoints.waypoints = std::move(file->listed);
    Call(context_.hooks.redrawWaypointList);
  }
  ui.SetStatus(CFormat("%d waypoints read", count));
  ui.SetProduct(job_->fileName);
  BatchTransferRequest request{BatchTransferKind::WaypointUpload};
  request.waypoints = std::move(file->toSend);
  return StartTransfer(std::move(request));
}

int BatchRun::StartPilotDataUpload() {
  const CommandLineJob& job = *job_;
  const auto number = [](int32_t value) { return value < 0 ? std::string() : std::to_string(value); };
  BatchTransferRequest request{BatchTransferKind::PilotData};
  request.option = kIdentifiersCommand;
  request.pilotData = {number(job.compId), number(job.civlId), job.pilot};
  return StartTransfer(std::move(request));
}

int BatchRun::StartCompetitionDownload() {
  const CommandLineJob& job = *job_;
  Settings& settings = context_.settings;
  if (job.filterStart != 0) settings.compTimeStart = job.filterStart;
  if (job.filterEnd != 0) settings.compTimeStop = job.filterEnd;
  if (!job.compDir.empty()) settings.compDir = job.compDir;
  PilotList* pilots = context_.pilots;
  if (pilots != nullptr && !pilots->Loaded() && settings.compMode != 0 && !settings.pilotListName.empty()) {
    // The list the window's competition mode works with serves the run too.
    if (ReadPilotListFile(context_.ui, settings.pilotListName, *pilots) < 0) {
      context_.transfers.SetFailed();
      return EndWithoutTransfer();
    }
  }
  ClearTrackLog(context_.log);
  Call(context_.hooks.redrawTrackList);
  BatchTransferRequest request{BatchTransferKind::TrackDownload};
  // With a list the instrument's ID waypoints name the pilot.
  request.competitionCheck = pilots != nullptr && pilots->Loaded();
  request.competitionSpecial = job.compSpecial != 0;
  return StartTransfer(std::move(request));
}

int BatchRun::WriteCompetitionOutput() {
  const CommandLineJob& job = *job_;
  const Settings& settings = context_.settings;
  CompetitionOutputSettings output;
  output.compDir = settings.compDir;
  output.timeStart = settings.compTimeStart;
  output.timeStop = settings.compTimeStop;
  output.writeIgc = job.compFileType == CompFileType::Igc || settings.addIgcToCompOut != 0;
  output.speedFilter = job.noCheck == 0;
  output.varioFilter = settings.varioFilter;
  output.split = {settings.trackGapTime, job.noSplit != 0, settings.portName, context_.log.modelName};
  output.loopFlightGap = settings.loopFlightGap;
  output.noLoopOptimisation = job.noLoopOpt != 0;
  output.commandLineRun = true;
  return StoreCompetitionDownload(context_.ui, context_.log, context_.pilots, {job.pilot, job.compId, job.civlId},
                                  output, context_.hooks.chooseSplit, NowDate());
}

SystemTime BatchRun::NowDate() const {
  return context_.hooks.utcNow ? context_.hooks.utcNow() : CurrentUtcTime();
}

TrackTime BatchRun::Now() const { return TrackTimeFromDate(NowDate()); }

int BatchRun::EndWithoutTransfer() { return job_->exitAfter ? -1 : 0; }

bool BatchRun::ContinueCommandLineJob(bool success) {
  transferRunning_ = false;
  if (success) WriteOutput();
  if (context_.hooks.notify) context_.hooks.notify(success ? "Transfer completed" : "Transfer completed (error)");
  return ExitAfter();
}

void BatchRun::WriteOutput() {
  const std::function<void()> cancelExit = [this] { CancelExit(); };
  const BatchOutputContext output{
      context_.ui, *job_, context_.settings, context_.hiddenWindow, context_.hooks.chooseSplit, cancelExit};
  int result = kOutputWritten;
  switch (job_->jobKind) {
    case JobKind::KmlLog: result = WriteBatchKml(context_.log, output); break;
    case JobKind::IgcLog: result = WriteBatchIgc(context_.log, output); break;
    case JobKind::ReadWaypoints:
    case JobKind::ReadGeoWaypoints: result = WriteBatchWaypoints(context_.waypoints, output); break;
    case JobKind::OziLog: result = WriteBatchTrackFile(context_.log, output, "ozi-track", Now()); break;
    case JobKind::MpsLog: result = WriteBatchTrackFile(context_.log, output, "mapsource", Now()); break;
    case JobKind::CompLog: result = WriteCompetitionOutput() < 0 ? kOutputFailed : kOutputWritten; break;
    default: break;
  }
  if (result == kOutputFailed) context_.transfers.SetFailed();
}

void BatchRun::CancelExit() {
  exitCancelled_ = true;
  Call(context_.hooks.showWindowNormally);
  Call(context_.hooks.redrawTrackList);
}

}  // namespace trelvik
