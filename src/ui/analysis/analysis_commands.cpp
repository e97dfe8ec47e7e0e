#include "ui/analysis/analysis_commands.hpp"

#include <QAction>
#include <QTableView>
#include <memory>
#include <utility>
#include <vector>

#include "analysis/contest/contest_fixes.hpp"
#include "analysis/filter_settings.hpp"
#include "analysis/rotate_track.hpp"
#include "analysis/split_at_gaps.hpp"
#include "analysis/statistics_dialog.hpp"
#include "base/message_box.hpp"
#include "trackfiles/igc_contest_fixes.hpp"
#include "ui/airspace/selected_rows.hpp"
#include "ui/analysis/rotate_track_dialog.hpp"
#include "ui/analysis/statistics_window.hpp"
#include "ui/analysis/value_dialog.hpp"
#include "ui/choice_list_dialog.hpp"
#include "ui/command_ids.hpp"
#include "ui/logbook_question.hpp"
#include "ui/main_window.hpp"
#include "ui/qt_user_interface.hpp"

namespace trelvik {

namespace {

QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

// The track points of the selected rows, in log order.
std::vector<TrackPoint> SelectedPoints(const MainWindow& window, const TrackLog& log) {
  std::vector<TrackPoint> points;
  for (const int row : SelectedRows(window.List())) {
    if (row < log.Count()) points.push_back(log.points[static_cast<size_t>(row)]);
  }
  return points;
}

// "Busy GPS driver", "No positions loaded" and "Incorrect view mode", in that
// order, under `caption`. True when the command may go on.
bool TrackCommandAllowed(const MainWindow& window, const AnalysisCommandContext& context, std::string_view caption) {
  if (window.JobRunning()) {
    ShowError(context.ui, "Busy GPS driver", caption);
    return false;
  }
  if (context.log.Empty()) {
    ShowError(context.ui, "No positions loaded", caption);
    return false;
  }
  if (window.Mode() != ViewMode::TrackLog) {
    ShowError(context.ui, "Incorrect view mode", caption);
    return false;
  }
  return true;
}

class AnalysisCommands {
 public:
  AnalysisCommands(MainWindow& window, const AnalysisCommandContext& context) : window_(window), context_(context) {}

  void ShowCheckMarks() {
    Settings& s = context_.settings;
    Check(command::kSpeedFilter, s.logFilter != 0);
    Check(command::kTimestampFilter, s.timestampFilter != 0);
    Check(command::kFiltersDuringDownload, s.downloadFilter != 0);
    Check(command::kVarioFilter, VarioFilterChecked(s.varioFilter));
  }

  void ToggleSpeedFilter() { Toggle(command::kSpeedFilter, context_.settings.logFilter); }
  void ToggleTimestampFilter() { Toggle(command::kTimestampFilter, context_.settings.timestampFilter); }
  void ToggleDownloadFilter() { Toggle(command::kFiltersDuringDownload, context_.settings.downloadFilter); }

  void SetVarioFilter() {
    int32_t& value = context_.settings.varioFilter;
    RunValueDialog({Latin1(kVarioFilterDialog),
                    {},
                    QStringLiteral("Greatest &vertical speed (m/s), 0 = off:"),
                    QString::fromStdString(VarioFilterFieldText(value))},
                   [this, &value](const std::string& field) {
                     const std::optional<int32_t> read = ReadVarioFilterField(context_.ui, field);
                     if (read) value = *read;
                     return read.has_value();
                   });
    // The menu toggled its own mark when chosen; the mark follows the value.
    Check(command::kVarioFilter, VarioFilterChecked(value));
  }

  void SetTrackGapTime() {
    int32_t& value = context_.settings.trackGapTime;
    RunValueDialog({Latin1(kTrackGapDialog),
                    {},
                    QStringLiteral("Track &gap time (minutes):"),
                    QString::fromStdString(TrackGapFieldText(value))},
                   [&value](const std::string& field) {
                     const std::optional<int32_t> read = ReadTrackGapField(field);
                     if (read) value = *read;
                     return read.has_value();
                   });
  }

  void SetLoopFlightGap() {
    int32_t& value = context_.settings.loopFlightGap;
    RunValueDialog({Latin1(kLoopGapDialog),
                    {Latin1(kLoopGapNote), Latin1(kLoopGapZeroNote)},
                    QStringLiteral("Loop flight &gap (m):"),
                    QString::fromStdString(LoopGapFieldText(value))},
                   [this, &value](const std::string& field) {
                     const std::optional<int32_t> read = ReadLoopGapField(context_.ui, field);
                     if (read) value = *read;
                     return read.has_value();
                   });
  }

