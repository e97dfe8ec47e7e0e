// What the track and waypoint routines of both instruments share.
#include "access/access_function.hpp"
#include "instruments/xctrainer/jobs.hpp"

namespace trelvik::xctrainer {

void SetIdentity(GpsJob& job, const std::string& model, const std::string& product) {
  job.modelName = model.substr(0, kModelNameLimit);
  job.description = product.substr(0, kDescriptionLimit);
  job.identity = product.substr(0, kIdentityLimit);
}

void ResetPilotIdentifiers(GpsJob& job) {
  if (!job.competitionCheck) return;
  job.compId = -1;
  job.civlId = -1;
}

void KeepRawLog(GpsJob& job, std::string raw) {
  if (job.tcpClient) return;
  job.rawLog = std::move(raw);
}

}  // namespace trelvik::xctrainer
