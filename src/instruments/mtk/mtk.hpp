#pragma once
// GPS loggers on the MediaTek chip set (Pentagram and others): $PMTK182 log
// memory download and erase.
#include "access/job_table.hpp"

namespace trelvik {

// The family's routines; the protocol table's MTK row points to them.
extern const InstrumentDriver kMtkDriver;

}  // namespace trelvik
