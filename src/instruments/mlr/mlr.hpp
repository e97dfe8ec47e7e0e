#pragma once
// MLR GPS receivers and the Digifly, CPilot and CoMo instruments built on them.
#include "access/job_table.hpp"

namespace trelvik {

// The family's routines; the protocol table's MLR rows point to them.
extern const InstrumentDriver kMlrDriver;

}  // namespace trelvik
