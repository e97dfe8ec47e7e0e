#pragma once
// The two IGC save commands without their windows: "Save log in &IGC format"
// (Ctrl+I, dialog "IGC File Format") and "Save IGC log from &GPS" (dialog "Save
// IGC track log from GPS"). The window shows the dialogs, fills the plain field
// structs below and calls these functions on "&Save"; every check, question,
// file dialog and message goes through the UserInterface.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/user_interface.hpp"
#include "records/track_log.hpp"

namespace trelvik {

// The IGC settings as the settings store holds them; the caller loads them
// before and stores them after a command (the save functions update them on
// success only).
struct IgcSettings {
  std::string igcPilotName = "None";
  std::string igcFlightNo = "1";
  std::string igcContestId = "1";  // the recorder serial, despite the key's name
  std::string igcGliderType = "None";
  std::string igcGliderId = "None";
  std::string igcSite = "None";
  std::string igcClass = "None";
  uint32_t igcSaveMask = 5;  // bit 0 security record, bit 1 long name, bit 2 short name
  int32_t igcAddEnl = 0;
  std::string igcDir;  // folder of the IGC save, verify and raw-save file dialogs
};

inline constexpr uint32_t kIgcMaskSecurity = 1;
inline constexpr uint32_t kIgcMaskLongName = 2;
inline constexpr uint32_t kIgcMaskShortName = 4;

// Field texts of the dialog "IGC File Format", exactly as typed.
struct IgcDialogFields {
  std::string pilot;             // "&Pilot"
  std::string flightNumber;      // "&Flight # (1-35)"
  std::string serial;            // "FR serial no."
  std::string gliderType;        // "&Glider Type"
  std::string gliderId;          // "Glider &ID"
  std::string site;              // "&Site"
  std::string competitionClass;  // "&Class"
  bool longName = false;         // "Save with IGC long file name"
  bool shortName = false;        // "Save with IGC short file name"
  bool addEnl = false;           // "Add ENL from trk depth"
};

// Field texts of the dialog "Save IGC track log from GPS".
struct RawIgcDialogFields {
  std::string flightNumber;  // "&Flight # (1-35)"
  bool longName = false;     // "Save with IGC &long file name"
  bool shortName = false;    // "Save with IGC &short file name"
};

IgcDialogFields IgcDialogFieldsFromSettings(const IgcSettings& settings);
RawIgcDialogFields RawIgcDialogFieldsFromSettings(const IgcSettings& settings);

// The two file-name boxes act as a pair: a click toggles the clicked box and,
// when that box becomes ticked, clears the other. Both may be clear.
void ToggleIgcNameBox(bool& clicked, bool& other);

// The vario filter run on the selected copy before the dialog opens; returns the
// number of positions it removed. The analysis layer supplies RemoveVarioSpikes.
using IgcVarioFilter = std::function<int32_t(std::vector<TrackPoint>&)>;

// Steps before the "IGC File Format" dialog opens, on the copy of the selected
// positions: refuses an empty selection, asks about a single one, runs the
// vario filter and reports what it removed. False: the command ends.
[[nodiscard]] bool BeginIgcSave(UserInterface& ui, std::vector<TrackPoint>& positions,
                                const IgcVarioFilter& varioFilter);

// The dialog's values after they passed the checks of "&Save".
struct IgcParameters {
  std::string pilot;
  std::string flightNumberText;
  int flightNumber = 0;
  std::string serial;
  std::string gliderType;
  std::string gliderId;
  std::string site;
  std::string competitionClass;
  uint32_t saveMask = kIgcMaskSecurity;
  bool addEnl = false;
};

// Checks the fields; each failure is shown under "Checking IGC parameters" and
// gives nothing (the dialog stays open).
[[nodiscard]] std::optional<IgcParameters> CheckIgcParameters(UserInterface& ui, const IgcDialogFields& fields);

// The flight number field of either dialog (read up to `maximum` characters):
// 1..35, or nothing after "Missing flight number", "Bad flight number input" or
// "Flight number out of range" under `caption`.
[[nodiscard]] std::optional<int> CheckIgcFlightNumber(UserInterface& ui, const std::string& field, size_t maximum,
                                                      std::string_view caption);

enum class IgcDialogOutcome { KeepOpen, Close };

struct IgcSaveResult {
  IgcDialogOutcome outcome = IgcDialogOutcome::KeepOpen;
  std::string proposedName;  // the name offered in the save dialog; empty when none
  std::string path;          // the file written; empty when nothing was written
};

// "&Save" of "IGC File Format": checks, chooses the file, encodes `positions`
// with the log's signable, description and download time, writes, and on
// success stores the fields back into `settings` and marks the log saved.
[[nodiscard]] IgcSaveResult SaveIgcLog(UserInterface& ui, TrackLog& log, const std::vector<TrackPoint>& positions,
                                       const IgcDialogFields& fields, IgcSettings& settings);

// The command "Save IGC log from &GPS" before its dialog: false (after "No raw
// IGC log stored") when there is nothing to save.
[[nodiscard]] bool BeginRawIgcSave(UserInterface& ui, const TrackLog& log);

// "&Save" of "Save IGC track log from GPS": writes the raw IGC image byte for byte.
[[nodiscard]] IgcSaveResult SaveRawIgcLog(UserInterface& ui, TrackLog& log, const RawIgcDialogFields& fields,
                                          IgcSettings& settings);

}  // namespace trelvik
