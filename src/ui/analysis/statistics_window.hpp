#pragma once
// The flight statistics dialog: the statistics of the prepared points at
// once, the optimised distances and the contest scores when their worker
// threads have them, "&Halt
// computation", "&Save" to the FlightLog logbook and "E&xit". The dialog
// stays responsive while the worker runs: the worker's texts reach it as
// queued calls, never as calls that wait for the window thread.
#include <QDialog>
#include <QPointer>
#include <array>
#include <string>
#include <vector>

#include "analysis/contest/contest_computation.hpp"
#include "analysis/flight_statistics.hpp"
#include "analysis/statistics_dialog.hpp"
#include "base/user_interface.hpp"
#include "trackfiles/xml_choices.hpp"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace trelvik {

struct StatisticsWindowInput {
  std::vector<TrackPoint> points;  // split and filtered; at least 10
  OptimiseOptions options;         // the loop gap and NOLOOPOPT
  // For the save: from the track log.
  int32_t signable = 0;
  int32_t utcTimes = 0;
  int32_t hasPressureAltitude = 0;
  std::string instrument;  // the log's description
  std::vector<contest::GeoFix> contestFixes;  // what the open-distance contests score
};

class FlightStatisticsWindow : public QDialog {
  Q_OBJECT

 public:
  // Shows the statistics and starts the computation. `trackLogFolder` is where
  // the logbook chooser starts and becomes the chosen file's folder; it and
  // `ui` outlive the dialog. `askExisting` answers "File already exists".
  FlightStatisticsWindow(StatisticsWindowInput input, std::string& trackLogFolder, UserInterface& ui,
                         ExistingLogbookQuestion askExisting, QWidget* parent = nullptr);
  ~FlightStatisticsWindow() override;

  // "&Halt computation", "&Save"; "E&xit" is reject().
  void Halt();
  void Save();
  void done(int result) override;

  bool ComputationFinished() const { return computation_.IsFinished(); }
  bool ContestScoresFinished() const { return contest_.IsFinished(); }
  // The distances and the last contest score are on show (set where the
  // finished signals are sent, so a waiter that missed a signal still sees it).
  bool DistancesShown() const { return distancesShown_; }
  bool ContestScoresShown() const { return contestScoresShown_; }
  const FlightStatistics& Statistics() const { return statistics_; }

  // The widgets, for tests.
  QLabel& StatusLine() const { return *status_; }
  QLabel& Value(int index) const { return *values_[static_cast<size_t>(index)]; }
  QLabel& Distance(int index) const { return *distances_[static_cast<size_t>(index)]; }
  // In the order of contest::kContestRules.
  QLabel& ContestScore(int index) const { return *contestScores_[static_cast<size_t>(index)]; }
  QPlainTextEdit& Description() const { return *description_; }
  QPushButton& HaltButton() const { return *halt_; }
  QPushButton& SaveButton() const { return *save_; }
  QPushButton& ExitButton() const { return *exit_; }

 signals:
  // On the window thread, once the distances are shown.
  void computationFinished();
  // On the window thread, once every contest score is shown.
  void contestScoresFinished();
  // Once the logbook was written.
  void saved();

 private:
  // Carries the worker's progress texts and its failure box to the window
  // thread without waiting for it.
  class StatusRelay : public UserInterface {
   public:
    explicit StatusRelay(FlightStatisticsWindow& window) : window_(window) {}
    void ShowMessage(MessageKind kind, std::string_view text, std::string_view caption) override;
    Answer Ask(QuestionKind kind, std::string_view, std::string_view) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest&) override { return std::nullopt; }
    void SetStatus(std::string_view text) override;
    void SetProduct(std::string_view) override {}

   private:
    FlightStatisticsWindow& window_;
  };

  void BuildContents();
  void ShowDistances(int code, const OptimisationResult& result);
  void ShowContestScore(contest::ContestRules rules, const contest::ContestScore& score);

  StatisticsWindowInput input_;
  FlightStatistics statistics_;
  TrackTime started_ = 0;  // UTC, when the computation started: the logbook's download time
  std::string& trackLogFolder_;
  UserInterface& ui_;
  ExistingLogbookQuestion askExisting_;
  StatusRelay relay_{*this};
  StatisticsComputation computation_;
  contest::ContestComputation contest_;

  std::array<QLabel*, 9> values_{};
  std::array<QLabel*, 7> distances_{};
  std::array<QLabel*, std::size(contest::kContestRules)> contestScores_{};
  bool distancesShown_ = false;
  bool contestScoresShown_ = false;
  QLabel* status_ = nullptr;
  QPlainTextEdit* description_ = nullptr;
  QPushButton* halt_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* exit_ = nullptr;
};

}  // namespace trelvik
