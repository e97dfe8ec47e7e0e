// The link as every Garmin step uses it: waits with their three error texts,
// failures that tell the unit to abort.
#include "access/job_report.hpp"
#include "base/c_format.hpp"
#include "instruments/garmin/jobs.hpp"

namespace trelvik::garmin {

int Fail(Session& session, std::string_view text, std::string_view caption, bool sendAbort) {
  ReportError(session.job, text, caption);
  if (sendAbort && session.dialect->abortAfterError) SendAbort(session);
  return -1;
}

void SendQuietly(Session& session, const GarminPacket& packet) { (void)session.link.Send(packet); }

int Transmit(Session& session, const GarminPacket& packet, std::string_view notSent, std::string_view caption) {
  if (session.link.Send(packet) == 0 || notSent.empty()) return 0;
  return Fail(session, notSent, caption);
}

void Acknowledge(Session& session, uint8_t id) {
  if (session.dialect->acknowledges) SendQuietly(session, Ack(id));
}

void SendAbort(Session& session) { session.link.SendAbort(); }

namespace {

// The packet read, or -1 after the failure report.
int ReadFor(Session& session, GarminPacket& packet, const WaitTexts& texts, std::string_view caption) {
  const int rc = session.link.Read(kPacketWait, packet);
  if (rc < 0 && texts.readBase != 0) {
    return Fail(session, CFormat("E%d Packet read error", texts.readBase - session.link.LastReadCode()), caption);
  }
  if (rc == -1) return Fail(session, texts.timeout, caption);
  if (rc < 0) return Fail(session, texts.portError, caption);
  return 0;
}

}  // namespace

int Await(Session& session, GarminPacket& packet, bool (*accept)(const GarminPacket&), const WaitTexts& texts,
          std::string_view caption) {
  if (ReadFor(session, packet, texts, caption) < 0) return -1;
  if (accept != nullptr && !accept(packet)) return Fail(session, texts.wrong, caption, texts.abortOnWrong);
  return 0;
}

int AwaitAck(Session& session, uint8_t id, const WaitTexts& texts, std::string_view caption) {
  if (!session.dialect->acknowledges) return 0;
  GarminPacket packet;
  if (ReadFor(session, packet, texts, caption) < 0) return -1;
  if (!IsAckOf(packet, id)) return Fail(session, texts.wrong, caption, texts.abortOnWrong);
  return 0;
}

std::string SecondsText(uint32_t milliseconds) { return CFormat("%u.%03u", milliseconds / 1000, milliseconds % 1000); }

void PowerOffAfterTransfer(Session& session, bool menuApplies) {
  const GpsJob& job = session.job;
  const bool wanted = job.commandLine != nullptr ? job.commandLine->powerOff : menuApplies && job.powerOffAfterTransfer;
  if (wanted) SendQuietly(session, Command(kCmdTurnOffPower));
}

}  // namespace trelvik::garmin
