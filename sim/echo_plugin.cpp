#include "sim_plugin.hpp"

namespace trelvik::sim {
namespace {

// The serial link's own tests: whatever arrives goes straight back.
class EchoInstrument : public SimInstrument {
 public:
  void Receive(std::string_view bytes, std::string& reply) override { reply.append(bytes); }
};

}  // namespace

std::unique_ptr<SimInstrument> CreateEchoInstrument(const SimOptions&, std::string&) {
  return std::make_unique<EchoInstrument>();
}

}  // namespace trelvik::sim
