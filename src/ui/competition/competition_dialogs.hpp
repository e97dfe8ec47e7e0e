#pragma once
// The dialogs of competition mode: "Competition Mode" (the mode, the pilot
// list and the time window), "Set Competition Times" and "Save competition
// log" (whose flight a download is). Their checks live in the competition
// layer; the dialogs only show and collect.
#include <QDialog>
#include <functional>
#include <string>

#include "competition/competition_times.hpp"
#include "competition/pilot_choice.hpp"
#include "competition/pilot_list.hpp"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace trelvik {

class SetCompetitionTimesDialog : public QDialog {
  Q_OBJECT

 public:
  SetCompetitionTimesDialog(TrackTime start, TrackTime stop, UserInterface& ui, QWidget* parent = nullptr);
  QLineEdit& StartField() const { return *start_; }
  QLineEdit& StopField() const { return *stop_; }
  // The times OK accepted.
  const CompetitionTimes& Times() const { return times_; }
  void accept() override;

 private:
  UserInterface& ui_;
  QLineEdit* start_ = nullptr;
  QLineEdit* stop_ = nullptr;
  CompetitionTimes times_;
};

// What "Competition Mode" works on; the buttons act at once, the check box on OK.
struct CompetitionModeActions {
  // "&Read pilot list": the count read, or -1 when nothing changed.
  std::function<int()> readPilotList;
  // "&Set comp. time": the new window, or nothing when cancelled.
  std::function<std::optional<CompetitionTimes>()> setTimes;
};

class CompetitionModeDialog : public QDialog {
  Q_OBJECT

 public:
  CompetitionModeDialog(bool modeOn, int pilots, CompetitionTimes times, CompetitionModeActions actions,
                        QWidget* parent = nullptr);
  QCheckBox& ModeBox() const { return *mode_; }
  QLabel& PilotsLabel() const { return *pilots_; }
  QLabel& StartLabel() const { return *start_; }
  QLabel& StopLabel() const { return *stop_; }

 private:
  void ShowTimes(const CompetitionTimes& times);

  CompetitionModeActions actions_;
  QCheckBox* mode_ = nullptr;
  QLabel* pilots_ = nullptr;
  QLabel* start_ = nullptr;
  QLabel* stop_ = nullptr;
};

struct SaveLogDialogContent {
  std::string title;
  PilotFields current;  // the log's pilot as the dialog opens
  int32_t compId = -1;  // ... and its IDs, for the preselection
  int32_t civlId = -1;
  std::string folder;  // CompDir
};

// "Save competition log". The list it shows is `pilots`, which "B&rowse..."
// may replace through `readList` (true when a new list was read).
class SaveCompetitionLogDialog : public QDialog {
  Q_OBJECT

 public:
  SaveCompetitionLogDialog(const SaveLogDialogContent& content, const PilotList& pilots, UserInterface& ui,
                           std::function<bool()> readList, QWidget* parent = nullptr);
  QLineEdit& CompIdField() const { return *compId_; }
  QLineEdit& CivlIdField() const { return *civlId_; }
  QLineEdit& NameField() const { return *name_; }
  QLineEdit& FolderField() const { return *folder_; }
  QListWidget& PilotListView() const { return *list_; }
  // What OK accepted.
  const ChosenPilot& Chosen() const { return chosen_; }
  std::string Folder() const;
  void accept() override;

 private:
  void FillList(int32_t compId, int32_t civlId);
  void TakeEntry(int row);
  void TypedId(bool civl);
  void BrowseFolder();

  const PilotList& pilots_;
  UserInterface& ui_;
  std::function<bool()> readList_;
  QLineEdit* compId_ = nullptr;
  QLineEdit* civlId_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* listFile_ = nullptr;
  QLineEdit* folder_ = nullptr;
  QListWidget* list_ = nullptr;
  ChosenPilot chosen_;
  bool filling_ = false;  // the fields change because an entry was chosen, not typed
};

// "Select pilot": whose IDs a waypoint upload in competition mode sends. OK
// may change the chosen entry's IDs (they are typed over it).
class SelectPilotDialog : public QDialog {
  Q_OBJECT

 public:
  SelectPilotDialog(const std::string& title, PilotFields current, PilotList& pilots, bool withNnn, UserInterface& ui,
                    QWidget* parent = nullptr);
  QLineEdit& CompIdField() const { return *compId_; }
  QLineEdit& CivlIdField() const { return *civlId_; }
  QListWidget& PilotListView() const { return *list_; }
  QCheckBox& NnnBox() const { return *nnn_; }
  const ChosenPilot& Chosen() const { return chosen_; }
  void accept() override;

 private:
  PilotList& pilots_;
  UserInterface& ui_;
  std::string name_;  // the current pilot's name, kept without a list
  QLineEdit* compId_ = nullptr;
  QLineEdit* civlId_ = nullptr;
  QListWidget* list_ = nullptr;
  QCheckBox* nnn_ = nullptr;
  ChosenPilot chosen_;
};

}  // namespace trelvik
