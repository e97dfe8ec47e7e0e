#pragma once
// The "OLC statistics" dialog: the OLC scores of the flight as the worker
// finds them, the pilot and flight data of the claim, "&Halt", "Save &OLC
// only", "&Save with IGC" and "E&xit". The worker never touches a widget: its
// step texts arrive as queued calls, its progress is read from atomics by a
// 500 ms timer.
#include <QDialog>
#include <memory>
#include <string>

#include "analysis/olc/olc_computation.hpp"
#include "analysis/olc/olc_pilot.hpp"
#include "base/user_interface.hpp"
#include "settings/settings.hpp"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace trelvik {

// Where the claim's IGC file comes from.
struct OlcFlightSource {
  std::string rawIgc;         // the stored IGC file; empty: encode the points
  std::string maker = "XTV";  // of the IGC file's A record
  std::string serial = "000";
  TrackTime date = 0;  // the flight's first fix
  // For an encoded IGC file:
  int32_t signable = 0;
  std::string description;  // the log's A-record text
};

class OlcWindow : public QDialog {
  Q_OBJECT

 public:
  // Starts the search. `settings` gives the fields and takes them on a save;
  // it and `ui` outlive the dialog.
  OlcWindow(std::unique_ptr<olc::OlcSearch> search, OlcFlightSource source, Settings& settings, UserInterface& ui,
            QWidget* parent = nullptr);
  ~OlcWindow() override;

  void Halt();
  // "Save &OLC only" (false) and "&Save with IGC" (true); nothing until the
  // search has completed unhalted.
  void Save(bool withIgc);
  void done(int result) override;

  bool Completed() const { return computation_.Completed(); }
  bool Finished() const { return computation_.IsFinished(); }

  // The widgets, for tests.
  QLabel& StatusLine() const { return *status_; }
  QLabel& ProgressLine() const { return *progress_; }
  QLabel& FinalResult() const { return *final_; }
  QPlainTextEdit& Results() const { return *results_; }
  QLineEdit& FirstName() const { return *firstName_; }
  QLineEdit& LastName() const { return *lastName_; }
  QLineEdit& BirthDate() const { return *birthDate_; }
  QLineEdit& GliderType() const { return *gliderType_; }
  QLineEdit& CallSign() const { return *callSign_; }
  QLineEdit& StartPlace() const { return *startPlace_; }
  QLineEdit& FlightNumber() const { return *flightNumber_; }
  QComboBox& GliderClass() const { return *gliderClass_; }
  QComboBox& Region() const { return *region_; }
  QCheckBox& LongFileName() const { return *longName_; }
  QPushButton& HaltButton() const { return *halt_; }
  QPushButton& SaveOlcButton() const { return *saveOlc_; }
  QPushButton& SaveWithIgcButton() const { return *saveIgc_; }

 signals:
  // On the window thread once the worker has ended, completed or halted.
  void searchFinished();

 private:
  void BuildContents();
  void ShowResults();
  olc::PilotFields Fields() const;
  void StoreSettings(const olc::CheckedPilot& pilot);
  // The IGC text to append; nothing (after its message) when it cannot be built.
  std::optional<std::string> IgcText(const olc::CheckedPilot& pilot, bool& hasSecurity) const;

  OlcFlightSource source_;
  Settings& settings_;
  UserInterface& ui_;
  olc::OlcComputation computation_;

  QLabel* status_ = nullptr;
  QLabel* progress_ = nullptr;
  QLabel* final_ = nullptr;
  QPlainTextEdit* results_ = nullptr;
  QLineEdit *firstName_ = nullptr, *lastName_ = nullptr, *birthDate_ = nullptr, *gliderType_ = nullptr,
            *callSign_ = nullptr, *startPlace_ = nullptr, *flightNumber_ = nullptr;
  QComboBox *gliderClass_ = nullptr, *region_ = nullptr;
  QCheckBox* longName_ = nullptr;
  QPushButton *halt_ = nullptr, *saveOlc_ = nullptr, *saveIgc_ = nullptr, *exit_ = nullptr;
  QTimer* timer_ = nullptr;
};

// The claim's IGC file name without extension: the long or short IGC name of
// the flight's date, maker, serial and flight number.
std::string OlcIgcName(const OlcFlightSource& source, int flightNumber, bool longName);

// A field's text as the claim carries it: Latin-1 when every character has a
// Latin-1 byte, else UTF-8.
std::string ClaimBytes(const QString& text);

}  // namespace trelvik
