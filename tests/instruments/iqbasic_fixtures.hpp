#pragma once
// Hand-built IQ Basic / Flytec 6015 traffic.
#include <string>
#include <string_view>

#include "base/c_format.hpp"
#include "instruments/flytec_fixtures.hpp"

namespace trelvik::testing {

// The requests and answers of the identification of an instrument with
// serial 1137 and software 1.2.34, as steps of `script` (device type "00": a 6015).
inline void ExpectIqIdentification(LinkScript& script, std::string_view deviceType = "01") {
  script.Expect("RPA_00\r\n").Answer("RPA_00_71040000\r\n");
  script.Expect("RPA_01\r\n").Answer("RPA_01_" + std::string(deviceType) + "\r\n");
  script.Expect("RPA_02\r\n").Answer("RPA_02_D2040000\r\n");
}

// A track list line of flight `number` starting at 12:00:00 on `date` (DD.MM.YY).
inline std::string IqListLine(int number, std::string_view date = "15.07.24", std::string_view start = "12:00:00",
                              std::string_view duration = "00:00:20") {
  return CFormat("%d;%.*s;%.*s;3;%.*s\r\n", number, static_cast<int>(date.size()), date.data(),
                 static_cast<int>(start.size()), start.data(), static_cast<int>(duration.size()), duration.data());
}

// A job on a scripted link for the IQ Basic protocol.
struct IqJob : ScriptedJob {
  IqJob() { job.protocol = ProtocolType::IqBasic; }
};

}  // namespace trelvik::testing
