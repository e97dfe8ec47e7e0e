#include "instruments/common/line_speed.hpp"

#include "access/job_report.hpp"

namespace trelvik {

void RestoreSerialSpeed(GpsJob& job, int baud) {
  if (!job.port) return;
  if (job.port->Configure({baud, job.portXonXoff}) != SetupError::None) return;
  job.portBaud = baud;
  (void)job.port->Purge();
  JobSleep(job, std::chrono::milliseconds(200));  // the line settles, as after every switch
}

}  // namespace trelvik
