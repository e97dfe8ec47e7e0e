#pragma once
// LogIt track loggers, the TRACKLOGGER among them.
#include "access/job_table.hpp"

namespace trelvik {

// The family's routines; the protocol table's LogIt row points to them.
extern const InstrumentDriver kLogItDriver;

}  // namespace trelvik
