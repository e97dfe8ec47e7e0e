#include "automation/command_line_instruments.hpp"

#include <array>

namespace trelvik {
namespace {

using P = ProtocolType;
constexpr JobProtocol kNone{};
constexpr int32_t kFastBaud = 57600;
constexpr int32_t kCompetitionWaypoints = 1;  // Leonardo: the competition waypoint list

constexpr JobProtocol Uses(ProtocolType protocol, int32_t option = 0) { return {true, protocol, option}; }

// clang-format off
constexpr std::array<CommandLineInstrument, 15> kInstruments = {{
//  type               name         track log                        IGC    waypoint download                      waypoint upload                        airspace upload        flight list           username
  {GpsType::Garmin,    "GARMIN",    Uses(P::GarminSerial),           true,  Uses(P::GarminSerial),                 Uses(P::GarminSerial),                 Uses(P::GarminSerial), kNone,                false},
  {GpsType::Mlr,       "MLR",       Uses(P::Mlr),                    true,  Uses(P::Mlr),                          Uses(P::Mlr),                          kNone,                 kNone,                false},
  {GpsType::TopNav,    "TOPNAV",    Uses(P::TopNav),                 false, kNone,                                 Uses(P::TopNav),                       kNone,                 kNone,                false},
  {GpsType::LogIt,     "LOGIT",     Uses(P::LogIt, kFastBaud),       true,  kNone,                                 kNone,                                 kNone,                 kNone,                false},
  {GpsType::IqCompeo,  "IQCOMPEO",  Uses(P::Flytec),                 true,  Uses(P::Flytec),                       Uses(P::Flytec),                       Uses(P::Flytec),       Uses(P::Flytec),      false},
  {GpsType::Graviter,  "GRAVITER",  Uses(P::Graviter),               false, kNone,                                 kNone,                                 kNone,                 kNone,                false},
  {GpsType::Magellan,  "MAGELLAN",  Uses(P::Magellan),               true,  kNone,                                 Uses(P::Magellan),                     kNone,                 kNone,                false},
  {GpsType::XcTrainer, "XCTRAINER", Uses(P::XcTrainer),              true,  kNone,                                 Uses(P::XcTrainer),                    kNone,                 kNone,                false},
  {GpsType::XctMxp,    "XCT_MXP",   Uses(P::XcTrainerMxp, kFastBaud), true, kNone,                                 kNone,                                 kNone,                 kNone,                false},
  {GpsType::Flymaster, "FLYMASTER", Uses(P::Flymaster),              true,  Uses(P::Flymaster),                    Uses(P::Flymaster),                    kNone,                 Uses(P::Flymaster),   true},
  {GpsType::Dsx,       "DSX",       Uses(P::Dsx),                    true,  kNone,                                 kNone,                                 kNone,                 kNone,                false},
  {GpsType::Mlrc,      "MLRC",      kNone,                           false, Uses(P::MlrFast),                      kNone,                                 kNone,                 kNone,                false},
  {GpsType::IqBasic,   "IQBASIC",   Uses(P::IqBasic),                true,  Uses(P::IqBasic),                      Uses(P::IqBasic),                      kNone,                 Uses(P::IqBasic),     false},
  {GpsType::Mtk,       "MTK",       Uses(P::MtkLogger),              true,  kNone,                                 kNone,                                 kNone,                 kNone,                false},
  {GpsType::Leonardo,  "LEONARDO",  Uses(P::Leonardo),               true,  Uses(P::Leonardo, kCompetitionWaypoints), Uses(P::Leonardo, kCompetitionWaypoints), kNone,          Uses(P::Leonardo),    false},
}};
// clang-format on

// Jobs that may also run over USB, where only the Garmin protocol exists.
bool IsUsbCapable(JobKind kind) {
  switch (kind) {
    case JobKind::KmlLog:
    case JobKind::OziLog:
    case JobKind::MpsLog:
    case JobKind::CompLog:
    case JobKind::IgcLog:
    case JobKind::ReadWaypoints:
    case JobKind::ReadGeoWaypoints:
    case JobKind::WriteWaypoints:
    case JobKind::WriteWaypoints2:
    case JobKind::WriteCtr:
      return true;
    default:
      return false;
  }
}

struct JobRequirement {
  JobProtocol protocol;
  const char* refusal;  // nullptr for jobs without an instrument
};

JobRequirement RequirementOf(const CommandLineInstrument& instrument, JobKind kind) {
  switch (kind) {
    case JobKind::KmlLog:
    case JobKind::OziLog:
    case JobKind::MpsLog:
    case JobKind::CompLog:
      return {instrument.trackLog, "Unsupported GPS for track log download"};
    case JobKind::IgcLog:
      return {instrument.igcLog ? instrument.trackLog : kNone, "Unsupported GPS for IGC track log download"};
    case JobKind::ReadWaypoints:
    case JobKind::ReadGeoWaypoints:
      return {instrument.waypointDownload, "Unsupported GPS for waypoint download"};
    case JobKind::WriteWaypoints:
    case JobKind::WriteWaypoints2:
      return {instrument.waypointUpload, "Unsupported GPS for track log upload"};
    case JobKind::WriteCtr:
      return {instrument.airspaceUpload, "Unsupported GPS for CTR upload"};
    case JobKind::Username:
      return {instrument.usernameUpload ? instrument.trackLog : kNone, "Unsupported GPS for username upload"};
    case JobKind::FlightList:
      return {instrument.flightList, "Unsupported GPS for flightlist download"};
    default:
      return {kNone, nullptr};
  }
}

}  // namespace

std::span<const CommandLineInstrument> CommandLineInstruments() { return kInstruments; }

const CommandLineInstrument& InstrumentOf(GpsType type) {
  for (const CommandLineInstrument& instrument : kInstruments) {
    if (instrument.type == type) return instrument;
  }
  return kInstruments.front();
}

std::optional<GpsType> GpsTypeFromName(std::string_view upperName) {
  for (const CommandLineInstrument& instrument : kInstruments) {
    if (instrument.name == upperName) return instrument.type;
  }
  return std::nullopt;
}

std::optional<JobProtocol> ProtocolForJob(const CommandLineJob& job) {
  if (CheckJobAgainstInstrument(job)) return std::nullopt;
  const JobRequirement requirement = RequirementOf(InstrumentOf(job.gpsType), job.jobKind);
  if (requirement.refusal == nullptr) return std::nullopt;
  JobProtocol protocol = requirement.protocol;
  if (job.useUsb && IsUsbCapable(job.jobKind)) protocol = {true, ProtocolType::GarminUsb, 0};
  return protocol;
}

std::optional<std::string_view> CheckJobAgainstInstrument(const CommandLineJob& job) {
  const JobRequirement requirement = RequirementOf(InstrumentOf(job.gpsType), job.jobKind);
  if (requirement.refusal == nullptr) return std::nullopt;
  if (job.useUsb && IsUsbCapable(job.jobKind)) {
    if (job.gpsType != GpsType::Garmin) return "USB is not supported";
    return std::nullopt;
  }
  if (!requirement.protocol.supported) return requirement.refusal;
  if (job.jobKind == JobKind::FlightList && !job.notifyWindow) return "Missing notify window for flightlist download";
  return std::nullopt;
}

}  // namespace trelvik
