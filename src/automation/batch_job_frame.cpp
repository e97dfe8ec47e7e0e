#include "automation/batch_job_frame.hpp"

#include <algorithm>

#include "access/user_interface_channel.hpp"
#include "analysis/filter_settings.hpp"
#include "base/silent_user_interface.hpp"

namespace trelvik {
namespace {

CommandLineValues ValuesOf(const CommandLineJob& job) {
  CommandLineValues values;
  values.timeout = job.timeout;
  values.powerOff = job.powerOff != 0;
  std::copy(job.trackList.begin(), job.trackList.end(), values.trackList.begin());
  return values;
}

}  // namespace

BatchJobFrame::BatchJobFrame(const CommandLineJob& job)
    : notifying_(job.notifyWindow),
      commandLine_(ValuesOf(job)),
      sink_(job.notifyWindow ? job.notifyClass : std::string()),
      notifier_(sink_, job.NotificationDataWord(), MonotonicTickMs) {
  notifier_.SetPositionInterval(job.sendLogInterval > 0 ? static_cast<uint32_t>(job.sendLogInterval) : 0);
}

void BatchJobFrame::Attach(GpsAccess& access) {
  access.SetCommandLine(&commandLine_);
  if (notifying_) access.SetNotifier(&notifier_);
}

void BatchJobFrame::NotifyText(std::string_view text) {
  if (notifying_) notifier_.NotifyText(text);
}

std::function<void(std::vector<TrackPoint>&)> DownloadFilterOf(const Settings& settings) {
  if (settings.downloadFilter == 0) return {};
  const DownloadFilterSettings filters{true, settings.timestampFilter != 0, settings.varioFilter,
                                       settings.logFilter != 0, false};
  return [filters](std::vector<TrackPoint>& points) {
    SilentUserInterface quiet;  // the filters' own message would repeat the completion's report
    (void)ApplyDownloadFilters(quiet, points, filters);
  };
}

}  // namespace trelvik
