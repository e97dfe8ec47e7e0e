#pragma once
// Flymaster instruments (among them the B1 NAV).
#include "access/job_table.hpp"

namespace trelvik {

// The family's routines; the protocol table's Flymaster row points to them.
extern const InstrumentDriver kFlymasterDriver;

}  // namespace trelvik
