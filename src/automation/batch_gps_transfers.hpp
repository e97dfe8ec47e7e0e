#pragma once
// The batch run's transfers as jobs of the GPS access layer: each is started
// with the completion routine that installs its result and then posts the
// run's continuation through the context's postMainWindow hook.
#include "access/completion.hpp"
#include "access/gps_access.hpp"
#include "access/job_channel.hpp"
#include "automation/batch_transfers.hpp"
#include "records/track_log.hpp"

namespace trelvik {

class GpsBatchTransfers : public BatchTransfers {
 public:
  // All references outlive this object; downloads install into `log` and `waypoints`. `context.commandLineRun` is set here.
  GpsBatchTransfers(GpsAccess& access, JobChannel& channel, TrackLog& log, WaypointList& waypoints,
                    CompletionContext context);

  [[nodiscard]] int Start(BatchTransferRequest request) override;
  void SetFailed() override { access_.SetFailed(); }
  int FailureFlag() const override { return access_.ExitCode(); }

 private:
  GpsAccess& access_;
  JobChannel& channel_;
  TrackLog& log_;
  WaypointList& waypoints_;
  CompletionContext context_;
};

}  // namespace trelvik
