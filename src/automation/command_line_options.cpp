#include "automation/command_line_options.hpp"

#include <algorithm>
#include <array>
#include <chrono>

#include "automation/command_line_instruments.hpp"
#include "automation/server_endpoint.hpp"
#include "access/datagram_sender.hpp"
#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/date_time_parsers.hpp"
#include "records/number_parsers.hpp"
#include "settings/utf8_text.hpp"

namespace trelvik {
namespace {

using Value = const std::string&;
using Handler = int (*)(Value value, OptionContext& context);

int Fail(OptionContext& context, std::string_view text) {
  ShowError(context.ui, text, kParsingCaption);
  return -1;
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

bool IsBlankOnly(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

// An option that names the job and its file: an empty value is refused.
int SetJob(OptionContext& context, JobKind kind, Value value, std::string_view missing) {
  if (value.empty()) return Fail(context, missing);
  context.job.jobKind = kind;
  context.job.fileName = value;
  return 0;
}

int SetFlag(int32_t& flag) {
  flag = 1;
  return 0;
}

int Com(Value value, OptionContext& context) {
  // A device path is taken as it is; a longer one than the port name holds
  // would name another device once cut, so it is refused.
  if (value.starts_with('/')) {
    if (CutToCharacters(value, kPortNameLimit).size() != value.size()) return Fail(context, "Bad COM port");
    context.job.portName = value;
    return 0;
  }
  int32_t number = 0;
  if (value.empty() || ParseUnsignedInt(value, number) < 0 || number == 0) return Fail(context, "Bad COM port");
  context.job.portName = CFormat("/dev/ttyS%d", number - 1);
  return 0;
}

int Gps(Value value, OptionContext& context) {
  const std::optional<GpsType> type = GpsTypeFromName(UpperCase(value));
  if (!type) return Fail(context, "Bad GPS type");
  context.job.gpsType = *type;
  return 0;
}

int KmlLog(Value value, OptionContext& context) {
  return SetJob(context, JobKind::KmlLog, value, "Missing log file name");
}
int MpsLog(Value value, OptionContext& context) {
  return SetJob(context, JobKind::MpsLog, value, "Missing log file name");
}
int OziLog(Value value, OptionContext& context) {
  return SetJob(context, JobKind::OziLog, value, "Missing log file name");
}

int IgcLog(Value value, OptionContext& context) {
  if (SetJob(context, JobKind::IgcLog, value, "Missing log file directory name") < 0) return -1;
  // An existing directory is written into; marking it with "/" lets the
  // batch run tell it from a file name without looking again.
  std::string& name = context.job.fileName;
  if (!name.ends_with('/') && DirectoryExists(name) &&
      CutToCharacters(name + "/", kFileNameLimit).size() > name.size()) {
    name += '/';
  }
  return 0;
}

int Pilot(Value value, OptionContext& context) {
  if (!value.empty()) context.job.pilot = CutToCharacters(value, kPilotLimit);
  return 0;
}

int Id(Value value, OptionContext& context) {
  if (!value.empty()) context.job.gliderId = CutToCharacters(value, kGliderIdLimit);
  return 0;
}

int RdWpt(Value value, OptionContext& context) {
  return SetJob(context, JobKind::ReadWaypoints, value, "Missing wpt file name");
}
int RdGeoWpt(Value value, OptionContext& context) {
  return SetJob(context, JobKind::ReadGeoWaypoints, value, "Missing wpt file name");
}
int WrWpt(Value value, OptionContext& context) {
  return SetJob(context, JobKind::WriteWaypoints, value, "Missing wpt file name");
}
int WrWpt2(Value value, OptionContext& context) {
  return SetJob(context, JobKind::WriteWaypoints2, value, "Missing wpt file name");
}
int WrCtr(Value value, OptionContext& context) {
  return SetJob(context, JobKind::WriteCtr, value, "Missing CTR file name");
}
int Exit(Value, OptionContext& context) { return SetFlag(context.job.exitAfter); }
int Overwrite(Value, OptionContext& context) { return SetFlag(context.job.overwrite); }

int Win(Value value, OptionContext& context) {
  if (value == "0") {
    context.job.windowMode = WindowMode::Hidden;
  } else if (value == "1") {
    context.job.windowMode = WindowMode::Minimised;
  } else if (value == "2") {
    context.job.windowMode = WindowMode::Normal;
  } else {
    return Fail(context, "Bad window size");
  }
  return 0;
}

int ChkKml(Value value, OptionContext& context) {
  return SetJob(context, JobKind::CheckKml, value, "Missing file name");
}
int Igc2Kml(Value value, OptionContext& context) {
  return SetJob(context, JobKind::Igc2Kml, value, "Missing IGC/KML file name");
}
int Dat2Kml(Value value, OptionContext& context) {
  return SetJob(context, JobKind::Dat2Kml, value, "Missing DAT/KML file name");
}
int LogFile(Value value, OptionContext& context) {
  return SetJob(context, JobKind::LogFile, value, "Missing track log file name");
}

int CompLog(Value value, OptionContext& context) {
  const std::string type = UpperCase(value);
  if (type == "KML") {
    context.job.compFileType = CompFileType::Kml;
  } else if (type == "IGC") {
    context.job.compFileType = CompFileType::Igc;
  } else {
    return Fail(context, "Bad competition fle type");
  }
  context.job.jobKind = JobKind::CompLog;
  return 0;
}

int CompSpecial(Value, OptionContext& context) { return SetFlag(context.job.compSpecial); }

int CompDir(Value value, OptionContext& context) {
  if (value.empty()) return Fail(context, "Missing competition directory name");
  context.job.compDir = value;
  return 0;
}

int CompFs(Value value, OptionContext& context) {
  if (value.empty()) return Fail(context, "Missing flight score file name");
  if (!context.hooks.readFsPilotList) return Fail(context, "Reading flight score files is not available");
  if (context.hooks.readFsPilotList(value, context.ui) < 0) return -1;
  context.pilotListLoaded = true;
  return 0;
}

int SignedNumber(OptionContext& context, Value value, int32_t& field, std::string_view bad) {
  int32_t number = 0;
  if (ParseSignedInt(value, number) < 0) return Fail(context, bad);
  field = number;
  return 0;
}

// A pilot ID must fit the six digits of an ID waypoint's position.
int PilotId(OptionContext& context, Value value, int32_t& field, std::string_view bad) {
  int32_t number = 0;
  if (ParseSignedInt(value, number) < 0 || number < 0 || number > kLargestCommandLinePilotId) {
    return Fail(context, bad);
  }
  field = number;
  return 0;
}

int CompId(Value value, OptionContext& context) {
  return PilotId(context, value, context.job.compId, "Bad COMPID value");
}
int CivlId(Value value, OptionContext& context) {
  return PilotId(context, value, context.job.civlId, "Bad CIVLID value");
}
int PosX(Value value, OptionContext& context) {
  return SignedNumber(context, value, context.job.posX, "Bad POSX value");
}
int PosY(Value value, OptionContext& context) {
  return SignedNumber(context, value, context.job.posY, "Bad POSY value");
}

// YYYYMMDDHHMMSS. Only days that exist, in the years the time base covers.
std::optional<TrackTime> ParseFilterTime(std::string_view text) {
  if (text.size() != 14) return std::nullopt;
  int fields[6] = {};
  const int widths[6] = {4, 2, 2, 2, 2, 2};
  size_t at = 0;
  for (int i = 0; i < 6; ++i) {
    for (int digit = 0; digit < widths[i]; ++digit, ++at) {
      if (text[at] < '0' || text[at] > '9') return std::nullopt;
      fields[i] = fields[i] * 10 + (text[at] - '0');
    }
  }
  const auto [year, month, day, hour, minute, second] = fields;
  if (!IsValidCalendarDay(year, month, day) || hour > 23 || minute > 59 || second > 59) return std::nullopt;
  const bool firstDay = year == 1989 && month == 12 && day == 31;
  if ((year < 1990 && !firstDay) || year > 2099) return std::nullopt;
  SystemTime date;
  date.year = static_cast<uint16_t>(year);
  date.month = static_cast<uint16_t>(month);
  date.day = static_cast<uint16_t>(day);
  date.hour = static_cast<uint16_t>(hour);
  date.minute = static_cast<uint16_t>(minute);
  date.second = static_cast<uint16_t>(second);
  return TrackTimeFromDate(date);
}

int Filter(Value value, OptionContext& context) {
  const std::optional<TrackTime> time = ParseFilterTime(value);
  if (!time) return Fail(context, "Bad track log start filter time");
  if (context.job.filterEnd != 0 && *time >= context.job.filterEnd) {
    return Fail(context, "Comp. stop time before start time");
  }
  context.job.filterStart = *time;
  return 0;
}

int FilterEnd(Value value, OptionContext& context) {
  const std::optional<TrackTime> time = ParseFilterTime(value);
  if (!time) return Fail(context, "Bad track log stop filter time");
  if (context.job.filterStart != 0 && *time <= context.job.filterStart) {
    return Fail(context, "Comp. start time after end time");
  }
  context.job.filterEnd = *time;
  return 0;
}

uint32_t SteadyTick() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

int Notify(Value value, OptionContext& context) {
  if (value.empty()) return Fail(context, "Missing window class name");
  CommandLineJob& job = context.job;
  job.notifyClass = CutToCharacters(value, kNotifyClassLimit);
  job.notifyWindow = NotifyTargetReachable(job.notifyClass);
  job.notifyTick = context.hooks.tickCount ? context.hooks.tickCount() : SteadyTick();
  return 0;
}

int NoSplit(Value, OptionContext& context) { return SetFlag(context.job.noSplit); }
int NoCheck(Value, OptionContext& context) { return SetFlag(context.job.noCheck); }
int PwrOff(Value, OptionContext& context) { return SetFlag(context.job.powerOff); }
int NoLoopOpt(Value, OptionContext& context) { return SetFlag(context.job.noLoopOpt); }
int Score(Value value, OptionContext& context) {
  context.job.scoreRules = contest::RulesFromName(value);
  return context.job.scoreRules ? 0 : Fail(context, "Bad scoring rules");
}

int Session(Value value, OptionContext& context) {
  if (IsBlankOnly(value)) return Fail(context, "Missing session number");
  int32_t number = 0;
  if (ParseUnsignedInt(value, number) < 0) return Fail(context, "Bad session number");
  context.job.sessionNumber = static_cast<uint32_t>(number);
  context.job.sessionGiven = 1;
  return 0;
}

int SendLog(Value value, OptionContext& context) {
  int32_t seconds = 0;
  if (ParseUnsignedInt(value, seconds) < 0) return Fail(context, "Bad SENDLOG value");
  context.job.sendLogInterval = seconds;
  return 0;
}

int Username(Value value, OptionContext& context) {
  if (value.empty()) return Fail(context, "Missing username");
  context.job.jobKind = JobKind::Username;
  context.job.pilot = CutToCharacters(value, kPilotLimit);
  return 0;
}

int Timeout(Value value, OptionContext& context) {
  int32_t seconds = 0;
  if (ParseSignedInt(value, seconds) < 0) return Fail(context, "Bad TIMEOUT value");
  context.job.timeout = std::clamp(seconds, 0, kTimeoutLimit);
  return 0;
}

int FlightList(Value, OptionContext& context) {
  context.job.jobKind = JobKind::FlightList;
  return 0;
}

int Track(Value value, OptionContext& context) {
  if (value.empty()) return Fail(context, "Missing TRACK list");
  std::array<int32_t, kTrackListSize> list = EmptyTrackList();
  if (!IsBlankOnly(value)) {
    size_t count = 0;
    std::string_view rest = value;
    for (;;) {
      const size_t comma = rest.find(',');
      const std::string_view entry = rest.substr(0, comma);
      int32_t number = 0;
      // Every entry needs digits: an empty one between commas is a typing error.
      if (IsBlankOnly(entry) || count == kTrackListSize || ParseUnsignedInt(entry, number) < 0) {
        return Fail(context, "Bad TRACK value");
      }
      list[count++] = number;
      if (comma == std::string_view::npos) break;
      rest.remove_prefix(comma + 1);
    }
  }
  context.job.trackList = list;
  return 0;
}

int Usb(Value, OptionContext& context) { return SetFlag(context.job.useUsb); }

int Server(Value value, OptionContext& context) {
  std::variant<ServerEndpoint, std::string> endpoint = ParseServerEndpoint(value);
  if (const auto* error = std::get_if<std::string>(&endpoint)) return Fail(context, *error);
  context.job.server = std::get<ServerEndpoint>(endpoint);
  return 0;
}

struct Option {
  std::string_view key;
  Handler handler;
};

constexpr Option kOptions[] = {
    {"COM", Com},
    {"USB", Usb},
    {"GPS", Gps},
    {"KML_LOG", KmlLog},
    {"MPS_LOG", MpsLog},
    {"OZI_LOG", OziLog},
    {"RD_LOG", OziLog},
    {"IGC_LOG", IgcLog},
    {"PILOT", Pilot},
    {"ID", Id},
    {"RD_WPT", RdWpt},
    {"RD_GEO_WPT", RdGeoWpt},
    {"WR_WPT", WrWpt},
    {"WR_WPT2", WrWpt2},
    {"WR_CTR", WrCtr},
    {"EXIT", Exit},
    {"OVERWRITE", Overwrite},
    {"WIN", Win},
    {"CHKKML", ChkKml},
    {"IGC2KML", Igc2Kml},
    {"DAT2KML", Dat2Kml},
    {"LOGFILE", LogFile},
    {"COMP_LOG", CompLog},
    {"COMP_SPECIAL", CompSpecial},
    {"COMP_DIR", CompDir},
    {"COMP_FS", CompFs},
    {"COMPID", CompId},
    {"CIVLID", CivlId},
    {"FILTER", Filter},
    {"FILTEREND", FilterEnd},
    {"NOTIFY", Notify},
    {"NOSPLIT", NoSplit},
    {"SESSION", Session},
    {"NOCHECK", NoCheck},
    {"PWROFF", PwrOff},
    {"SENDLOG", SendLog},
    {"POSX", PosX},
    {"POSY", PosY},
    {"USERNAME", Username},
    {"TIMEOUT", Timeout},
    {"NOLOOPOPT", NoLoopOpt},
    {"SCORE", Score},
    {"FLIGHTLIST", FlightList},
    {"TRACK", Track},
    {"SERVER", Server},
};

constexpr auto kKeys = [] {
  std::array<std::string_view, std::size(kOptions)> keys{};
  for (size_t i = 0; i < keys.size(); ++i) keys[i] = kOptions[i].key;
  return keys;
}();

}  // namespace

int ApplyCommandLineOption(const CommandLineToken& option, OptionContext& context) {
  for (const Option& known : kOptions) {
    if (known.key == option.key) return known.handler(option.value, context);
  }
  return Fail(context, "Unrecognized command");
}

std::span<const std::string_view> CommandLineOptionKeys() { return kKeys; }

}  // namespace trelvik
