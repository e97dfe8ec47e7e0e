#pragma once
// The TopNav's own routine; its tracks and uploads are the XC Trainer's.
#include "access/gps_job.hpp"

namespace trelvik::topnav {

// Protocol 2: waypoint text lines up to "@EOF", each answered "@@OK".
int DownloadWaypointLines(GpsJob& job);

}  // namespace trelvik::topnav
