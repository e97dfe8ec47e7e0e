#pragma once
// Hand-built DSX traffic.
#include <string>

#include "instruments/flytec_fixtures.hpp"

namespace trelvik::testing {

inline const std::string kDsxConnection = "Conn\n\r\r\n#";

// The connection as steps of `script`: "V1", its answer, "V4".
inline void ExpectDsxConnection(LinkScript& script) { script.Expect("V1\r").Answer(kDsxConnection).Expect("V4\r"); }

// A job on a scripted link for the DSX protocol.
struct DsxJob : ScriptedJob {
  DsxJob() { job.protocol = ProtocolType::Dsx; }
};

}  // namespace trelvik::testing
