#pragma once
// The thread routines of the MTK logger cells and the steps they share. Each
// runs on the job's thread; the answers come from the job's AnswerReader.
// Steps return 0 or the step code of their failure (1 = aborted), which
// RunLoggerSequence reports with the step's caption.
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "access/gps_job.hpp"
#include "instruments/mtk/answer_reader.hpp"

namespace trelvik::mtk {

// Cells of the MTK protocol.
int DownloadTrackLog(GpsJob& job);
int EraseLog(GpsJob& job);

// One conversation with the logger: the reader, and whether logging has to
// be switched back on before the conversation ends.
struct LoggerSession {
  GpsJob& job;
  AnswerReader& reader;
  bool loggingWasOn = false;
  bool loggingOffPending = false;  // turned off (or tried to) and not yet on again
};

// Opens the port at the job's speed (38400 when asked, else 115200), starts
// the reader, runs `steps`, switches logging back on after any failure or
// abort that left it off, and reports the failure. The steps' code.
int RunLoggerSequence(GpsJob& job, const std::function<int(LoggerSession&)>& steps);

// ---- steps ----------------------------------------------------------------

int RequestProductInfo(LoggerSession& session);
// Pause, logging status, pause, logging off.
int SwitchLoggingOff(LoggerSession& session);
// Logging on again when it was on before; 0 when it was not.
int SwitchLoggingBackOn(LoggerSession& session);
// Product, logging off, memory used and every chunk of it into `image`, logging on.
int DownloadMtkLog(LoggerSession& session, std::vector<uint8_t>& image);
// The image's points into the job. 0, or -1 after the failure has been reported.
int ParseMtkLog(GpsJob& job, std::span<const uint8_t> image);
// Product, logging off, erase with its wait, logging on.
int EraseMtkLog(LoggerSession& session);

// The message and caption of a step code (code >= 2).
struct StepMessage {
  const char* caption;
  const char* text;
};
StepMessage StepCodeMessage(int code);

}  // namespace trelvik::mtk
