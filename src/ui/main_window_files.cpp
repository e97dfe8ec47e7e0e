// The window's commands on settings and track files: "Set COM port", the two
// IGC saves, the IGC verification and the FlightLog save.
#include <QDialog>

#include "analysis/optimise_flight.hpp"
#include "analysis/split_at_gaps.hpp"
#include "analysis/statistics_dialog.hpp"
#include "analysis/track_filters.hpp"
#include "base/message_box.hpp"
#include "records/track_time.hpp"
#include "settings/settings.hpp"
#include "settings/settings_store.hpp"
#include "trackfiles/igc_save.hpp"
#include "trackfiles/igc_verify.hpp"
#include "trackfiles/kml_flightlog.hpp"
#include "trackfiles/kml_track_file.hpp"
#include "ui/choice_list_dialog.hpp"
#include "ui/com_port_dialog.hpp"
#include "ui/command_ids.hpp"
#include "ui/igc_dialogs.hpp"
#include "ui/igc_settings_bridge.hpp"
#include "ui/logbook_question.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"

namespace trelvik {
namespace {

constexpr const char* kIgcCaption = "Write IGC track log file";
constexpr const char* kStatisticsCaption = "Get flight statistics";

}  // namespace

void MainWindow::AttachSettings(Settings& settings) {
  using namespace command;
  settings_ = &settings;
  SetPortName(settings.portName);
  SetHandler(kSetComPort, [this] { ChoosePort(); });
  SetHandler(kSaveLogIgc, [this] { SaveLogIgc(); });
  SetHandler(kSaveIgcFromGps, [this] { SaveRawIgc(); });
  SetHandler(kVerifyIgc, [this] { VerifyIgc(); });
  SetHandler(kSaveLogFlightLog, [this] { SaveLogFlightLog(); });
  SetHandler(kSaveLogButton, [this] { SaveLogFlightLog(); });
  AttachTrackFileCommands();
}

void MainWindow::AttachSettingsStore(SettingsStore& store) {
  settingsStore_ = &store;
  AttachSettings(store.Values());
}

void MainWindow::ChoosePort() {
  ComPortDialog dialog(ui_, settings_->portName, DeviceRoots{}, this);
  qtUi_.PlaceSmallDialog(dialog);
  if (dialog.exec() != QDialog::Accepted) return;
  settings_->portName = dialog.Chosen();
  SetPortName(settings_->portName);
}

void MainWindow::SaveLogIgc() {
  if (RefuseWhileBusy(kIgcCaption) || RefuseOtherView(ViewMode::TrackLog, kIgcCaption) || log_.Empty()) return;
  std::vector<TrackPoint> positions = SelectedPositions();
  const int32_t varioLimit = settings_->varioFilter;
  const IgcVarioFilter varioFilter = [varioLimit](std::vector<TrackPoint>& points) {
    return RemoveVarioSpikes(points, varioLimit);
  };
  if (!BeginIgcSave(ui_, positions, varioFilter)) return;
  IgcSettings igc = IgcSettingsOf(*settings_);
  IgcFormatDialog dialog(
      IgcDialogFieldsFromSettings(igc),
      [&](const IgcDialogFields& fields) { return SaveIgcLog(ui_, log_, positions, fields, igc); }, this);
  dialog.exec();
  // The folder of a chosen file is kept even when the save did not end.
  StoreIgcSettings(igc, *settings_);
}

void MainWindow::SaveRawIgc() {
  if (RefuseWhileBusy("Save IGC log") || !BeginRawIgcSave(ui_, log_)) return;
  IgcSettings igc = IgcSettingsOf(*settings_);
  RawIgcDialog dialog(
      RawIgcDialogFieldsFromSettings(igc),
      [&](const RawIgcDialogFields& fields) { return SaveRawIgcLog(ui_, log_, fields, igc); }, this);
  dialog.exec();
  StoreIgcSettings(igc, *settings_);
}

void MainWindow::VerifyIgc() { VerifyIgcFile(ui_, settings_->igcDir); }

void MainWindow::SaveLogFlightLog() {
  if (RefuseWhileBusy(kStatisticsCaption)) return;
  if (log_.Empty()) {
    ShowError(ui_, "No positions loaded", kStatisticsCaption);
    return;
  }
  std::vector<TrackPoint> points = SelectedPositions();
  const SplitSettings split{settings_->trackGapTime, false, settings_->portName, log_.modelName};
  if (!points.empty() && SplitAtGaps(points, split, QtSplitLogChooser(qtUi_)) == 0) return;
  if (!PrepareStatisticsPoints(ui_, points, {settings_->varioFilter, settings_->logFilter != 0})) return;

  KmlTripInput input;
  input.points = points;
  input.isSigned = log_.signable == 1 ? 1 : 0;
  // A signed log names the moment its statistics were computed.
  input.downloaded = input.isSigned ? CurrentTrackTime() : kNoDownloadTime;
  input.utcTimes = log_.utcTimes;
  input.hasPressureAltitude = log_.hasPressureAltitude;
  FillKmlTripStatistics(points, input);
  const OptimiseOptions optimise{settings_->loopFlightGap, false};
  input.loopFlightGap = optimise.loopFlightGap;
  if (OptimiseFlight(points, optimise, input.optimisation, &ui_) != 0) {
    ShowError(ui_, kOptimiseMemoryError, kAnalysingTrackCaption);
    return;
  }
  const std::optional<std::string_view> instrument =
      log_.description.empty() ? std::nullopt : std::optional<std::string_view>(log_.description);
  if (SaveFlightLogTrack(ui_, input, std::nullopt, instrument, settings_->trackLogDir, QtLogbookQuestion(qtUi_)) ==
      0) {
    log_.saved = 1;
  }
}

}  // namespace trelvik
