#pragma once
// Flytec 50xx/60xx and Braeuniger Compeo/Competino/Galileo instruments.
#include "access/job_table.hpp"

namespace trelvik {

// The family's routines; the protocol table's Flytec rows point to them.
extern const InstrumentDriver kFlytecDriver;

}  // namespace trelvik
