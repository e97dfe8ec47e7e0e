#include "competition/pilot_choice.hpp"

#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/number_parsers.hpp"
#include "settings/utf8_text.hpp"

namespace trelvik {
namespace {

// Empty is -1; digits (blanks around them allowed) a number; else nothing.
std::optional<int32_t> IdOfField(std::string_view text) {
  if (text.find_first_not_of(' ') == std::string_view::npos) return -1;
  int32_t value = 0;
  if (ParseUnsignedInt(text, value) < 0) return std::nullopt;
  return value;
}

}  // namespace

std::optional<size_t> PreselectedPilot(const PilotList& list, int32_t compId, int32_t civlId) {
  if (list.entries.empty()) return std::nullopt;
  for (size_t i = 0; i < list.entries.size(); ++i) {
    const PilotEntry& entry = list.entries[i];
    if (civlId >= 0 && entry.civlId == civlId) return i;
    if (compId >= 0 && entry.compId == compId) return i;
  }
  return 0;
}

PilotFields FieldsOfEntry(const PilotEntry& entry) {
  const auto text = [](int32_t id) { return id < 0 ? std::string() : std::to_string(id); };
  return {text(entry.compId), text(entry.civlId), CutToCharacters(entry.name, kDialogPilotNameLimit)};
}

std::optional<size_t> EntryWithTypedId(const PilotList& list, std::string_view typed, bool civl) {
  const std::optional<int32_t> id = IdOfField(typed);
  if (!id || *id < 0) return std::nullopt;
  for (size_t i = 0; i < list.entries.size(); ++i) {
    if ((civl ? list.entries[i].civlId : list.entries[i].compId) == *id) return i;
  }
  return std::nullopt;
}

std::optional<ChosenPilot> CheckSaveLogPilot(UserInterface& ui, const PilotFields& fields) {
  const std::optional<int32_t> compId = IdOfField(fields.compId);
  if (!compId) {
    ShowError(ui, "Bad comp. pilot ID", "Pilot parameter check");
    return std::nullopt;
  }
  const std::optional<int32_t> civlId = IdOfField(fields.civlId);
  if (!civlId) {
    ShowError(ui, "Bad CIVL pilot ID", "Pilot parameter check");
    return std::nullopt;
  }
  return ChosenPilot{*compId, *civlId, CutToCharacters(fields.name, kDialogPilotNameLimit)};
}

std::optional<ChosenPilot> CheckSelectPilot(UserInterface& ui, const PilotFields& fields, PilotList& list,
                                            std::optional<size_t> selected) {
  constexpr const char* kCaption = "Check ID";
  const std::optional<int32_t> compId = IdOfField(fields.compId);
  if (!compId) {
    ShowError(ui, "Bad comp. ID", kCaption);
    return std::nullopt;
  }
  const std::optional<int32_t> civlId = IdOfField(fields.civlId);
  if (!civlId) {
    ShowError(ui, "Bad CIVL ID", kCaption);
    return std::nullopt;
  }
  if (*compId < 0 && *civlId < 0 && AskOkCancel(ui, "Both IDs missing, continue ?", kCaption) != Answer::Ok) {
    return std::nullopt;
  }
  ChosenPilot chosen{*compId, *civlId, CutToCharacters(fields.name, kDialogPilotNameLimit)};
  if (list.Loaded()) {
    if (!selected || *selected >= list.entries.size()) {
      ShowError(ui, "Dialog box error", kCaption);
      return std::nullopt;
    }
    PilotEntry& entry = list.entries[*selected];
    entry.compId = chosen.compId;
    entry.civlId = chosen.civlId;
    chosen.name = entry.name;
  }
  return chosen;
}

std::string SelectPilotTitle(std::string_view portName, std::string_view modelName) {
  const std::string port(portName);
  if (modelName.empty()) return CFormat("Select pilot (%s)", port.c_str());
  return CFormat("Select pilot (%s, %s)", port.c_str(), std::string(modelName).c_str());
}

std::string SaveCompetitionLogTitle(std::string_view portName, std::string_view modelName) {
  const std::string port(portName);
  if (modelName.empty()) return CFormat("Save competition log (%s)", port.c_str());
  return CFormat("Save competition log (%s, %s)", port.c_str(), std::string(modelName).c_str());
}

std::string ChosenPilotStatus(const ChosenPilot& pilot) {
  return CFormat("Pilot [%d] %s", pilot.compId, pilot.name.c_str());
}

}  // namespace trelvik
