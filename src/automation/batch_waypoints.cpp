#include "automation/batch_waypoints.hpp"

#include "automation/output_file_create.hpp"
#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "instruments/protocol_table.hpp"
#include "records/waypoint_upload.hpp"
#include "waypoints/pilot_id_waypoints.hpp"
#include "waypoints/waypoint_file_formats.hpp"
#include "waypoints/waypoint_file_read.hpp"

namespace trelvik {
namespace {

// Instruments that show one text per waypoint get names the pilot can tell
// apart: WR_WPT fills empty descriptions with the short name, WR_WPT2 puts the
// short name before every description.
UploadNameRule PreparedNames(const CommandLineJob& job, ProtocolType protocol) {
  const bool showsOneText = ProtocolRowOf(protocol).uploadNameRules || protocol == ProtocolType::Leonardo;
  if (!showsOneText) return UploadNameRule::Unchanged;
  return job.jobKind == JobKind::WriteWaypoints2 ? UploadNameRule::IdAndName : UploadNameRule::OnlyName;
}

}  // namespace

std::optional<WaypointUploadFile> ReadWaypointUploadFile(UserInterface& ui, const CommandLineJob& job,
                                                         ProtocolType protocol, TrackTime now,
                                                         const FileQuestionAsker& ask) {
  const std::optional<std::string> bytes = ReadWaypointFileBytes(ui, job.fileName, kReadingWaypointFile);
  if (!bytes) return std::nullopt;
  std::optional<std::vector<Waypoint>> read = ReadWaypointFile(ui, *bytes, now, ask);
  if (!read) return std::nullopt;
  WaypointUploadFile file;
  file.fileCount = static_cast<int>(read->size());
  if (read->empty()) return file;
  file.listed = std::move(*read);
  if (job.compId >= 0) file.listed.push_back(PilotIdWaypoint(kCompIdName, job.compId, now));
  if (job.civlId >= 0) file.listed.push_back(PilotIdWaypoint(kCivlIdName, job.civlId, now));
  file.toSend = file.listed;
  const UploadNameRule rule = PreparedNames(job, protocol);
  for (int i = 0; i < file.fileCount; ++i) ApplyUploadNameRule(file.toSend[static_cast<size_t>(i)], rule);
  return file;
}

int WriteBatchWaypoints(const WaypointList& list, const BatchOutputContext& context) {
  constexpr const char* kCaption = "Download waypoints";
  if (list.waypoints.empty()) {
    ShowError(context.ui, "No waypoints", kCaption);
    return kOutputFailed;
  }
  const std::string& path = context.job.fileName;
  switch (DecideOutputFile(context.ui, path, {context.job.overwrite != 0, context.hiddenWindow})) {
    case OutputFileDecision::Write: break;
    case OutputFileDecision::Skip: return kOutputLeftAlone;
    case OutputFileDecision::Failed: context.cancelExit(); return kOutputFailed;
  }
  const char* format = context.job.jobKind == JobKind::ReadGeoWaypoints ? "geo-waypoints" : "ozi-waypoints";
  WaypointFileRecords records;
  records.waypoints = list.waypoints;
  const FileWriteResult written = FindWaypointFileFormat(format)->write(records, WaypointWriteOptions{});
  if (written.error) {
    ShowError(context.ui, written.error->text, written.error->caption);
    return kOutputFailed;
  }
  if (const FileWriteError error = WriteFileAtomically(path, written.bytes)) {
    ShowSystemError(context.ui, "File write error", error.errorNumber);
    return kOutputFailed;
  }
  context.ui.SetStatus(CFormat("%d waypoints written", records.Count()));
  context.ui.SetProduct(path);
  return kOutputWritten;
}

}  // namespace trelvik
