#include "sim_plugin.hpp"

namespace trelvik::sim {
namespace {

constexpr std::string_view kNoOptions[] = {""};

const SimPlugin kPlugins[] = {
    {"echo", "sends back every byte it receives", std::span(kNoOptions, 0), CreateEchoInstrument},
    {"nmea",
     "answers each sentence: $PTRVA,<name> when its checksum is right, $PTRVE,BADSUM otherwise; "
     "$PTRVQ,n asks for n sentences $PTRVD,1 .. $PTRVD,n",
     std::span(kNoOptions, 0), CreateNmeaInstrument},
    FlytecSimPlugin(),
    IqBasicSimPlugin(),
    DsxSimPlugin(),
    MagellanSimPlugin(),
    MtkSimPlugin(),
    MlrSimPlugin(),
    LogItSimPlugin(),
    GraviterSimPlugin(),
    GarminSimPlugin(),
    FlymasterSimPlugin(),
    LeonardoSimPlugin(),
};

}  // namespace

std::span<const SimPlugin> SimPlugins() { return kPlugins; }

const SimPlugin* FindSimPlugin(std::string_view name) {
  for (const SimPlugin& plugin : kPlugins) {
    if (plugin.name == name) return &plugin;
  }
  return nullptr;
}

}  // namespace trelvik::sim
