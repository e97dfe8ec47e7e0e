#pragma once
// Garmin receivers on a serial port (L001, A010 device commands).
#include "access/job_table.hpp"

namespace trelvik {

// The family's routines; the protocol table's Garmin serial row points to them.
extern const InstrumentDriver kGarminDriver;

}  // namespace trelvik
