#pragma once
// Digifly Leonardo instruments speaking the memory-page protocol.
#include "access/job_table.hpp"

namespace trelvik {

// The family's routines; the protocol table's Leonardo row points to them.
extern const InstrumentDriver kLeonardoDriver;

}  // namespace trelvik
