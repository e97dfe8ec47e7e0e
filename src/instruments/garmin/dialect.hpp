#pragma once
// How the Garmin transfers differ between the serial line and USB. The
// application steps are the same on both; the serial link acknowledges every
// packet and numbers its failures by the wait that failed, USB acknowledges
// nothing, numbers a failed write and gives each read failure the packet
// layer's code. Each link's texts and habits are one table of this shape.
#include <cstdint>
#include <string>
#include <string_view>

namespace trelvik::garmin {

// The texts of one wait for a packet: time-out, port failure and the wrong
// packet; `abortOnWrong` false where a wrong answer needs no abort command.
// A `readBase` other than 0 numbers every read failure instead, as
// "E%d Packet read error" with readBase minus the link's read code.
struct WaitTexts {
  std::string_view timeout;
  std::string_view portError;
  std::string_view wrong;
  bool abortOnWrong = true;
  int readBase = 0;
};

// Builds a final status line from the records received, the count announced
// and the milliseconds the transfer took.
using FinalStatus = std::string (*)(int received, int count, uint32_t elapsedMs);

struct WaypointDownloadTexts {
  const char* caption;
  std::string_view requestTrace;  // written to the debug trace with the request, or empty
  std::string_view noProtocol;
  std::string_view commandNotSent;  // empty: a failed write shows as the silence after it
  WaitTexts commandAck;             // links that acknowledge only
  WaitTexts records;
  WaitTexts data;
  std::string_view badRecord;  // wrong id or too short
  std::string_view badMarks;   // D109/D110 marks wrong
  WaitTexts complete;
  std::string_view everyFifthStatus;  // "% of %", or empty
  std::string_view firstStatus;       // after the first record stored, or empty
  FinalStatus finalStatus;
};

struct TrackDownloadTexts {
  const char* caption;
  std::string_view requestTrace;
  std::string_view noProtocol;
  std::string_view commandNotSent;
  WaitTexts commandAck;
  WaitTexts records;
  WaitTexts data;
  std::string_view badPoint;
  std::string_view headerMismatch;  // a header from an A300 unit
  std::string_view badPacket;
  WaitTexts complete;
  int progressEvery;                 // "Progress %/%" to the calling program every so many packets
  bool positionStatus;               // "Track position % of % (%m %s)" with each progress
  std::string_view receivingStatus;  // after the second packet, or empty
  FinalStatus finalStatus;
};

struct WaypointUploadTexts {
  std::string_view noProtocol;
  std::string_view recordsNotSent;
  WaitTexts recordsAck;
  std::string_view waypointNotSent;
  WaitTexts waypointAck;
  std::string_view completeNotSent;
  WaitTexts completeAck;
  std::string_view sentStatus;  // before the transfer complete packet: "% of %", or empty
  std::string_view doneStatus;  // after it, or empty
};

struct TrackUploadTexts {
  std::string_view noProtocol;
  std::string_view recordsNotSent;
  WaitTexts recordsAck;
  std::string_view headerNotSent;
  WaitTexts headerAck;
  // A failed point write, by the unit's track protocol A300, A301, A302.
  std::string_view pointNotSent[3];
  WaitTexts pointAck;
  std::string_view completeNotSent;
  WaitTexts completeAck;
  bool sentStatus;              // "Point % of % sent" before the transfer complete packet
  std::string_view doneStatus;  // after it, or empty
};

struct Dialect {
  bool acknowledges;     // every packet is acknowledged, both ways
  bool abortAfterError;  // a numbered error tells the unit to abort the transfer
  WaypointDownloadTexts waypointDownload;
  TrackDownloadTexts trackDownload;
  WaypointUploadTexts waypointUpload;
  TrackUploadTexts trackUpload;
};

extern const Dialect kSerialDialect;
extern const Dialect kUsbDialect;

}  // namespace trelvik::garmin
