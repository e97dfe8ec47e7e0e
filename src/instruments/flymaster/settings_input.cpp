#include "instruments/flymaster/settings_input.hpp"

#include "records/number_parsers.hpp"

namespace trelvik::flymaster {
namespace {

constexpr int32_t kHighestAlarm = 11000;

constexpr SettingsField kNameFields[] = {
    {"Pilot name", 14, "Pilot name contains '*'"},
    {"Comp. number", 7, "Comp. number contains '*'"},
    {"Glider brand", 14, "Glider brand contains '*'"},
    {"Glider model", 14, "Glider model contains '*'"},
};
constexpr SettingsField kAlarmFields[] = {{"Altitude (m)", 5, nullptr}};
constexpr SettingsField kIdFields[] = {
    {"Pilot name", 14, "Pilot name contains '*'"},
    {"COMP ID", 7, nullptr},
    {"CIVL ID", 7, nullptr},
};

constexpr SettingsDialog kDialogs[] = {
    {"Set Flymaster Name", "Set Flymaster data", "Blank fields are not sent", kNameFields},
    {"Set Flymaster altitude alarm", "Set Flymaster data", "", kAlarmFields},
    {"Set Flymaster IDs", "Set Flymaster IDs", "", kIdFields},
};

}  // namespace

const SettingsDialog& SettingsDialogOf(SettingsCommand command) {
  const auto index = static_cast<size_t>(command);
  return index < std::size(kDialogs) ? kDialogs[index] : kDialogs[0];
}

InputCheck CheckSettingsInput(SettingsCommand command, const std::vector<std::string>& typed) {
  const SettingsDialog& dialog = SettingsDialogOf(command);
  InputCheck check;
  std::vector<std::string> texts = typed;
  texts.resize(dialog.fields.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    const char* refusal = dialog.fields[i].starRefusal;
    if (refusal != nullptr && texts[i].find('*') != std::string::npos) {
      check.verdict = InputVerdict::Refused;
      check.refusal = refusal;
      return check;
    }
  }
  switch (command) {
    case SettingsCommand::PilotData: check.texts = texts; break;
    case SettingsCommand::AltitudeAlarm: {
      int32_t metres = 0;
      if (texts[0].empty()) {
        check.refusal = "Missing input";
      } else if (ParseUnsignedInt(texts[0], metres) < 0) {
        check.refusal = "Bad input format";
      } else if (metres > kHighestAlarm) {
        check.refusal = "Altitude too high";
      } else if (metres == 0) {
        check.verdict = InputVerdict::Cancelled;
        return check;
      }
      if (!check.refusal.empty()) {
        check.verdict = InputVerdict::Refused;
        return check;
      }
      check.texts = {std::to_string(metres)};
      break;
    }
    case SettingsCommand::Identifiers:
      check.texts = {texts[1], texts[2], texts[0]};  // the sentence names the IDs first
      break;
  }
  return check;
}

}  // namespace trelvik::flymaster
