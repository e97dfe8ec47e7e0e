#include "access/job_report.hpp"

#include "access/job_channel.hpp"
#include "access/notifier.hpp"
#include "base/message_box.hpp"

namespace trelvik {

void ShowProgress(GpsJob& job, std::string_view text) { job.channel->ShowProgress(text); }
void ShowProduct(GpsJob& job, std::string_view text) { job.channel->ShowProduct(text); }

void ReportError(GpsJob& job, std::string_view text, std::string_view caption) {
  job.channel->ShowMessage(MessageKind::Error, CutMessageText(text), CutMessageText(caption));
}
void ReportWarning(GpsJob& job, std::string_view text, std::string_view caption) {
  job.channel->ShowMessage(MessageKind::Warning, CutMessageText(text), CutMessageText(caption));
}
void ReportInfo(GpsJob& job, std::string_view text, std::string_view caption) {
  job.channel->ShowMessage(MessageKind::Information, CutMessageText(text), CutMessageText(caption));
}

bool JobAborted(const GpsJob& job) { return job.abort.load() || job.channel->CancelRequested(); }

int EndAborted(GpsJob& job) {
  ShowProgress(job, "Transfer aborted");
  return -1;
}

void JobSleep(GpsJob& job, std::chrono::milliseconds duration) { job.channel->Sleep(duration); }
uint32_t JobTick(GpsJob& job) { return job.channel->TickMs(); }
TrackTime JobUtcNow(GpsJob& job) { return job.channel->UtcNow(); }

Answer AskJobQuestion(GpsJob& job, QuestionKind kind, std::string_view text, std::string_view caption) {
  if (UserInterface* user = job.channel->User()) return user->Ask(kind, CutMessageText(text), CutMessageText(caption));
  return kind == QuestionKind::YesNo ? Answer::No : Answer::Cancel;
}

void CheckCompetitionWaypoint(GpsJob& job, const Waypoint& waypoint) {
  if (job.competitionCheck) job.competitionCheck(job, waypoint);
}

void NotifyText(GpsJob& job, std::string_view text) {
  if (job.notifier) job.notifier->NotifyText(text);
}
void NotifyWaypointCount(GpsJob& job, int count) {
  if (job.notifier) job.notifier->NotifyWaypointCount(count);
}
void NotifyByteCount(GpsJob& job, int count) {
  if (job.notifier) job.notifier->NotifyByteCount(count);
}
void NotifyPosition(GpsJob& job, const TrackPoint& point) {
  if (job.notifier) job.notifier->NotifyPosition(point);
}

void CompleteJob(GpsJob& job, int result) {
  if (job.completed) return;
  job.completed = true;
  job.result = result;
  if (job.onComplete) job.onComplete(job);
}

}  // namespace trelvik
