#pragma once
// The program's one window: product and status lines, the list with its four
// views, the quick buttons and the menu tree, and the dispatch of every
// command with the guards that keep commands away from a running instrument job.
#include <QMainWindow>
#include <QPointer>
#include <any>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/list_columns.hpp"
#include "base/user_interface.hpp"
#include "records/track_log.hpp"
#include "trackfiles/track_conversions.hpp"
#include "ui/menu_table.hpp"
#include "ui/position_dialogs_state.hpp"
#include "ui/track_file_dialogs.hpp"

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

namespace trelvik {

class GpsAccess;
class JobTable;
class ListModel;
class UserInterfaceChannel;
class QtTrackListChooser;
class QtFieldFormAsker;
class SettingsStore;
struct GpsJob;
struct Settings;
class QtUserInterface;
class TrackViewWindow;

enum class ListSize { Small, Default, Large };

struct MainWindowOptions {
  std::string portName;           // shown in the title
  bool commandLineJob = false;    // a command-line run is active
  bool competitionMode = false;
  bool compSpecial = false;
};

// Competition mode's part in the window's track downloads; each hook may be empty.
struct CompetitionHooks {
  // The waypoint check a track download runs first; empty outside competition mode.
  std::function<std::function<void(GpsJob&, const Waypoint&)>()> waypointCheck;
  // False when a track download of `protocol` leaves that check out (Garmin
  // USB without its menu check mark); empty: every download runs it.
  std::function<bool(ProtocolType protocol)> checksWaypoints;
  // Runs on the window thread after a competition-mode track download ended
  // (`installed`: a log arrived), once the job's completion is over.
  std::function<void(bool installed)> afterDownload;
  // Before a waypoint upload: in competition mode asks for the pilot and
  // appends the ID waypoints. False when the user cancelled.
  std::function<bool(std::vector<Waypoint>& waypoints)> beforeWaypointUpload;
  // After a successful waypoint upload (the instrument is remembered for the pilot).
  std::function<void(GpsJob&)> afterWaypointUpload;
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The stores and the user interfaces belong to the window thread and outlive
  // the window. `qtUi` shows the lines and places the dialogs; the window's own
  // messages go to `reporter` when given (the tests' recorder), else to `qtUi`.
  MainWindow(TrackLog& log, WaypointList& waypoints, QtUserInterface& qtUi, MainWindowOptions options,
             UserInterface* reporter = nullptr, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Carries out a menu, button or shortcut command.
  void Dispatch(int id);
  // A command runs only when the window has a handler for it; the others are disabled.
  bool HasHandler(int id) const { return handlers_.count(id) != 0; }
  // Adds or replaces the handler of a command and enables its menu entry and button.
  void SetHandler(int id, std::function<void()> handler);
  QAction* Action(int id) const;
  QPushButton* QuickButton(int id) const;

  // The GPS access layer: its busy flag, failure flag, abort and debug trace
  // become the window's. `traceFolder` is where "&Dump Debug Data" starts.
  // Both outlive the window.
  void AttachGpsAccess(GpsAccess& access, std::string& traceFolder);
  // Offers every instrument command of the menu whose cell the job table
  // holds (the airspace transfers excepted: the airspace commands start those
  // through StartInstrumentJob). Needs the GPS access layer and the settings.
  void OfferInstrumentCommands(const JobTable& table);
  // Starts an instrument job for a command, with the command's caption for
  // the refusals; `onComplete` runs on the window thread while the busy flag
  // is still set and must clear it (the completion routines do). 0 when the
  // job runs (the busy flag is then set), -1 after a refusal was shown.
  [[nodiscard]] int StartInstrumentJob(const InstrumentJob& job, std::string_view caption,
                                       std::function<void(GpsJob&)> onComplete, std::vector<Waypoint> waypoints = {},
                                       std::any ctrList = {}, std::string ownerName = {},
                                       std::vector<std::string> pilotData = {});
  // Sends a pilot's ID waypoints to the instrument of `protocol` with its
  // waypoint upload command; `bookkeeping` runs after a successful upload.
  // 0 when the job runs, -1 when the instrument takes no waypoints or the
  // start was refused.
  [[nodiscard]] int StartPilotIdUpload(ProtocolType protocol, std::vector<Waypoint> ids,
                                       std::function<void(GpsJob&)> bookkeeping);
  // The channel the window's jobs report through.
  UserInterfaceChannel& JobChannelOfWindow() const { return *channel_; }

  // The settings in memory: the port, the folders, the IGC fields. They
  // outlive the window; the track-file commands and "Set COM port" need them.
  void AttachSettings(Settings& settings);
  // The same with the store that loaded them: the close sequence saves them
  // (the store itself refuses after a command-line run).
  void AttachSettingsStore(SettingsStore& store);
  Settings* AttachedSettings() const { return settings_; }

  // The busy flag of the instrument jobs; set by a successful job start,
  // cleared by the job's completion or the abort command.
  bool JobRunning() const;
  void SetJobRunning(bool running);
  // Asks a running job to stop; installed by whoever starts jobs.
  void SetAbortHandler(std::function<void()> abort) { abortJob_ = std::move(abort); }
  // 1 once a job or command-line step failed.
  int ExitCode() const;
  void SetExitCode(int code);
  bool QuitFlag() const { return quitFlag_; }

  ViewMode Mode() const;
  bool UtmDisplay() const;
  void ShowView(ViewMode mode);
  // Rebinds the rows after a store was replaced.
  void RefreshList();
  ListSize CurrentListSize() const { return listSize_; }
  void SetListSize(ListSize size);
  void SetPortName(const std::string& portName);
  void SetCompetitionHooks(CompetitionHooks hooks) { competition_ = std::move(hooks); }
  // Competition mode on or off, and its special variant: the title says so.
  void SetCompetitionMode(bool on, bool special);
  QString TitleText() const;

  TrackLog& Log() const { return log_; }
  WaypointList& Waypoints() const { return waypoints_; }
  QTableView& List() const { return *list_; }
  ListModel& Model() const { return *model_; }
  QLabel& ProductLine() const { return *product_; }
  QLabel& StatusLine() const { return *status_; }
  QCheckBox& UtmBox() const { return *utmBox_; }
  TrackViewWindow* TrackView() const;
  // The dialogs of the track file commands; Qt's unless replaced (tests).
  void SetTrackFileDialogs(TrackFileDialogs dialogs);

 signals:
  void listSizeChanged(trelvik::ListSize size);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildContents();
  void BuildMenus();
  void BuildShortcuts();
  void InstallHandlers();
  void UpdateColumnWidths();
  // Pixels for a column of `widthChars` characters of the list font.
  int ColumnWidth(int widthChars) const;
  // True (after "Busy GPS driver" under the caption) when a job runs.
  bool RefuseWhileBusy(const char* caption);
  // True (after "Incorrect view mode") when the list shows another view.
  bool RefuseOtherView(ViewMode needed, const char* caption);
  std::vector<TrackPoint> SelectedPositions() const;

  void ChangeView(ViewMode mode);
  void ToggleUtm(bool on);
  void SelectAll();
  void ChooseListSize(ListSize size);
  void ShowTrackView();
  void FillTestFlight();
  void ChooseFont();
  void ShowAbout();
  void AbortTransfer();
  void CalculateDistance();
  void ConvertCoordinates();
  void RunCloseSequence();

  void RunInstrumentCommand(const MenuEntry& entry);
  void StartTrackDownload(const MenuEntry& entry);
  void StartWaypointUpload(const MenuEntry& entry);
  // "Write Flymaster Name", "Set Flymaster altitude alarm", "Write Flymaster IDs".
  void StartFlymasterSettings(const MenuEntry& entry);
  // Runs a completion routine on the window thread, so that the list never
  // reads a store while the job's thread replaces it.
  std::function<void(GpsJob&)> OnWindowThread(std::function<void(GpsJob&)> completion);
  std::vector<Waypoint> SelectedWaypoints() const;
  void ChoosePort();
  void ChooseUtcOffsetForTn();  // "Set UTC offset for TN"
  void SaveLogIgc();
  void SaveRawIgc();
  void VerifyIgc();
  void SaveLogFlightLog();
  void AttachTrackFileCommands();
  void OpenLog();
  void SaveLogAs();
  void SaveLogAnimation();
  void ConvertFiles(TrackConversion direction);
  void CopyTrackToClipboard();

  TrackLog& log_;
  WaypointList& waypoints_;
  QtUserInterface& qtUi_;
  UserInterface& ui_;
  MainWindowOptions options_;
  std::map<int, std::function<void()>> handlers_;
  std::map<int, QAction*> actions_;
  std::map<int, QPushButton*> quickButtons_;
  std::function<void()> abortJob_;
  std::function<void()> waitForJobEnd_;
  GpsAccess* access_ = nullptr;
  std::string* traceFolder_ = nullptr;
  Settings* settings_ = nullptr;
  SettingsStore* settingsStore_ = nullptr;
  std::unique_ptr<UserInterfaceChannel> channel_;
  std::unique_ptr<QtTrackListChooser> trackListChooser_;
  std::unique_ptr<QtFieldFormAsker> fieldFormAsker_;
  TrackFileDialogs trackFileDialogs_;
  CompetitionHooks competition_;

  ListModel* model_ = nullptr;
  QTableView* list_ = nullptr;
  QLabel* product_ = nullptr;
  QLabel* status_ = nullptr;
  QCheckBox* utmBox_ = nullptr;
  QPointer<TrackViewWindow> trackView_;
  PositionDialogsState positionDialogs_;

  bool jobRunning_ = false;
  int exitCode_ = 0;
  bool quitFlag_ = false;
  bool closed_ = false;
  ListSize listSize_ = ListSize::Default;
};

}  // namespace trelvik
