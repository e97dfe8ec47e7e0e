#pragma once
// XC Trainer and TopNav instruments, TNCM and MXP dialects.
#include "access/job_table.hpp"

namespace trelvik {

extern const InstrumentDriver kXcTrainerDriver;

}  // namespace trelvik
