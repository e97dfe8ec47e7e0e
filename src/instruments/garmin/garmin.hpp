#pragma once
// Garmin receivers on a serial port (L001, A010 device commands) and on USB.
#include "access/job_table.hpp"

namespace trelvik {

// The family's routines; the protocol table's Garmin serial row points to them.
extern const InstrumentDriver kGarminDriver;
// The same transfers with receivers on USB; the Garmin USB row's driver.
extern const InstrumentDriver kGarminUsbDriver;

}  // namespace trelvik
