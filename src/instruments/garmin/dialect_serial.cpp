// The serial line's texts: each wait has its time-out and port-failure text,
// every packet is acknowledged, and a failed transfer is aborted.
#include "instruments/garmin/dialect.hpp"
#include "instruments/garmin/jobs.hpp"
#include "records/format_progress.hpp"

namespace trelvik::garmin {
namespace {

std::string WaypointsRead(int received, int count, uint32_t elapsedMs) {
  return FormatProgress("% of % waypoints read (", received, count) + SecondsText(elapsedMs) + " secs)";
}

std::string PositionsRead(int received, int /*count*/, uint32_t elapsedMs) {
  return FormatProgress("% track positions read (", received) + SecondsText(elapsedMs) + " secs)";
}

// The same three texts for the acknowledgement of an upload step.
constexpr WaitTexts UploadAck(std::string_view timeout, std::string_view portError, std::string_view wrong,
                              bool abortOnWrong = true) {
  return {timeout, portError, wrong, abortOnWrong};
}

}  // namespace

const Dialect kSerialDialect{
    .acknowledges = true,
    .abortAfterError = true,
    .waypointDownload = {.caption = "Read GPS waypoints",
                         .requestTrace = {},
                         .noProtocol = "E310 No waypoint log protocol defined",
                         .commandNotSent = {},
                         .commandAck = {"E300 Timeout while waiting for ack. packet",
                                        "E300 COM port error while waiting for ack. packet",
                                        "E301 Bad acknowledge packet type or format"},
                         .records = {"E302 Timeout while waiting for record count packet",
                                     "E302 COM port error while waiting for count packet",
                                     "E303 Bad record count packet"},
                         .data = {"E305 Timeout while waiting for wpt. data packet",
                                  "E305 COM port error while waiting for wpt. data packet", ""},
                         .badRecord = "E306 Bad waypoint data packet",
                         .badMarks = "E309 Bad waypoint data packet",
                         .complete = {"E308 Timeout while waiting for transfer complete packet",
                                      "E308 COM port error while waiting for transfer complete packet",
                                      "E307 Bad transfer complete packet type or format"},
                         .everyFifthStatus = "Waypoint % of % received",
                         .firstStatus = {},
                         .finalStatus = WaypointsRead},
    .trackDownload = {.caption = "Read GPS track log",
                      .requestTrace = {},
                      .noProtocol = "E212 No track log protocol defined",
                      .commandNotSent = {},
                      .commandAck = {"E200 Timeout while waiting for data packet",
                                     "E200 COM port error while waiting for data packet",
                                     "E201 Bad acknowledge packet type or format"},
                      .records = {"E202 Timeout while waiting for record count packet",
                                  "E202 COM port error while waiting for count packet", "E203 Bad record count packet"},
                      .data = {"E205 Timeout while waiting for log data packet",
                               "E205 COM port error while waiting for log data packet", ""},
                      .badPoint = "E206 Packet type/length mismatch",
                      .headerMismatch = "E208 Packet type/protocol mismatch",
                      .badPacket = "E209 Bad data packet",
                      .complete = {"E211 Timeout while waiting for transfer complete packet",
                                   "E211 COM port error while waiting for transfer complete packet",
                                   "E210 Bad transfer complete packet type or format"},
                      .progressEvery = 5,
                      .positionStatus = true,
                      .receivingStatus = {},
                      .finalStatus = PositionsRead},
    .waypointUpload = {.noProtocol = "E406 No waypoint log protocol defined",
                       .recordsNotSent = {},
                       .recordsAck = UploadAck("E400 Timeout while waiting for ack. packet",
                                               "E400 COM port error while waiting for ack. packet",
                                               "E401 Bad acknowledge packet type or format"),
                       .waypointNotSent = {},
                       .waypointAck = UploadAck("E402 Timeout while waiting for ack. packet",
                                                "E402 COM port error while waiting for ack. packet",
                                                "E403 Bad acknowledge packet type or format"),
                       .completeNotSent = {},
                       .completeAck = UploadAck("E404 Timeout while waiting for ack. packet",
                                                "E404 COM port error while waiting for ack. packet",
                                                "E405 Bad acknowledge packet type or format", false),
                       .sentStatus = "Waypoint % of % sent",
                       .doneStatus = {}},
    .trackUpload = {.noProtocol = "E508 No track log protocol defined",
                    .recordsNotSent = {},
                    .recordsAck = UploadAck("E500 Timeout while waiting for ack. packet",
                                            "E500 COM port error while waiting for ack. packet",
                                            "E501 Bad acknowledge packet type or format"),
                    .headerNotSent = {},
                    .headerAck = UploadAck("E502 Timeout while waiting for ack. packet",
                                           "E502 COM port error while waiting for ack. packet",
                                           "E503 Bad acknowledge packet type or format"),
                    .pointNotSent = {},
                    .pointAck = UploadAck("E504 Timeout while waiting for ack. packet",
                                          "E504 COM port error while waiting for ack. packet",
                                          "E505 Bad acknowledge packet type or format"),
                    .completeNotSent = {},
                    .completeAck = UploadAck("E506 Timeout while waiting for ack. packet",
                                             "E506 COM port error while waiting for ack. packet",
                                             "E507 Bad acknowledge packet type or format", false),
                    .sentStatus = true,
                    .doneStatus = {}},
};

}  // namespace trelvik::garmin
