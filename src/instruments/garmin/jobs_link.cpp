// The link as every Garmin step uses it: waits with their three error texts,
// failures that tell the unit to abort.
#include "access/job_report.hpp"
#include "base/c_format.hpp"
#include "instruments/garmin/jobs.hpp"

namespace trelvik::garmin {

int Fail(Session& session, std::string_view text, std::string_view caption, bool sendAbort) {
  ReportError(session.job, text, caption);
  if (sendAbort) SendAbort(session);
  return -1;
}

void SendQuietly(Session& session, const GarminPacket& packet) { (void)session.link.Send(packet); }

void SendAbort(Session& session) { SendQuietly(session, Command(kCmdAbortTransfer)); }

bool AckOf(const GarminPacket& packet, uint8_t id) { return IsAckOf(packet, id); }

int Await(Session& session, GarminPacket& packet, bool (*accept)(const GarminPacket&, uint8_t), uint8_t about,
          const WaitTexts& texts, std::string_view caption) {
  const int rc = session.link.Read(kPacketWait, packet);
  if (rc == -1) return Fail(session, texts.timeout, caption);
  if (rc < 0) return Fail(session, texts.portError, caption);
  if (!accept(packet, about)) return Fail(session, texts.wrong, caption, texts.abortOnWrong);
  return 0;
}

std::string SecondsText(uint32_t milliseconds) { return CFormat("%u.%03u", milliseconds / 1000, milliseconds % 1000); }

void PowerOffAfterTransfer(Session& session, bool menuApplies) {
  const GpsJob& job = session.job;
  const bool wanted = job.commandLine != nullptr ? job.commandLine->powerOff : menuApplies && job.powerOffAfterTransfer;
  if (wanted) SendQuietly(session, Command(kCmdTurnOffPower));
}

}  // namespace trelvik::garmin
