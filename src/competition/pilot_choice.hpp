#pragma once
// What the pilot dialogs ("Save competition log", "Select pilot") do with
// their fields, without the dialogs: the preselected entry, the entry a typed
// ID names, and the checks of OK.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/user_interface.hpp"
#include "competition/pilot_list.hpp"

namespace trelvik {

inline constexpr size_t kDialogPilotNameLimit = 60;  // characters

// The field texts of a pilot dialog, as typed.
struct PilotFields {
  std::string compId;
  std::string civlId;
  std::string name;
  bool operator==(const PilotFields&) const = default;
};

struct ChosenPilot {
  int32_t compId = -1;
  int32_t civlId = -1;
  std::string name;
  bool operator==(const ChosenPilot&) const = default;
};

// The entry a dialog opens on: the first whose CIVL ID or COMP ID is the
// current pilot's (CIVL ID tried first for each entry), else the first entry;
// nothing for an empty list.
[[nodiscard]] std::optional<size_t> PreselectedPilot(const PilotList& list, int32_t compId, int32_t civlId);

// The fields an entry fills; an unknown ID is an empty field.
[[nodiscard]] PilotFields FieldsOfEntry(const PilotEntry& entry);

// Typing an ID: the entry that has it (then its fields fill the dialog), or
// nothing (the other ID and the name are then cleared).
[[nodiscard]] std::optional<size_t> EntryWithTypedId(const PilotList& list, std::string_view typed, bool civl);

// OK of "Save competition log": a field that is not a number gives "Bad comp.
// pilot ID" or "Bad CIVL pilot ID" under "Pilot parameter check"; empty = -1.
[[nodiscard]] std::optional<ChosenPilot> CheckSaveLogPilot(UserInterface& ui, const PilotFields& fields);

// OK of "Select pilot": "Bad comp. ID" or "Bad CIVL ID" under "Check ID" for
// a field that is not a number; both empty asks "Both IDs missing, continue
// ?"; with a list, the selected entry (`selected`) takes the typed IDs and
// its name is the pilot's ("Dialog box error" when none is selected).
[[nodiscard]] std::optional<ChosenPilot> CheckSelectPilot(UserInterface& ui, const PilotFields& fields, PilotList& list,
                                                          std::optional<size_t> selected);

// "Select pilot (%s, %s)" or "Select pilot (%s)".
[[nodiscard]] std::string SelectPilotTitle(std::string_view portName, std::string_view modelName);

// "Save competition log (%s, %s)" with the port and the model, or
// "Save competition log (%s)" without a model.
[[nodiscard]] std::string SaveCompetitionLogTitle(std::string_view portName, std::string_view modelName);

// "Pilot [%d] %s": the status line after OK.
[[nodiscard]] std::string ChosenPilotStatus(const ChosenPilot& pilot);

}  // namespace trelvik
