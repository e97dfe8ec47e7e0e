#include "settings/setting_table.hpp"

#include <charconv>
#include <limits>

#include "settings/utf8_text.hpp"

namespace trelvik {
namespace {

using S = Settings;

constexpr int64_t kNoNumber = 0;
// Folder settings start at the user's home folder; the text here only stands
// for that in the table.
constexpr std::string_view kHome = "~";
// The first serial port under its Linux device name, the place of "COM1".
constexpr std::string_view kDefaultPortName = "/dev/ttyS0";

SettingEntry Folder(std::string_view name, std::string S::*field) { return {name, field, 260, kHome, kNoNumber, true}; }
SettingEntry Text(std::string_view name, std::string S::*field, size_t size, std::string_view value) {
  return {name, field, size, value, kNoNumber, false};
}
SettingEntry Int(std::string_view name, int32_t S::*field, int64_t value) { return {name, field, 4, {}, value, false}; }
SettingEntry Time(std::string_view name, TrackTime S::*field, int64_t value) {
  return {name, field, 4, {}, value, false};
}

const std::array<SettingEntry, kSettingCount> kTable = {{
    Folder("PilotListName", &S::pilotListName),
    Folder("PilotListDir", &S::pilotListDir),
    Folder("GoogleDir", &S::googleDir),
    Folder("CompDir", &S::compDir),
    Folder("OziDir", &S::oziDir),
    Folder("TrackLogDir", &S::trackLogDir),
    Folder("WaypointDir", &S::waypointDir),
    Folder("CtrDir", &S::ctrDir),
    Folder("TraceDir", &S::traceDir),
    Text("Baudrate", &S::baudrate, 10, "9600"),
    Text("PortName", &S::portName, 80, kDefaultPortName),
    Int("Port", &S::port, 1),
    Int("LogFilter", &S::logFilter, 1),
    Int("LogExportExt", &S::logExportExt, 1),
    Int("LogImportExt", &S::logImportExt, 1),
    Int("WptExportExt", &S::wptExportExt, 1),
    Int("WptImportExt", &S::wptImportExt, 1),
    Time("CompTimeStart", &S::compTimeStart, 555674400),  // 2007-08-10 10:00:00
    Time("CompTimeStop", &S::compTimeStop, 0),
    Int("CompWptNNN", &S::compWptNNN, 0),
    Int("CompMode", &S::compMode, 0),
    Int("CompSpecial", &S::compSpecial, 0),
    Int("TrackGapTime", &S::trackGapTime, 1200),
    Int("AddIgcToCompOut", &S::addIgcToCompOut, 0),
    Int("LoopFlightGap", &S::loopFlightGap, 800),
    Int("VarioFilter", &S::varioFilter, 0),
    Int("TimestampFilter", &S::timestampFilter, 0),
    Int("DownloadFilter", &S::downloadFilter, 0),
    Int("FlymasterPwrOff", &S::flymasterPwrOff, 0),
    Int("UtcOffsetForTN", &S::utcOffsetForTN, 0),
    Folder("IgcDir", &S::igcDir),
    Text("IgcPilotName", &S::igcPilotName, 80, "None"),
    Text("IgcFlightNo", &S::igcFlightNo, 12, "1"),
    Text("IgcContestId", &S::igcContestId, 4, "1"),
    Text("IgcGliderType", &S::igcGliderType, 80, "None"),
    Text("IgcGliderId", &S::igcGliderId, 80, "None"),
    Text("IgcSite", &S::igcSite, 80, "None"),
    Text("IgcClass", &S::igcClass, 80, "None"),
    Int("IgcSaveMask", &S::igcSaveMask, 5),
    Int("IgcAddEnl", &S::igcAddEnl, 0),
    Folder("OlcDir", &S::olcDir),
    Text("OlcFirstName", &S::olcFirstName, 80, ""),
    Text("OlcLastName", &S::olcLastName, 80, ""),
    Text("OlcBirthDate", &S::olcBirthDate, 80, ""),
    Text("OlcGliderClass", &S::olcGliderClass, 80, ""),
    Text("OlcGliderType", &S::olcGliderType, 80, ""),
    Text("OlcCallSign", &S::olcCallSign, 80, ""),
    Text("OlcStartPlace", &S::olcStartPlace, 80, ""),
    Text("OlcRegion", &S::olcRegion, 8, ""),
    Int("OlcLongFileName", &S::olcLongFileName, 0),
    Int("DsxDataMode", &S::dsxDataMode, 0),
    Int("CsvAbsTime", &S::csvAbsTime, 0),
    Int("CsvRelTime", &S::csvRelTime, 0),
    Int("CsvRelDist", &S::csvRelDist, 0),
    Int("CsvAccDist", &S::csvAccDist, 0),
    Int("CsvBearing", &S::csvBearing, 0),
    Int("Csv400deg", &S::csv400deg, 0),
    Int("CsvSpeed", &S::csvSpeed, 0),
    Int("CsvVario", &S::csvVario, 0),
    Int("CtrSegError", &S::ctrSegError, 10),
}};

template <typename Number>
std::string NumberText(Number value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// A whole number in plain decimal with an optional "-", blanks around it allowed.
template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return false;
  int64_t wide = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), wide);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return false;
  if (wide < std::numeric_limits<Number>::min() || wide > std::numeric_limits<Number>::max()) return false;
  value = static_cast<Number>(wide);
  return true;
}

}  // namespace

const std::array<SettingEntry, kSettingCount>& SettingTable() { return kTable; }

Settings BuiltInDefaults(std::string_view homeFolder) {
  Settings settings;
  for (const SettingEntry& entry : kTable) {
    std::visit(
        [&](auto member) {
          using Value = std::remove_reference_t<decltype(settings.*member)>;
          if constexpr (std::is_same_v<Value, std::string>) {
            settings.*member = std::string(entry.homeFolderDefault ? homeFolder : entry.textDefault);
          } else {
            settings.*member = static_cast<Value>(entry.intDefault);
          }
        },
        entry.field);
  }
  return settings;
}

std::string SettingValueText(const Settings& settings, const SettingEntry& entry) {
  return std::visit(
      [&](auto member) -> std::string {
        using Value = std::remove_cvref_t<decltype(settings.*member)>;
        if constexpr (std::is_same_v<Value, std::string>) {
          return settings.*member;
        } else {
          return NumberText(settings.*member);
        }
      },
      entry.field);
}

bool ReadSettingValue(Settings& settings, const SettingEntry& entry, std::string_view text) {
  return std::visit(
      [&](auto member) -> bool {
        using Value = std::remove_reference_t<decltype(settings.*member)>;
        if constexpr (std::is_same_v<Value, std::string>) {
          if (text.size() >= entry.size || text.find('\0') != std::string_view::npos || !IsValidUtf8(text))
            return false;
          settings.*member = std::string(text);
          return true;
        } else {
          return ParseNumber(text, settings.*member);
        }
      },
      entry.field);
}

bool SameSettingValue(const Settings& a, const Settings& b, const SettingEntry& entry) {
  return std::visit([&](auto member) { return a.*member == b.*member; }, entry.field);
}

void CopySettingValue(Settings& to, const Settings& from, const SettingEntry& entry) {
  std::visit([&](auto member) { to.*member = from.*member; }, entry.field);
}

}  // namespace trelvik
