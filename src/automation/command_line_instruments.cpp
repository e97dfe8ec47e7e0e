#include "automation/command_line_instruments.hpp"

#include "instruments/protocol_table.hpp"

namespace trelvik {
namespace {

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
  CommandLineTransfer transfer;
  AccessFunction function = AccessFunction::DownloadTrackLog;
  const char* refusal = nullptr;  // nullptr for jobs without an instrument
};

constexpr CommandLineTransfer Offered(bool offered) { return {offered, 0}; }

JobRequirement RequirementOf(const CommandLineUse& use, JobKind kind) {
  using AF = AccessFunction;
  switch (kind) {
    case JobKind::KmlLog:
    case JobKind::OziLog:
    case JobKind::MpsLog:
    case JobKind::CompLog:
      return {use.trackLog, AF::DownloadTrackLog, "Unsupported GPS for track log download"};
    case JobKind::IgcLog:
      return {use.igcLog ? use.trackLog : CommandLineTransfer{}, AF::DownloadTrackLog,
              "Unsupported GPS for IGC track log download"};
    case JobKind::ReadWaypoints:
    case JobKind::ReadGeoWaypoints:
      return {use.waypointDownload, AF::DownloadWaypoints, "Unsupported GPS for waypoint download"};
    case JobKind::WriteWaypoints:
    case JobKind::WriteWaypoints2:
      return {use.waypointUpload, AF::UploadWaypoints, "Unsupported GPS for track log upload"};
    case JobKind::WriteCtr:
      return {Offered(use.airspaceUpload), AF::UploadCtr, "Unsupported GPS for CTR upload"};
    case JobKind::Username:
      return {Offered(use.username), AF::UploadPilotName, "Unsupported GPS for username upload"};
    case JobKind::FlightList:
      return {Offered(use.flightList), AF::DownloadFlightList, "Unsupported GPS for flightlist download"};
    default:
      return {};
  }
}

struct ResolvedJob {
  std::optional<std::string_view> refusal;
  std::optional<JobProtocol> protocol;  // set when the job runs a transfer the instrument offers
};

constexpr std::string_view kNotBuilt = "This instrument is not available in this version";

ResolvedJob Resolve(const CommandLineJob& job) {
  const ProtocolRow* row = CommandLineRow(job.gpsType);
  if (row == nullptr) return {"Unsupported GPS type", std::nullopt};
  const JobRequirement requirement = RequirementOf(*row->commandLine, job.jobKind);
  if (requirement.refusal == nullptr) return {};
  JobProtocol protocol{row->protocol, requirement.transfer.option};
  if (job.useUsb && IsUsbCapable(job.jobKind)) {
    if (job.gpsType != GpsType::Garmin) return {"USB is not supported", std::nullopt};
    row = &ProtocolRowOf(ProtocolType::GarminUsb);
    protocol = {ProtocolType::GarminUsb, 0};
  } else if (!requirement.transfer.offered) {
    return {requirement.refusal, std::nullopt};
  }
  if (job.jobKind == JobKind::FlightList && !job.notifyWindow) {
    return {"Missing notify window for flightlist download", std::nullopt};
  }
  if (!RowRuns(*row, requirement.function)) return {kNotBuilt, protocol};
  return {std::nullopt, protocol};
}

}  // namespace

std::optional<GpsType> GpsTypeFromName(std::string_view upperName) {
  const ProtocolRow* row = CommandLineRowNamed(upperName);
  if (row == nullptr) return std::nullopt;
  return row->commandLine->type;
}

std::optional<JobProtocol> ProtocolForJob(const CommandLineJob& job) {
  const ResolvedJob resolved = Resolve(job);
  return !resolved.refusal || resolved.refusal == kNotBuilt ? resolved.protocol : std::nullopt;
}

std::optional<std::string_view> CheckJobAgainstInstrument(const CommandLineJob& job) { return Resolve(job).refusal; }

}  // namespace trelvik
