// The window's track file commands offscreen: "&Open log", "Save log &As...",
// the conversions and Ctrl+C, with scripted dialogs.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QLabel>
#include <QTableView>
#include <gtest/gtest.h>

#include <memory>

#include "base/atomic_file.hpp"
#include "qt_application.hpp"
#include "settings/settings.hpp"
#include "support/golden_file.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/track_file_formats.hpp"
#include "trackfiles/track_log_save.hpp"
#include "ui/command_ids.hpp"
#include "ui/csv_parameters_dialog.hpp"
#include "ui/list_model.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"

namespace trelvik {
namespace {

using testing::RecordedBox;
namespace cmd = command;

class TrackFileCommands : public ::testing::Test {
 protected:
  TrackFileCommands() {
    testing::Application();
    window = std::make_unique<MainWindow>(log, waypoints, qtUi, MainWindowOptions{}, &recorder);
    window->AttachSettings(settings);
    TrackFileDialogs dialogs;
    dialogs.chooseFile = [this](const TrackFileDialog& dialog) -> std::optional<TrackFileChoice> {
      asked.push_back(dialog);
      if (next.empty()) return std::nullopt;
      TrackFileChoice choice = next.front();
      next.erase(next.begin());
      return choice;
    };
    dialogs.askNewLog = [this](const NewLogQuestion&) { return newLog; };
    dialogs.chooseFiles = [this](const FileDialogRequest& request) {
      fileRequests.push_back(request);
      return files;
    };
    window->SetTrackFileDialogs(std::move(dialogs));
  }

  std::string Golden(const std::string& name) {
    const std::string path = dir.File(name);
    EXPECT_FALSE(WriteFileAtomically(path, testing::GoldenFile("track_files/" + name)));
    return path;
  }

  testing::TempDir dir;
  testing::ScriptedUserInterface recorder;
  Settings settings;
  TrackLog log;
  WaypointList waypoints;
  QtUserInterface qtUi;
  std::unique_ptr<MainWindow> window;
  std::vector<TrackFileChoice> next;
  std::vector<TrackFileDialog> asked;
  std::vector<FileDialogRequest> fileRequests;
  std::optional<std::vector<std::string>> files;
  NewLogAnswer newLog = NewLogAnswer::Overwrite;
};

TEST_F(TrackFileCommands, OpenSaveAndCopyThroughTheMenu) {
  next = {{Golden("flight.plt"), 2}};
  window->Dispatch(cmd::kOpenLog);
  ASSERT_EQ(log.points.size(), 3u) << (recorder.boxes.empty() ? "" : recorder.boxes[0].text);
  EXPECT_EQ(window->Model().rowCount(), 3);
  EXPECT_EQ(settings.logImportExt, 2);
  EXPECT_EQ(settings.trackLogDir, dir.Path());
  EXPECT_EQ(asked[0].title, "Read track log");
  EXPECT_EQ(asked[0].filters[1], "Ozi files (*.plt)");

  window->Dispatch(cmd::kSelectAll);
  next = {{dir.File("saved"), 4}};  // GPX, the extension added
  window->Dispatch(cmd::kSaveLogAs);
  EXPECT_EQ(asked.back().title, "Save track log");
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.File("saved.gpx"), bytes));
  const TrackFileRead back = FindTrackFileFormat("gpx-track")->read(bytes, {});
  ASSERT_TRUE(back.Ok());
  EXPECT_EQ(back.records.Count(), 3);
  EXPECT_EQ(settings.logExportExt, 4);
  EXPECT_EQ(log.saved, 1);

  window->Dispatch(cmd::kCopyTrackToClipboard);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), TrackClipboardText(log.points));
  EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(TrackFileCommands, AppendingAnEarlierLogIsRefused) {
  next = {{Golden("flight.plt"), 2}, {Golden("flight.csv"), 9}};
  window->Dispatch(cmd::kOpenLog);
  newLog = NewLogAnswer::Append;
  window->Dispatch(cmd::kOpenLog);
  EXPECT_EQ(recorder.boxes,
            (std::vector<RecordedBox>{{MessageKind::Error, "New track overlaps current one", "Append track"}}));
  EXPECT_EQ(log.points.size(), 3u);
}

TEST_F(TrackFileCommands, ConversionsReportTheirCount) {
  Golden("flight.igc");
  files = std::vector<std::string>{dir.File("flight.igc")};
  window->Dispatch(cmd::kConvertIgcToKml);
  ASSERT_EQ(fileRequests.size(), 1u);
  EXPECT_EQ(fileRequests[0].title, "Convert .igc file(s) to .kml");
  // Three fixes are too few for a trip file: the first fault stops the run.
  EXPECT_EQ(recorder.boxes.size(), 1u);
  EXPECT_EQ(recorder.statusLines.back(), "0 file(s) converted");
  files = std::vector<std::string>{};
  window->Dispatch(cmd::kConvertKmlToIgc);
  EXPECT_EQ(recorder.boxes.back(), (RecordedBox{MessageKind::Error, "No file(s) selected", "Convert .kml to .igc"}));
}

TEST_F(TrackFileCommands, CopyNeedsASelection) {
  window->Dispatch(cmd::kViewWaypoints);
  window->Dispatch(cmd::kCopyTrackToClipboard);
  EXPECT_EQ(recorder.boxes,
            (std::vector<RecordedBox>{{MessageKind::Error, "Incorrect view mode", "Copy track to clip board"}}));
  recorder.boxes.clear();
  next = {{Golden("flight.plt"), 2}};
  window->Dispatch(cmd::kOpenLog);
  window->List().clearSelection();
  window->Dispatch(cmd::kCopyTrackToClipboard);
  EXPECT_EQ(recorder.boxes,
            (std::vector<RecordedBox>{{MessageKind::Error, "No position(s) selected", "Copy track to clip board"}}));
}

TEST_F(TrackFileCommands, CsvParametersAreCheckedBeforeTheyAreKept) {
  settings.csvSpeed = 20;
  CsvParametersDialog dialog(recorder, settings);
  EXPECT_EQ(dialog.speed->text(), "20");
  EXPECT_EQ(dialog.bearing->text(), "");
  dialog.absTime->setChecked(true);
  dialog.vario->setText("ten");
  dialog.accept();
  EXPECT_EQ(recorder.boxes,
            (std::vector<RecordedBox>{{MessageKind::Error, "Bad vario input", "Check csv parameters"}}));
  EXPECT_EQ(settings.csvAbsTime, 0);
  dialog.vario->setText("10");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(settings.csvAbsTime, 1);
  EXPECT_EQ(settings.csvVario, 10);
  EXPECT_EQ(settings.csvSpeed, 20);
}

}  // namespace
}  // namespace trelvik
