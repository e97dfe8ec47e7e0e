#pragma once
// The instruments a command line may name, with the protocol (and starter
// option) each uses for every kind of job. The parser's checks and the batch
// run's translation both come from this one table: a job an instrument has no
// protocol for is refused when the line is parsed.
#include <optional>
#include <span>
#include <string_view>

#include "automation/command_line_job.hpp"
#include "records/protocol_type.hpp"

namespace trelvik {

struct JobProtocol {
  bool supported = false;
  ProtocolType protocol = ProtocolType::GarminSerial;
  int32_t option = 0;  // baud rate or variant flag of the starter, 0 = none
};

struct CommandLineInstrument {
  GpsType type;
  std::string_view name;  // as GPS= takes it (upper case)
  JobProtocol trackLog;   // KML_LOG, OZI_LOG/RD_LOG, MPS_LOG, COMP_LOG
  bool igcLog;            // IGC_LOG too (same protocol as trackLog)
  JobProtocol waypointDownload;
  JobProtocol waypointUpload;
  JobProtocol airspaceUpload;
  JobProtocol flightList;
  bool usernameUpload;
};

std::span<const CommandLineInstrument> CommandLineInstruments();
const CommandLineInstrument& InstrumentOf(GpsType type);
// The instrument of an upper-case GPS= value; nothing for an unknown name.
std::optional<GpsType> GpsTypeFromName(std::string_view upperName);

// The protocol and option the batch run starts for the job; nothing for a job
// without a transfer or a combination the parser refuses. USB turns the
// Garmin protocol into Garmin USB.
std::optional<JobProtocol> ProtocolForJob(const CommandLineJob& job);

// The check of the job against the instrument after the last option: the
// message text of a refused combination, or nothing when it may run.
std::optional<std::string_view> CheckJobAgainstInstrument(const CommandLineJob& job);

}  // namespace trelvik
