#pragma once
// Bringing an instrument's line back to its normal speed at the end of a fast
// transfer, whatever ended it. The failure the user hears about has been
// reported already, so a line that cannot be reconfigured any more (a device
// gone away) adds no second message.
#include "access/gps_job.hpp"

namespace trelvik {

// Reconfigures the open port (keeping its flow control), purges it and
// pauses 200 ms, as SetSerialSpeed does, without reporting; nothing when the port is closed.
void RestoreSerialSpeed(GpsJob& job, int baud);

}  // namespace trelvik
