// USB's texts: no acknowledgements either way, a failed write is a numbered
// "Bulk OUT error", a failed read is numbered from the packet layer's code,
// and nothing is sent after an error (USB has no abort command).
#include "instruments/garmin/dialect.hpp"
#include "records/format_progress.hpp"

namespace trelvik::garmin {
namespace {

std::string WaypointsRead(int received, int /*count*/, uint32_t /*elapsedMs*/) {
  return FormatProgress("% waypoints read", received);
}

std::string PositionsRead(int received, int /*count*/, uint32_t /*elapsedMs*/) {
  return FormatProgress("% track positions read", received);
}

// A wait on USB: its wrong-packet text, and the base its read failures count down from.
constexpr WaitTexts Read(std::string_view wrong, int readBase) { return {{}, {}, wrong, false, readBase}; }

}  // namespace

const Dialect kUsbDialect{
    .acknowledges = false,
    .abortAfterError = false,
    .waypointDownload = {.caption = "Read waypoints",
                         .requestTrace = "Requesting waypoints\r\n",
                         .noProtocol = "E336 No waypoint protocol defined",
                         .commandNotSent = "E303 Bulk OUT error",
                         .commandAck = {},
                         .records = Read("E313 Bad record count packet", 303),
                         .data = Read("", 314),
                         .badRecord = "E324 Bad waypoint data packet",
                         .badMarks = "E325 Bad waypoint data packet",
                         .complete = Read("E335 Bad transfer complete packet type or format", 325),
                         .everyFifthStatus = {},
                         .firstStatus = "Receiving waypoints",
                         .finalStatus = WaypointsRead},
    .trackDownload = {.caption = "Read track log",
                      .requestTrace = "Requesting track log\r\n",
                      .noProtocol = "E237 No track log protocol defined",
                      .commandNotSent = "E203 Bulk OUT error",
                      .commandAck = {},
                      .records = Read("E213 Bad record count packet", 203),
                      .data = Read("", 214),
                      .badPoint = "E224 Packet type/length mismatch",
                      .headerMismatch = "E225 Packet type/protocol mismatch",
                      .badPacket = "E226 Bad data packet",
                      .complete = Read("E236 Bad transfer complete packet type or format", 226),
                      .progressEvery = 100,
                      .positionStatus = false,
                      .receivingStatus = "Receiving track positions",
                      .finalStatus = PositionsRead},
    .waypointUpload = {.noProtocol = "E406 No waypoint protocol defined",
                       .recordsNotSent = "E403 Bulk OUT error",
                       .recordsAck = {},
                       .waypointNotSent = "E404 Bulk OUT error",
                       .waypointAck = {},
                       .completeNotSent = "E405 Bulk OUT error",
                       .completeAck = {},
                       .sentStatus = {},
                       .doneStatus = "Transfer completed"},
    .trackUpload = {.noProtocol = "E509 No track log protocol defined",
                    .recordsNotSent = "E503 Bulk OUT error",
                    .recordsAck = {},
                    .headerNotSent = "E504 Bulk OUT error",
                    .headerAck = {},
                    .pointNotSent = {"E505 Bulk OUT error", "E506 Bulk OUT error", "E507 Bulk OUT error"},
                    .pointAck = {},
                    .completeNotSent = "E508 Bulk OUT error",
                    .completeAck = {},
                    .sentStatus = false,
                    .doneStatus = "Transfer completed"},
};

}  // namespace trelvik::garmin
