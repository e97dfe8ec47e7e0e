// The Garmin cells on USB: find and open the receiver, start a session,
// identify the unit from its product data and capability array, then run
// the same transfers as on the serial line in USB's dialect.
#include "access/debug_trace.hpp"
#include "access/job_report.hpp"
#include "base/c_format.hpp"
#include "instruments/garmin/jobs.hpp"
#include "instruments/garmin/usb_packet_link.hpp"
#include "records/format_progress.hpp"

namespace trelvik::garmin {
namespace {

using std::chrono::milliseconds;

constexpr UsbDeviceId kGarminReceiver{0x091E, 0x0003};
constexpr const char* kOpenCaption = "Connecting to GPS";
constexpr const char* kProductCaption = "Read GPS product data";
constexpr milliseconds kRetryPause{1000};
constexpr milliseconds kSettlePause{100};
// Extended product data packets a unit may send before its capability
// array; more than this is a unit that never sends one.
constexpr int kMaxExtendedPackets = 64;
constexpr uint8_t kPidExtendedProductData = 248;

void Trace(GpsJob& job, std::string_view text) { job.trace->TraceText(text); }

int ReadError(Session& session, int base, int code) {
  return Fail(session, CFormat("E%d Packet read error", base - code), kProductCaption);
}

int SessionError(Session& session, const UsbPacketLink& link, int number) {
  const std::string text = number == 1   ? std::string("E001 Bulk OUT error")
                           : number == 3 ? CFormat("E003 Start session error (%d)", link.PipeError())
                                         : CFormat("E%03d Start session error", number);
  return Fail(session, text, kProductCaption);
}

}  // namespace

int OpenGarminUsb(GpsJob& job, std::unique_ptr<UsbTransport>& transport) {
  UsbOpener* opener = job.linkOpener != nullptr ? job.linkOpener->Usb() : nullptr;
  const int attempts = AttemptCount(job.commandLine);
  std::string refusal;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    ShowProgress(job, FormatProgress("Connecting to GPS (%)", attempts - attempt));
    if (JobAborted(job)) return EndAborted(job);
    OpenedUsb opened = opener != nullptr ? opener->Open(kGarminReceiver) : OpenedUsb{};
    if (!opened.deviceName.empty()) {
      Trace(job, "USB device name:\r\n");
      Trace(job, opened.deviceName);
      Trace(job, "\r\n");
    }
    if (opened.status == UsbOpenStatus::Opened) {
      transport = std::move(opened.transport);
      JobSleep(job, kSettlePause);
      return 0;
    }
    if (opened.status == UsbOpenStatus::Refused) refusal = opened.reason;
    // No receiver yet: it may still be coming up after being plugged in.
    if (attempt + 1 < attempts) JobSleep(job, kRetryPause);
  }
  const std::string text = "Could not open USB port";
  ReportError(job, refusal.empty() ? text : text + "\n" + refusal, kOpenCaption);
  return -1;
}

int RequestUsbProductData(Session& session, UsbPacketLink& link) {
  GpsJob& job = session.job;
  ShowProduct(job, "");
  if (const int rc = link.StartSession(); rc != 0) return SessionError(session, link, rc);
  Trace(job, "Unit ID = ");
  job.trace->TraceHex32(link.UnitId());
  Trace(job, "\r\n");
  ShowProgress(job, "Requesting product information");
  Trace(job, "Requesting product information\r\n");
  if (link.Send(ProductRequest()) != 0) return Fail(session, "E104 Bulk OUT error", kProductCaption);
  UsbPacket usb;
  if (const int code = link.ReadUsbPacket(usb); code != 0) return ReadError(session, 104, code);
  if (usb.id != kPidProductData || !IsProductData(usb.packet))
    return Fail(session, "E114 Bad product data packet", kProductCaption);
  const ProductData product = ParseProductData(usb.packet);
  TakeProductData(job, product);
  job.identity = CFormat("Garmin USB: %u", link.UnitId()).substr(0, kIdentityLimit);
  for (int skipped = 0;; ++skipped) {
    if (const int code = link.ReadUsbPacket(usb); code != 0) return ReadError(session, 114, code);
    if (usb.id == kPidExtendedProductData && skipped < kMaxExtendedPackets) continue;
    if (usb.id != kPidProtocolArray) return Fail(session, "E124 Bad protocol array data packet", kProductCaption);
    break;
  }
  const GarminPacket& array = usb.packet;
  if (array.size % 3 != 0) return Fail(session, "E125 Bad protocol data packet", kProductCaption);
  session.protocols = GarminProtocolSet{};
  session.protocols.productId = product.productId;
  session.protocols.lowVersion = static_cast<uint16_t>(product.version);
  session.protocols.highVersion = static_cast<uint16_t>(product.version);
  if (ParseProtocolArray(std::span<const uint8_t>(array.data.data(), array.size), session.protocols) < 0) {
    return Fail(session, "E126 Bad protocol tag character", kProductCaption);
  }
  return CheckUnitProtocols(session);
}

namespace {

// The receiver on USB: open it, identify it, then the transfer. The
// receiver is released when the cell ends, whatever the outcome.
int UsbCell(GpsJob& job, int (*transfer)(Session&)) {
  std::unique_ptr<UsbTransport> transport;
  if (OpenGarminUsb(job, transport) < 0) return -1;
  UsbPacketLink link(*transport, job.trace, [&job](milliseconds pause) { JobSleep(job, pause); });
  Session session{job, link, {}, &kUsbDialect};
  if (RequestUsbProductData(session, link) < 0) return -1;
  return transfer(session);
}

}  // namespace

int UsbDownloadWaypoints(GpsJob& job) {
  job.trace->ClearTrace();
  return UsbCell(job, RunWaypointDownload);
}

int UsbDownloadTrackLog(GpsJob& job) {
  job.trace->ClearTrace();
  return UsbCell(job, RunTrackDownload);
}

int UsbUploadWaypoints(GpsJob& job) { return UsbCell(job, RunWaypointUpload); }

int UsbUploadWaypointsAsTrack(GpsJob& job) { return UsbCell(job, RunWaypointsAsTrack); }

int UsbUploadCtr(GpsJob& job) { return UsbCell(job, UploadCtrList); }

}  // namespace trelvik::garmin
