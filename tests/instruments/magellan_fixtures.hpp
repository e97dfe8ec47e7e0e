#pragma once
// A Magellan job on a scripted link and the receiver's version answer.
#include <string>
#include <string_view>

#include "instruments/flytec_fixtures.hpp"

namespace trelvik::testing {

struct MagellanJob : ScriptedJob {
  MagellanJob() { job.protocol = ProtocolType::Magellan; }
};

inline std::string Version(std::string_view model = "60", std::string_view software = "3.20",
                           std::string_view product = "MAP 330") {
  return Sentence("PMGNVER," + std::string(model) + "," + std::string(software) + "," + std::string(product));
}

}  // namespace trelvik::testing
