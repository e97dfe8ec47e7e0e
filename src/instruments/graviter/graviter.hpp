#pragma once
// The Graviter track logger.
#include "access/job_table.hpp"

namespace trelvik {

// The family's routines; the protocol table's Graviter row points to them.
extern const InstrumentDriver kGraviterDriver;

}  // namespace trelvik
