#pragma once
// The command line's view of the protocol table: the instrument a GPS= value
// names and the protocol (and starter option) each kind of job uses with it.
// The parser's checks and the batch run's translation both come from it: a
// job the instrument has no protocol for, or whose driver is not built, is
// refused when the line is parsed.
#include <optional>
#include <string_view>

#include "automation/command_line_job.hpp"
#include "records/protocol_type.hpp"

namespace trelvik {

struct JobProtocol {
  ProtocolType protocol = ProtocolType::GarminSerial;
  int32_t option = 0;  // baud rate or variant flag of the starter, 0 = none
};

// The instrument of an upper-case GPS= value; nothing for an unknown name.
std::optional<GpsType> GpsTypeFromName(std::string_view upperName);

// The protocol and option the batch run starts for the job, whether or not its
// driver is built (the job table refuses those at the start); nothing for a
// job without a transfer or a combination the instrument does not offer. USB
// turns the Garmin protocol into Garmin USB.
std::optional<JobProtocol> ProtocolForJob(const CommandLineJob& job);

// The check of the job against the instrument after the last option: the
// message text of a refused combination, or nothing when it may run.
std::optional<std::string_view> CheckJobAgainstInstrument(const CommandLineJob& job);

}  // namespace trelvik
