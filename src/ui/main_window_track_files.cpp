// The window's commands that move a whole track log between the program and
// files: "&Open log", "Save log &As...", "Save log for animation in GE", the
// two batch conversions and Ctrl+C.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/track_time.hpp"
#include "settings/settings.hpp"
#include "trackfiles/kml_animation.hpp"
#include "trackfiles/track_conversions.hpp"
#include "trackfiles/track_log_open.hpp"
#include "trackfiles/track_log_save.hpp"
#include "ui/choice_list_dialog.hpp"
#include "ui/command_ids.hpp"
#include "ui/csv_parameters_dialog.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"

namespace trelvik {
namespace {

CsvColumns CsvColumnsOf(const Settings& settings) {
  return {settings.csvAbsTime != 0, settings.csvRelTime != 0, settings.csvRelDist != 0, settings.csvAccDist != 0,
          settings.csvBearing,      settings.csv400deg != 0,  settings.csvSpeed,         settings.csvVario};
}

}  // namespace

void MainWindow::AttachTrackFileCommands() {
  using namespace command;
  if (!trackFileDialogs_.chooseFile) trackFileDialogs_ = QtTrackFileDialogs(this);
  SetHandler(kOpenLog, [this] { OpenLog(); });
  SetHandler(kSaveLogAs, [this] { SaveLogAs(); });
  SetHandler(kSaveLogAnimation, [this] { SaveLogAnimation(); });
  SetHandler(kConvertIgcToKml, [this] { ConvertFiles(TrackConversion::IgcToKml); });
  SetHandler(kConvertKmlToIgc, [this] { ConvertFiles(TrackConversion::KmlToIgc); });
  SetHandler(kCopyTrackToClipboard, [this] { CopyTrackToClipboard(); });
  SetHandler(kCsvParameters, [this] {
    CsvParametersDialog dialog(ui_, *settings_, this);
    qtUi_.PlaceSmallDialog(dialog);
    dialog.exec();
  });
}

void MainWindow::OpenLog() {
  if (RefuseWhileBusy("Read track log file")) return;
  const FileTrackChooser chooseTrack = QtFileTrackChooser(qtUi_);
  const OpenTrackLogContext context{ui_,
                                    trackFileDialogs_.chooseFile,
                                    trackFileDialogs_.askNewLog,
                                    chooseTrack,
                                    settings_->logImportExt,
                                    settings_->trackLogDir,
                                    settings_->utcOffsetForTN,
                                    CurrentUtcTime()};
  OpenTrackLog(log_, context);
  RefreshList();
  ShowView(ViewMode::TrackLog);
}

void MainWindow::SaveLogAs() {
  constexpr const char* kCaption = "Save track log";
  if (RefuseWhileBusy(kCaption)) return;
  // The TopNavigator row needs no view: its file is the instrument's image.
  std::vector<TrackPoint> selected;
  if (Mode() == ViewMode::TrackLog && !log_.Empty()) selected = SelectedPositions();
  const SaveTrackLogContext context{ui_,
                                    trackFileDialogs_.chooseFile,
                                    settings_->logExportExt,
                                    settings_->trackLogDir,
                                    settings_->varioFilter,
                                    CsvColumnsOf(*settings_),
                                    CurrentTrackTime()};
  if (selected.empty() && (Mode() != ViewMode::TrackLog || log_.Empty()) && log_.rawLog.empty()) {
    if (RefuseOtherView(ViewMode::TrackLog, kCaption)) return;
    ShowError(ui_, "No position(s) selected", kCaption);
    return;
  }
  SaveTrackLogAs(log_, std::move(selected), context);
}

void MainWindow::SaveLogAnimation() {
  constexpr const char* kCaption = "Save track animation file";
  if (RefuseWhileBusy(kCaption) || RefuseOtherView(ViewMode::TrackLog, kCaption) || log_.Empty()) return;
  const std::vector<TrackPoint> points = SelectedPositions();
  const FileWriteResult file = WriteKmlAnimation(points, log_.utcTimes != 0);
  if (file.error) {
    ShowError(ui_, file.error->text, file.error->caption);
    return;
  }
  const std::optional<std::string> path =
      SaveFileDialog(ui_, "Save kml animation track", "GoogleEarth files", ".kml", settings_->trackLogDir,
                     KmlAnimationFileName(points.front()) + ".kml");
  if (!path) return;
  if (FileExists(*path) && AskYesNo(ui_, "File already exists, delete ?", kCaption) != Answer::Yes) return;
  if (const FileWriteError error = WriteFileAtomically(*path, file.bytes)) {
    ShowError(ui_, "Could not create file", kCaption);
    return;
  }
  ui_.SetStatus(*path + " written");
}

void MainWindow::ConvertFiles(TrackConversion direction) {
  const TrackConversionTexts texts = TextsOf(direction);
  if (RefuseWhileBusy(texts.caption)) return;
  const TrackTime now = CurrentTrackTime();
  FileDialogRequest request{FileDialogKind::Open, texts.title, CFormat("%s files", texts.typeName), texts.extension,
                            settings_->trackLogDir, {}};
  const std::optional<std::vector<std::string>> files = trackFileDialogs_.chooseFiles(request);
  if (!files) return;
  if (files->empty()) {
    ShowError(ui_, "No file(s) selected", texts.caption);
    return;
  }
  ConvertTrackFiles(ui_, direction, *files, {settings_->loopFlightGap, false}, now);
}

void MainWindow::CopyTrackToClipboard() {
  constexpr const char* kCaption = "Copy track to clip board";
  if (RefuseOtherView(ViewMode::TrackLog, kCaption) || log_.Empty()) return;
  const std::vector<TrackPoint> selected = SelectedPositions();
  if (selected.empty()) {
    ShowError(ui_, "No position(s) selected", kCaption);
    return;
  }
  QClipboard* clipboard = QApplication::clipboard();
  if (clipboard == nullptr) {
    ShowError(ui_, "Failed to open clipboard", kCaption);
    return;
  }
  // Plain 8-bit text: every character of the lines is ASCII.
  clipboard->setText(QString::fromLatin1(TrackClipboardText(selected)));
}

void MainWindow::SetTrackFileDialogs(TrackFileDialogs dialogs) { trackFileDialogs_ = std::move(dialogs); }

}  // namespace trelvik
