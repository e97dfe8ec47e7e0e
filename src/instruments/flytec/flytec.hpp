#pragma once
// Flytec 50xx/60xx and Braeuniger Compeo/Competino/Galileo instruments.
#include "access/job_table.hpp"

namespace trelvik {

// The family's row of the instrument table.
extern const InstrumentDriver kFlytecDriver;

}  // namespace trelvik
