// The window's hold on the GPS access layer, in a file of its own so that a
// program without the access layer's jobs does not link them.
#include <QCoreApplication>
#include <QDeadlineTimer>

#include "access/gps_access.hpp"
#include "access/save_trace.hpp"
#include "access/user_interface_channel.hpp"
#include "ui/choice_list_dialog.hpp"
#include "ui/command_ids.hpp"
#include "ui/field_form_dialog.hpp"
#include "ui/main_window.hpp"

namespace trelvik {

void MainWindow::AttachGpsAccess(GpsAccess& access, std::string& traceFolder) {
  access_ = &access;
  traceFolder_ = &traceFolder;
  access.SetJobRunning(jobRunning_);
  channel_ = std::make_unique<UserInterfaceChannel>(ui_);
  trackListChooser_ = std::make_unique<QtTrackListChooser>(qtUi_);
  access.SetTrackListChooser(trackListChooser_.get());
  fieldFormAsker_ = std::make_unique<QtFieldFormAsker>(qtUi_);
  access.SetFieldFormAsker(fieldFormAsker_.get());
  SetAbortHandler([this] {
    UserInterfaceChannel channel(ui_);
    (void)access_->AbortGpsJob(channel);
  });
  SetHandler(command::kDumpDebugData, [this] { (void)SaveTrace(ui_, access_->Trace(), *traceFolder_); });
  SetHandler(command::kClearDebugData, [this] { access_->Trace().ClearTrace(); });
  // At close: up to 2000 ms for a job that still runs, serving the window
  // calls it may be waiting on meanwhile.
  waitForJobEnd_ = [this] {
    const QDeadlineTimer deadline(2000);
    while (access_->JobExists() && !deadline.hasExpired()) {
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      (void)access_->WaitForGpsJobEnd(std::chrono::milliseconds(20));
    }
  };
}

}  // namespace trelvik
