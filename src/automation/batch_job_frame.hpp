#pragma once
// What the job frame needs for a command-line run, shared by the headless
// face and the window: the command-line values every job reads (TIMEOUT,
// PWROFF, TRACK), the notifications to the program that started the run, and
// the download filters of the settings.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "access/command_line_values.hpp"
#include "access/datagram_sender.hpp"
#include "access/gps_access.hpp"
#include "access/notifier.hpp"
#include "automation/command_line_job.hpp"
#include "settings/settings.hpp"

namespace trelvik {

class BatchJobFrame {
 public:
  explicit BatchJobFrame(const CommandLineJob& job);
  BatchJobFrame(const BatchJobFrame&) = delete;
  BatchJobFrame& operator=(const BatchJobFrame&) = delete;

  // Every job `access` starts from now on reads the run's values and notifies
  // the run's caller. The frame must outlive those jobs.
  void Attach(GpsAccess& access);
  // A text for the program that started the run ("Transfer started");
  // nothing when the command line named none.
  void NotifyText(std::string_view text);

 private:
  bool notifying_;
  CommandLineValues commandLine_;
  DatagramSender sink_;
  Notifier notifier_;
};

// The download filters as the track-download completion runs them (their own
// report is left to the completion); empty when the setting is off.
std::function<void(std::vector<TrackPoint>&)> DownloadFilterOf(const Settings& settings);

}  // namespace trelvik
