#pragma once
// DSX flight recorders.
#include "access/job_table.hpp"

namespace trelvik {

// The family's routines; the protocol table's DSX row points to them.
extern const InstrumentDriver kDsxDriver;

}  // namespace trelvik
