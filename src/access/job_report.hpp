#pragma once
// The reporting calls every thread routine makes, each taking its job.
#include <chrono>
#include <string_view>

#include "access/gps_job.hpp"
#include "base/user_interface.hpp"
#include "records/track_point.hpp"

namespace trelvik {

void ShowProgress(GpsJob& job, std::string_view text);
void ShowProduct(GpsJob& job, std::string_view text);
void ReportError(GpsJob& job, std::string_view text, std::string_view caption);
void ReportWarning(GpsJob& job, std::string_view text, std::string_view caption);
void ReportInfo(GpsJob& job, std::string_view text, std::string_view caption);

// True when the job was asked to stop (abort command or a lost TCP client).
[[nodiscard]] bool JobAborted(const GpsJob& job);
// Shows "Transfer aborted" and returns -1, the result of every aborted job.
[[nodiscard]] int EndAborted(GpsJob& job);

void JobSleep(GpsJob& job, std::chrono::milliseconds duration);
[[nodiscard]] uint32_t JobTick(GpsJob& job);
[[nodiscard]] TrackTime JobUtcNow(GpsJob& job);

// A question in the middle of a transfer. The window and a terminal ask the
// user; a TCP session and a console without a terminal take the negative
// answer (Cancel, or No), so nothing waits for an answer that cannot come.
[[nodiscard]] Answer AskJobQuestion(GpsJob& job, QuestionKind kind, std::string_view text, std::string_view caption);

// Hands a waypoint read from the instrument to competition mode's check.
void CheckCompetitionWaypoint(GpsJob& job, const Waypoint& waypoint);

// Notifications to the program that started the run; nothing without one.
void NotifyText(GpsJob& job, std::string_view text);
void NotifyWaypointCount(GpsJob& job, int count);
void NotifyByteCount(GpsJob& job, int count);
void NotifyPosition(GpsJob& job, const TrackPoint& point);

}  // namespace trelvik
