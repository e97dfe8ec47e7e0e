#pragma once
// Braeuniger IQ Basic and Flytec 6015 instruments.
#include "access/job_table.hpp"

namespace trelvik {

// The family's routines; the protocol table's IQ Basic row points to them.
extern const InstrumentDriver kIqBasicDriver;

}  // namespace trelvik
