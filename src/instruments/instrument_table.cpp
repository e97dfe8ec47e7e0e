#include "instruments/instrument_table.hpp"

#include "instruments/flytec/flytec.hpp"

namespace trelvik {
namespace {

const InstrumentDriver* const kDrivers[] = {
    &kFlytecDriver,
};

}  // namespace

std::span<const InstrumentDriver* const> InstrumentDrivers() { return kDrivers; }

bool RegisterInstruments(JobTable& table) { return table.RegisterAll(InstrumentDrivers()); }

}  // namespace trelvik
