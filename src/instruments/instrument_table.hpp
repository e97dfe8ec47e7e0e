#pragma once
// The one table of instrument drivers. The program registers every row into
// its JobTable at start; menus, command-line checks and the "every row has a
// test" test read the same rows.
#include <span>

#include "access/job_table.hpp"

namespace trelvik {

std::span<const InstrumentDriver* const> InstrumentDrivers();

// Claims every driver's cells; false when a cell could not be claimed.
[[nodiscard]] bool RegisterInstruments(JobTable& table);

}  // namespace trelvik
