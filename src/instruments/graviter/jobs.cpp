// Identification, the memory image and the owner name.
#include "instruments/graviter/jobs.hpp"
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "base/c_format.hpp"
#include "instruments/common/owner_name.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/protocol_table.hpp"
#include "records/format_progress.hpp"

namespace trelvik::graviter {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kPass{2000};
constexpr milliseconds kImageSilence{2000};
constexpr milliseconds kCommandPause{300};
constexpr size_t kProgressBytes = 2000;

}  // namespace

int ReadIdentity(GpsJob& job) {
  ShowProduct(job, "");
  if (OpenSerialPort(job, ProtocolRowOf(job.protocol).line) < 0) return -1;
  const int tries = AttemptCount(job.commandLine);
  for (int i = 0; i < tries; i += 2) {
    ShowProgress(job, FormatProgress("Requesting product info (%)", (tries - i + 1) / 2));
    if (WriteText(job, kIdentityRequest) < 0) {
      ReportError(job, "E100 COM port write error", "Requesting GPS product data");
      return -1;
    }
    IdentityParser parser;
    bool complete = false;
    const ReadEnd end = ReadLoop(job, kPass, false, [&](std::span<const uint8_t> bytes) {
      for (const uint8_t c : bytes) {
        if (IsFlowControl(c)) continue;  // a text line
        if (parser.Feed(c)) {
          complete = true;
          return false;
        }
      }
      return true;
    });
    if (ReportReadFailure(job, end, "COM port read error", "Reading product data") < 0) return -1;
    if (!complete) continue;
    ShowProduct(job, parser.Model());
    job.description = parser.Model();
    ShowProgress(job, "Product data read");
    job.modelName = "Graviter";
    job.identity = CFormat("%s: ", job.modelName.c_str()).append(parser.Serial()).substr(0, kIdentityLimit);
    return 0;
  }
  ReportError(job, "No valid response from GPS", "Get GPS product data");
  return -1;
}

int DownloadTrackLog(GpsJob& job) {
  constexpr const char* kCaption = "Read GPS track log";
  if (ReadIdentity(job) < 0) return -1;
  if (job.competitionCheck) {
    job.compId = -1;
    job.civlId = -1;
  }
  job.points.clear();
  job.points.reserve(100);
  ShowProgress(job, "Requesting track log");
  JobSleep(job, kCommandPause);
  if (WriteText(job, kImageRequest) < 0) {
    ReportError(job, "E201 COM port write error", kCaption);
    return -1;
  }
  std::vector<uint8_t> reply;
  reply.reserve(kBufferSize - kReplyStart);
  bool overflow = false;
  const ReadEnd end = ReadLoop(job, kImageSilence, true, [&](std::span<const uint8_t> bytes) {
    const size_t before = reply.size();
    if (kReplyStart + before + bytes.size() > kBufferSize) {
      overflow = true;
      return false;
    }
    reply.insert(reply.end(), bytes.begin(), bytes.end());
    if (reply.size() / kProgressBytes != before / kProgressBytes) {
      ShowProgress(job, FormatProgress("% bytes received", static_cast<int64_t>(reply.size())));
      NotifyByteCount(job, static_cast<int>(reply.size()));
    }
    return true;
  });
  if (ReportReadFailure(job, end, "E203 COM port read error", kCaption) < 0) return -1;
  if (overflow) {
    ReportError(job, "E206 Serial data buffer overflow", kCaption);
    return -1;
  }
  const int code = DecodeImage(reply, job.points, [&](const TrackHeader& h) {
    ReportInfo(job,
               CFormat("The track log starting at %d-%02d-%02d  %02d:%02d does not contain any valid GPS positions",
                       h.year, h.month, h.day, h.startHour, h.startMinute),
               "No log positions");
  });
  if (code != 0) {
    job.points.clear();
    ReportError(job, FormatProgress("E205 Format error %", code), kCaption);
    return -1;
  }
  job.source = TrackSource::Graviter;
  job.signable = 1;
  job.utcTimes = 0;
  job.hasPressureAltitude = 0;
  ShowProgress(job, FormatProgress("% points received", static_cast<int64_t>(job.points.size())));
  return 0;
}

int WriteOwnerName(GpsJob& job) {
  constexpr const char* kCaption = "Upload user name";
  const std::optional<std::string> name = OwnerNameField(job.ownerName, kOwnerNameWidth);
  if (!name) return -1;  // an empty name cancels
  if (ReadIdentity(job) < 0) return -1;
  JobSleep(job, kCommandPause);
  if (WriteText(job, kNameRequest) < 0) {
    ReportError(job, "E300 COM port write error", kCaption);
    return -1;
  }
  int first = -1;
  const ReadEnd end = ReadLoop(job, kPass, false, [&](std::span<const uint8_t> bytes) {
    first = bytes[0];
    return false;
  });
  if (ReportReadFailure(job, end, "E301 COM port read error", kCaption) < 0) return -1;
  if (first < 0) {
    ReportError(job, "E302 Missing command acknowledge", kCaption);
    return -1;
  }
  if (first != '!') {
    ReportError(job, "E303 Bad command acknowledge", kCaption);
    return -1;
  }
  for (size_t k = 0; k < kOwnerNameWidth; ++k) {
    if (WriteText(job, NameByteCommand(k, static_cast<uint8_t>((*name)[k]))) < 0) {
      ReportError(job, "E304 COM port write error", kCaption);
      return -1;
    }
  }
  return 0;
}

}  // namespace trelvik::graviter
