// The first step of every operation: product request, product data, the
// capability array or the built-in table, and the check of what the unit
// announced.
#include <algorithm>

#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/garmin/jobs.hpp"
#include "instruments/protocol_table.hpp"
#include "records/format_progress.hpp"

namespace trelvik::garmin {
namespace {

using std::chrono::milliseconds;

constexpr const char* kRequestCaption = "Requesting GPS product data";
constexpr const char* kCheckCaption = "Read GPS product data";
constexpr milliseconds kProductWait{2000};
// How long a unit may take after its product data to send its capability
// array; counted from the product data, so that a unit that streams other
// packets (PVT) instead cannot hold the job.
constexpr milliseconds kCapabilityWait{5000};
constexpr size_t kMakerLimit = 50;

// 0 with the product data in `packet`; 1 when this try brought none; -1 after
// a port failure has been reported.
int TryProductRequest(Session& session, GarminPacket& packet) {
  session.link.Reset();
  SendQuietly(session, ProductRequest());
  int rc = session.link.Read(kProductWait, packet);
  if (rc == 0 && IsAckOf(packet, kPidProductRequest)) rc = session.link.Read(kProductWait, packet);
  if (rc == -2) {
    ReportError(session.job, "COM port read error", kRequestCaption);
    return -1;
  }
  return rc == 0 && IsProductData(packet) ? 0 : 1;
}

}  // namespace

int CheckUnitProtocols(Session& session) {
  const ProtocolCheck check = CheckProtocols(session.protocols);
  if (check == ProtocolCheck::Ok) return 0;
  ReportError(session.job, ProtocolCheckText(check), kCheckCaption);
  return -1;
}

void TakeProductData(GpsJob& job, const ProductData& product) {
  job.description = product.description.substr(0, kDescriptionLimit);
  ShowProgress(job, "Product data read");
  ShowProduct(job, job.description);
  job.modelName = "Garmin";
  job.identity = ("Garmin: " + job.description).substr(0, std::min(kMakerLimit, kIdentityLimit));
}

int RequestProductData(Session& session) {
  GpsJob& job = session.job;
  ShowProduct(job, "");
  if (OpenSerialPort(job, ProtocolRowOf(job.protocol).line) < 0) return -1;
  const int attempts = AttemptCount(job.commandLine);
  GarminPacket packet;
  for (int i = 0; i < attempts; i += 2) {
    if (JobAborted(job)) return EndAborted(job);
    ShowProgress(job, FormatProgress("Requesting product info (%)", (attempts - i) / 2));
    const int rc = TryProductRequest(session, packet);
    if (rc < 0) return -1;
    if (rc > 0) continue;
    const ProductData product = ParseProductData(packet);
    TakeProductData(job, product);
    return NegotiateProtocols(session, product);
  }
  ReportError(job, "No valid response from GPS", "Get GPS product data");
  return -1;
}

int NegotiateProtocols(Session& session, const ProductData& product) {
  GpsJob& job = session.job;
  session.protocols = GarminProtocolSet{};
  const uint32_t start = JobTick(job);
  uint8_t acknowledge = kPidProductData;
  GarminPacket packet;
  for (;;) {
    if (JobAborted(job)) return EndAborted(job);
    SendQuietly(session, Ack(acknowledge));
    const uint32_t waited = JobTick(job) - start;
    const auto left = milliseconds(waited < kCapabilityWait.count() ? kCapabilityWait.count() - waited : 0);
    const int rc = left.count() > 0 ? session.link.Read(left, packet) : -1;
    if (rc == -2) {
      ReportError(job, "COM port error while waiting for protocol capability packet", kRequestCaption);
      return -1;
    }
    if (rc == -1) {
      const std::optional<GarminProtocolSet> row = BuiltInProtocols(product.productId, product.version);
      if (!row) {
        ReportError(job, "GPS product ID not supported", kRequestCaption);
        return -1;
      }
      session.protocols = *row;
      return CheckUnitProtocols(session);
    }
    if (packet.id != kPidProtocolArray) {
      acknowledge = packet.id;
      continue;
    }
    session.protocols.productId = product.productId;
    session.protocols.lowVersion = static_cast<uint16_t>(product.version);
    session.protocols.highVersion = static_cast<uint16_t>(product.version);
    if (packet.size % 3 != 0) {
      ReportError(job, "Bad protocol data packet", kRequestCaption);
      return -1;
    }
    if (ParseProtocolArray(std::span<const uint8_t>(packet.data.data(), packet.size), session.protocols) < 0) {
      ReportError(job, "Bad protocol tag character", kRequestCaption);
      return -1;
    }
    SendQuietly(session, Ack(kPidProtocolArray));
    return CheckUnitProtocols(session);
  }
}

}  // namespace trelvik::garmin
