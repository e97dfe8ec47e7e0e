#pragma once
// Thread routines shared by the XC Trainer and TopNav instruments, which send
// on their own once the pilot starts a transfer: the MXP and TNCM track
// downloads and the binary waypoint records.
#include <string>

#include "access/gps_job.hpp"

namespace trelvik::xctrainer {

// Protocols 9 and 10: the MXP log.
int DownloadMxpTrack(GpsJob& job);
// Protocols 2 and 7: the TNCM log.
int DownloadTncmTrack(GpsJob& job);
// Protocol 7: binary waypoint records, each answered "@@OK".
int DownloadWaypointRecords(GpsJob& job);
// Protocols 2 and 7: binary waypoint records, nothing read back.
int UploadWaypointRecords(GpsJob& job);

// ---- steps ----------------------------------------------------------------

// The XC Trainer dialects (7 and 10) rather than the TopNav ones (2 and 9).
[[nodiscard]] constexpr bool IsXcTrainer(ProtocolType protocol) {
  return protocol == ProtocolType::XcTrainer || protocol == ProtocolType::XcTrainerMxp;
}
// Product line, model name and identity of an instrument that did not say more.
void SetIdentity(GpsJob& job, const std::string& model, const std::string& product);
// Competition mode starts with no pilot identified.
void ResetPilotIdentifiers(GpsJob& job);
// Keeps the received log for "Save log As" (not for a TCP session's job).
void KeepRawLog(GpsJob& job, std::string raw);

inline constexpr const char* kTrackCaption = "Read GPS track log";
inline constexpr const char* kWaypointCaption = "Read GPS waypoints";

}  // namespace trelvik::xctrainer
