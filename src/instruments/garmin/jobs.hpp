#pragma once
// The Garmin operations over any packet link, and the serial and USB cells
// that run them. Each step reports its own failure through the job frame and
// returns -1; the cells only pass results on.
#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "access/gps_job.hpp"
#include "access/usb_link.hpp"
#include "instruments/garmin/dialect.hpp"
#include "instruments/garmin/packet_link.hpp"
#include "instruments/garmin/packets.hpp"
#include "instruments/garmin/protocols.hpp"

namespace trelvik::garmin {

// One operation's conversation with one unit: the job, its link, and what
// the unit said it can do.
struct Session {
  GpsJob& job;
  PacketLink& link;
  GarminProtocolSet protocols{};
  const Dialect* dialect = &kSerialDialect;
};

// Cells of protocol 0 (the serial port).
int SerialDownloadWaypoints(GpsJob& job);
int SerialDownloadTrackLog(GpsJob& job);
int SerialUploadWaypoints(GpsJob& job);
int SerialUploadWaypointsAsTrack(GpsJob& job);
int SerialUploadCtr(GpsJob& job);

// Cells of protocol 8 (USB).
int UsbDownloadWaypoints(GpsJob& job);
int UsbDownloadTrackLog(GpsJob& job);
int UsbUploadWaypoints(GpsJob& job);
int UsbUploadWaypointsAsTrack(GpsJob& job);
int UsbUploadCtr(GpsJob& job);

// The transfer each cell runs once the unit is identified, the same on
// every link.
[[nodiscard]] int RunWaypointDownload(Session& session);
// With competition mode's waypoint check first when the job carries one.
[[nodiscard]] int RunTrackDownload(Session& session);
[[nodiscard]] int RunWaypointUpload(Session& session);
[[nodiscard]] int RunWaypointsAsTrack(Session& session);

// ---- steps ----------------------------------------------------------------

// Opens the serial port and identifies the unit; then NegotiateProtocols.
[[nodiscard]] int RequestProductData(Session& session);
// After the product data: the capability array (or the built-in table when
// none comes within 5 s) and the check whether the unit can be served.
[[nodiscard]] int NegotiateProtocols(Session& session, const ProductData& product);
// CheckProtocols on what the unit announced; 0, or -1 after the report.
[[nodiscard]] int CheckUnitProtocols(Session& session);
// Fills the job's identity from the product data and shows it.
void TakeProductData(GpsJob& job, const ProductData& product);

class UsbPacketLink;
// Finds and opens the receiver through job.linkOpener's USB opener: TIMEOUT
// attempts (30 by default) a second apart, an empty device list included.
// 0 with `transport` set, or -1 after "Could not open USB port".
[[nodiscard]] int OpenGarminUsb(GpsJob& job, std::unique_ptr<UsbTransport>& transport);
// On the opened receiver: the session start, the product data and the
// capability array (a unit without one is not served on USB), the check.
[[nodiscard]] int RequestUsbProductData(Session& session, UsbPacketLink& link);

// A100 download into job.waypoints, or, with `checkOnly`, each waypoint handed
// to competition mode's check instead.
[[nodiscard]] int DownloadWaypoints(Session& session, bool checkOnly);
// A300..A302 download into job.points.
[[nodiscard]] int DownloadTrackLog(Session& session);
// A100 upload of job.waypoints.
[[nodiscard]] int UploadWaypoints(Session& session);
// The positions of `points` as one track log; `ctrNumber` 0 for a plain
// track, else the airspace's number in the upload; `trackName` empty: the
// first point's name.
[[nodiscard]] int UploadTrackLog(Session& session, int ctrNumber, std::string_view trackName,
                                 const std::vector<Waypoint>& points);
// Every selected airspace of job.ctrList as a track log.
[[nodiscard]] int UploadCtrList(Session& session);
// The power-off command after a transfer: the command line's PWROFF during a
// command-line run, else the menu's setting when `menuApplies`.
void PowerOffAfterTransfer(Session& session, bool menuApplies);

// ---- the link as the steps use it -------------------------------------

inline constexpr std::chrono::milliseconds kPacketWait{5000};

// Reports `text` under `caption` and, when `sendAbort` and the link's
// dialect aborts after errors, tells the unit to abort the transfer. Always -1.
int Fail(Session& session, std::string_view text, std::string_view caption, bool sendAbort = true);
// Sends without looking back: a failed write shows as the silence after it.
void SendQuietly(Session& session, const GarminPacket& packet);
// Sends; a failed write is the error `notSent` when the dialect names one
// (else it shows as the silence after it). 0, or -1 after the report.
[[nodiscard]] int Transmit(Session& session, const GarminPacket& packet, std::string_view notSent,
                           std::string_view caption);
// The acknowledgement of packet `id`, on links that acknowledge.
void Acknowledge(Session& session, uint8_t id);
void SendAbort(Session& session);
// Waits for a packet that `accept` takes (null: any packet). 0, or -1 after
// the failure report.
[[nodiscard]] int Await(Session& session, GarminPacket& packet, bool (*accept)(const GarminPacket&),
                        const WaitTexts& texts, std::string_view caption);
// Waits for the acknowledgement of packet `id`; at once 0 on links that
// do not acknowledge.
[[nodiscard]] int AwaitAck(Session& session, uint8_t id, const WaitTexts& texts, std::string_view caption);
// "3.045": seconds with their milliseconds padded to three digits.
std::string SecondsText(uint32_t milliseconds);

}  // namespace trelvik::garmin
