// The main window's own commands and its close sequence.
#include <QApplication>
#include <QCheckBox>
#include <QFontDialog>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QTableView>
#include <algorithm>

#include "access/gps_access.hpp"
#include "analysis/test_flight.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "settings/settings_store.hpp"
#include "ui/command_ids.hpp"
#include "ui/coordinate_dialog.hpp"
#include "ui/distance_dialog.hpp"
#include "ui/list_model.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"
#include "ui/track_view_window.hpp"

namespace trelvik {

void MainWindow::InstallHandlers() {
  using namespace command;
  SetHandler(kViewWaypoints, [this] { ChangeView(ViewMode::Waypoints); });
  SetHandler(kViewTrackLog, [this] { ChangeView(ViewMode::TrackLog); });
  SetHandler(kViewAirspace, [this] { ChangeView(ViewMode::Airspace); });
  SetHandler(kViewPilotList, [this] { ChangeView(ViewMode::PilotList); });
  SetHandler(kSelectAll, [this] { SelectAll(); });
  SetHandler(kSmallListSize, [this] { ChooseListSize(ListSize::Small); });
  SetHandler(kDefaultListSize, [this] { ChooseListSize(ListSize::Default); });
  SetHandler(kLargeListSize, [this] { ChooseListSize(ListSize::Large); });
  SetHandler(kShowTrack, [this] { ShowTrackView(); });
  SetHandler(kTest, [this] { FillTestFlight(); });
  SetHandler(kFont, [this] { ChooseFont(); });
  SetHandler(kAbout, [this] { ShowAbout(); });
  SetHandler(kExit, [this] { close(); });
  SetHandler(kCalculateDistance, [this] { CalculateDistance(); });
  SetHandler(kCoordinateConversion, [this] { ConvertCoordinates(); });
  SetHandler(kToggleCompSpecial, [this] {
    options_.compSpecial = !options_.compSpecial;
    setWindowTitle(TitleText());
  });
}

bool MainWindow::JobRunning() const { return access_ ? access_->JobRunning() : jobRunning_; }

void MainWindow::SetJobRunning(bool running) {
  jobRunning_ = running;
  if (access_) access_->SetJobRunning(running);
}

int MainWindow::ExitCode() const { return access_ ? access_->ExitCode() : exitCode_; }

void MainWindow::SetExitCode(int code) {
  exitCode_ = code;
  if (!access_) return;
  if (code != 0) {
    access_->SetFailed();
  } else {
    access_->ClearFailure();
  }
}

bool MainWindow::RefuseWhileBusy(const char* caption) {
  if (!JobRunning()) return false;
  ShowError(ui_, "Busy GPS driver", caption);
  return true;
}

bool MainWindow::RefuseOtherView(ViewMode needed, const char* caption) {
  if (Mode() == needed) return false;
  ShowError(ui_, "Incorrect view mode", caption);
  return true;
}

void MainWindow::ChangeView(ViewMode mode) {
  if (RefuseWhileBusy("Change view mode")) return;
  ShowView(mode);
}

void MainWindow::ToggleUtm(bool on) {
  if (RefuseWhileBusy("Change view mode")) {
    utmBox_->setChecked(!on);
    return;
  }
  ShowView(Mode());
}

void MainWindow::SelectAll() {
  if (RefuseWhileBusy("Select all items")) return;
  list_->selectAll();
}

void MainWindow::ChooseListSize(ListSize size) {
  if (RefuseWhileBusy("Set list size")) return;
  SetListSize(size);
}

std::vector<TrackPoint> MainWindow::SelectedPositions() const {
  std::vector<TrackPoint> selected;
  if (Mode() != ViewMode::TrackLog) return selected;
  QModelIndexList rows = list_->selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  selected.reserve(static_cast<size_t>(rows.size()));
  for (const QModelIndex& row : rows) {
    if (row.row() < log_.Count()) selected.push_back(log_.points[static_cast<size_t>(row.row())]);
  }
  return selected;
}

void MainWindow::ShowTrackView() {
  if (RefuseWhileBusy("Show track") || RefuseOtherView(ViewMode::TrackLog, "Show track")) return;
  const std::vector<TrackPoint> selected = SelectedPositions();
  if (selected.empty()) {
    ShowError(ui_, "No positions selected", "Show track");
    return;
  }
  if (selected.size() == 1) {
    ShowError(ui_, "Less than 2 positions selected", "Show track");
    return;
  }
  if (trackView_) trackView_->close();
  trackView_ = new TrackViewWindow(ProjectForTrackView(selected), this);
  trackView_->show();
}

void MainWindow::FillTestFlight() {
  if (RefuseWhileBusy("Test")) return;
  log_ = TrackLog();
  log_.points = GenerateTestFlight();
  log_.utcTimes = 1;
  log_.hasPressureAltitude = 1;
  log_.saved = 1;
  log_.compId = -1;
  log_.civlId = -1;
  ShowView(ViewMode::TrackLog);
}

void MainWindow::ChooseFont() {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, list_->font(), this, QStringLiteral("Font"));
  if (!ok) return;
  list_->setFont(chosen);
  UpdateColumnWidths();
}

void MainWindow::ShowAbout() {
  QMessageBox box(QMessageBox::Information, QStringLiteral("About Trelvik"),
                  windowTitle().section(QLatin1Char(','), 0, 0), QMessageBox::NoButton, this);
  box.setInformativeText(
      QStringLiteral("Track logs, waypoints and airspace for paraglider and hang-glider instruments.\n\n"
                     "This program is free software, distributed in the hope that it will be useful, "
                     "but WITHOUT ANY WARRANTY; without even the implied warranty of MERCHANTABILITY or "
                     "FITNESS FOR A PARTICULAR PURPOSE."));
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  qtUi_.PlaceSmallDialog(box);
  box.exec();
}

void MainWindow::AbortTransfer() {
  if (!JobRunning()) return;
  // Cleared first, so that a late completion installs nothing.
  SetJobRunning(false);
  if (abortJob_) abortJob_();
}

void MainWindow::CalculateDistance() {
  DistanceDialog dialog(waypoints_, positionDialogs_, ui_, this);
  qtUi_.PlaceSmallDialog(dialog);
  dialog.exec();
}

void MainWindow::ConvertCoordinates() {
  CoordinateDialog dialog(ui_, this);
  qtUi_.PlaceSmallDialog(dialog);
  dialog.exec();
}

void MainWindow::RunCloseSequence() {
  if (closed_) return;
  closed_ = true;
  if (JobRunning()) {
    SetJobRunning(false);
    if (abortJob_) abortJob_();
  }
  if (trackView_) trackView_->close();
  // From here a job thread that still reports gets no window; one already
  // waiting for the window is served by the events processed below.
  qtUi_.Close();
  if (waitForJobEnd_) waitForJobEnd_();
  log_ = TrackLog();
  waypoints_ = WaypointList();
  model_->Refresh();
  // Failures are not shown; the old file stays intact.
  if (settingsStore_ != nullptr) (void)settingsStore_->Save();
  quitFlag_ = true;
}

}  // namespace trelvik
