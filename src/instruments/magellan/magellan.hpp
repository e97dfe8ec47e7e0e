#pragma once
// Magellan GPS receivers ($PMGN sentences at 9600 baud).
#include "access/job_table.hpp"

namespace trelvik {

// The family's routines; the protocol table's Magellan row points to them.
extern const InstrumentDriver kMagellanDriver;

}  // namespace trelvik
