// Pilot data, altitude alarm and identifiers: one settings sentence each.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/flymaster/jobs.hpp"

namespace trelvik::flymaster {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kSettingsPause{500};

}  // namespace

int SendSettings(GpsJob& job) {
  ProductData product;
  if (RequestProduct(job, product) < 0) {
    ShowProgress(job, "");
    return -1;
  }
  const auto command = static_cast<SettingsCommand>(job.option);
  const bool b1Nav = IsB1Nav(product);
  switch (command) {
    case SettingsCommand::PilotData:
    case SettingsCommand::AltitudeAlarm:
      if (b1Nav) {
        ReportError(job, "Command not available for B1 NAV",
                    command == SettingsCommand::PilotData ? "Set pilot data" : "Set altitude alarm");
        return -1;
      }
      break;
    case SettingsCommand::Identifiers:
      if (!b1Nav) {
        ReportError(job, "Command available for B1 NAV only", "Set pilot data");
        return -1;
      }
      break;
    default: ReportError(job, "Bad input format", "Set Flymaster data"); return -1;
  }
  const std::string sentence = SettingsSentence(command, job.pilotData);
  if (sentence.empty()) {
    ReportError(job, "Bad input format", "Set Flymaster data");
    return -1;
  }
  if (WriteText(job, sentence) < 0) {
    ShowProgress(job, "");
    ReportError(job, "E401 COM port write error", "Set Flymaster data");
    return -1;
  }
  JobSleep(job, kSettingsPause);
  ShowProgress(job, "Data sent");
  return 0;
}

}  // namespace trelvik::flymaster
