#pragma once
// The instrument transfers a batch run starts, seen through a small interface
// so that the run itself needs none of the job frame's types: the window, the
// headless face and the tests each supply their own.
#include <any>
#include <cstdint>
#include <string>
#include <vector>

#include <vector>

#include "records/protocol_type.hpp"
#include "records/waypoint.hpp"

namespace trelvik {

enum class BatchTransferKind {
  TrackDownload,  // operation 1; its completion installs the log
  FlightList,     // operation 9; the driver sends the list to the notify target
  CtrUpload,      // operation 7 with the selected airspaces
  WaypointDownload,  // operation 0; its completion installs the list
  WaypointUpload,    // operation 3 with `waypoints`
  PilotData,      // operation 5: the instrument's settings command `option` with `pilotData`
};

struct BatchTransferRequest {
  BatchTransferKind kind = BatchTransferKind::TrackDownload;
  ProtocolType protocol = ProtocolType::GarminSerial;
  int32_t option = 0;
  std::string portName;
  std::any ctrList;  // CtrUpload: the airspace list (CtrList)
  std::vector<Waypoint> waypoints;  // WaypointUpload: what is sent, in order
  std::vector<std::string> pilotData;
  int32_t utcOffsetForTn = 0;  // TopNav logs: the UtcOffsetForTN setting
  // TrackDownload in competition mode: the instrument's waypoints are searched
  // for the pilot's IDs first (`competitionSpecial`: the "-NNN" variant).
  bool competitionCheck = false;
  bool competitionSpecial = false;
};

class BatchTransfers {
 public:
  virtual ~BatchTransfers() = default;
  // 0 when the transfer runs (the window is then busy); -1 after the refusal
  // was shown. The transfer's end reaches the run as ContinueCommandLineJob.
  [[nodiscard]] virtual int Start(BatchTransferRequest request) = 0;
  // The failure flag, which is the program's exit code.
  virtual void SetFailed() = 0;
  virtual int FailureFlag() const = 0;
};

}  // namespace trelvik