  void Rotate() {
    if (window_.JobRunning()) {
      ShowError(context_.ui, "Busy GPS driver", kRotateCaption);
      return;
    }
    if (!context_.log.Empty() && window_.Mode() != ViewMode::TrackLog) {
      ShowError(context_.ui, "Incorrect view mode", kRotateCaption);
      return;
    }
    std::vector<TrackPoint> points = SelectedPoints(window_, context_.log);
    if (!CheckRotateSelection(context_.ui, !context_.log.Empty(), static_cast<int32_t>(points.size()))) return;
    RotateTrackDialog dialog(rotateFields_, context_.ui, &window_);
    Place(dialog);
    if (dialog.exec() != QDialog::Accepted || !dialog.Positions()) return;
    RotatePoints(points, *dialog.Positions());
    InstallRotatedTrack(context_.log, std::move(points));
    window_.ShowView(ViewMode::TrackLog);
  }

  void Statistics() { OpenFlightStatistics(window_, context_); }

 private:
  void Check(int id, bool on) {
    if (QAction* action = window_.Action(id)) action->setChecked(on);
  }

  void Toggle(int id, int32_t& value) {
    value = value != 0 ? 0 : 1;
    Check(id, value != 0);
  }

  void RunValueDialog(const ValueDialogContent& content, std::function<bool(const std::string&)> accept) {
    ValueDialog dialog(content, std::move(accept), &window_);
    Place(dialog);
    dialog.exec();
  }

  void Place(QWidget& dialog) { context_.qtUi.PlaceSmallDialog(dialog); }

  MainWindow& window_;
  AnalysisCommandContext context_;
  RotateTrackFields rotateFields_{"0", "0", "0", "0"};  // kept while the program runs
};

}  // namespace

void OpenFlightStatistics(MainWindow& window, const AnalysisCommandContext& context) {
  if (!TrackCommandAllowed(window, context, kStatisticsCheckCaption)) return;
  const Settings& settings = context.settings;
  std::vector<TrackPoint> points = SelectedPoints(window, context.log);
  // The contests score every fix the recorder kept: the IGC image's when the
  // whole log is selected, else the selection as it stands.
  std::vector<contest::GeoFix> contestFixes = points.size() == context.log.points.size()
                                                  ? ContestFixesOfLog(context.log)
                                                  : contest::ContestFixes(points);
  const SplitSettings split{settings.trackGapTime, context.noSplit, settings.portName, context.log.modelName};
  (void)SplitAtGaps(points, split, QtSplitLogChooser(context.qtUi));
  const StatisticsFilterSettings filters{settings.varioFilter, settings.logFilter != 0 && !context.noCheck};
  if (!PrepareStatisticsPoints(context.ui, points, filters)) return;

  StatisticsWindowInput input;
  input.points = std::move(points);
  input.options.loopFlightGap = settings.loopFlightGap;
  input.options.noLoopOptimisation = context.noLoopOptimisation;
  input.signable = context.log.signable;
  input.utcTimes = context.log.utcTimes;
  input.hasPressureAltitude = context.log.hasPressureAltitude;
  input.instrument = context.log.description;
  input.contestFixes = std::move(contestFixes);
  FlightStatisticsWindow dialog(std::move(input), context.settings.trackLogDir, context.ui,
                                QtLogbookQuestion(context.qtUi), &window);
  TrackLog& log = context.log;
  QObject::connect(&dialog, &FlightStatisticsWindow::saved, &dialog, [&log] { log.saved = 1; });
  dialog.exec();
}

void InstallAnalysisCommands(MainWindow& window, const AnalysisCommandContext& context) {
  using namespace command;
  auto commands = std::make_shared<AnalysisCommands>(window, context);
  const std::pair<int, void (AnalysisCommands::*)()> handlers[] = {
      {kSpeedFilter, &AnalysisCommands::ToggleSpeedFilter},
      {kTimestampFilter, &AnalysisCommands::ToggleTimestampFilter},
      {kFiltersDuringDownload, &AnalysisCommands::ToggleDownloadFilter},
      {kVarioFilter, &AnalysisCommands::SetVarioFilter},
      {kGapFilterTime, &AnalysisCommands::SetTrackGapTime},
      {kLoopFlightGap, &AnalysisCommands::SetLoopFlightGap},
      {kRotateTrack, &AnalysisCommands::Rotate},
      {kSaveLogFlightLog, &AnalysisCommands::Statistics},
      {kSaveLogButton, &AnalysisCommands::Statistics},
  };
  for (const auto& [id, handler] : handlers) {
    window.SetHandler(id, [commands, handler = handler] { ((*commands).*handler)(); });
  }
  commands->ShowCheckMarks();
}

}  // namespace trelvik
