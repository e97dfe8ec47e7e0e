// Airspaces: $PBRCTRW upload with acknowledgements, $PBRCTR download.
#include "access/debug_trace.hpp"
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/flytec/codec_ctr.hpp"
#include "instruments/flytec/jobs.hpp"
#include "records/format_progress.hpp"

namespace trelvik::flytec {
namespace {

using std::chrono::milliseconds;

constexpr const char* kAckCaption = "CTR upload acknowledge status";
constexpr const char* kUploadCaption = "Upload CTR";
constexpr const char* kDownloadCaption = "Read CTR list";
constexpr milliseconds kAckWait{20000};
constexpr milliseconds kAckPause{300};
constexpr milliseconds kCtrListSilence{2000};

int SendLine(GpsJob& job, const CtrUploadLine& line) {
  if (WriteText(job, line.text) < 0) {
    ReportError(job, "COM port write error", kUploadCaption);
    return -1;
  }
  JobSleep(job, line.pause);
  return 0;
}

// Waits for the $PBRANS after one airspace. 0 on "1", else -1 after the message.
int AwaitAck(GpsJob& job) {
  SentenceFramer framer;
  int framing = 0;
  char status = 0;
  const ReadEnd end = ReadLoop(job, kAckWait, false, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      if (IsFlowControl(c)) continue;
      const int rc = framer.Feed(c);
      if (rc < 0) {
        framing = rc;
        return false;
      }
      if (rc == 1 && (status = AckStatus(framer.Sentence())) != 0) return false;
    }
    return true;
  });
  if (ReportReadFailure(job, end, "E601 COM port read error", kAckCaption) < 0) return -1;
  if (framing < 0) {
    ReportError(job, FormatProgress("E600 Format error %", -framing), kAckCaption);
    return -1;
  }
  if (status == 0) {
    ReportError(job, "Missing CTR upload ack.", kAckCaption);
    return -1;
  }
  if (status != '1') {
    ReportError(job, AckStatusText(status), kAckCaption);
    return -1;
  }
  ShowProgress(job, AckStatusText(status));
  JobSleep(job, kAckPause);
  return 0;
}

int SendArea(GpsJob& job, const CtrArea& area) {
  const CtrUpload upload = PBRCTRW(area);
  if (SendLine(job, upload.name) < 0) return -1;
  ShowProgress(job, "CTR name sent");
  if (SendLine(job, upload.remark) < 0) return -1;
  ShowProgress(job, "CTR remark sent");
  int64_t sent = 0;
  for (const std::vector<CtrUploadLine>& segment : upload.segments) {
    if (JobAborted(job)) {
      ShowProgress(job, FormatProgress("% CTR segments sent", sent));
      return -1;
    }
    for (const CtrUploadLine& line : segment) {
      if (SendLine(job, line) < 0) return -1;
    }
    ShowProgress(job, FormatProgress("% CTR segments sent", ++sent));
  }
  return AwaitAck(job);
}

}  // namespace

int UploadCtr(GpsJob& job) {
  ProductData product;
  if (ReadProductData(job, product) < 0) return -1;
  const CtrList* list = std::any_cast<CtrList>(&job.ctrList);
  if (list == nullptr) return 0;
  for (const CtrArea& area : *list) {
    if (area.selected && SendArea(job, area) < 0) return -1;
  }
  return 0;
}

int DownloadCtr(GpsJob& job) {
  job.trace->ClearTrace();
  job.ctrList.reset();
  ProductData product;
  if (ReadProductData(job, product) < 0) return -1;
  ShowProgress(job, "Requesting CTR list");
  if (WriteText(job, kPBRCTR) < 0) {
    ReportError(job, "E700 COM port write error", kDownloadCaption);
    return -1;
  }
  SentenceFramer framer;
  CtrListBuilder builder;
  int framing = 0;
  int meaning = 0;
  bool complete = false;
  const ReadEnd end = ReadLoop(job, kCtrListSilence, true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      if (IsFlowControl(c)) continue;
      const int rc = framer.Feed(c);
      if (rc < 0) {
        framing = rc;
        return false;
      }
      if (rc == 0) continue;
      const int event = builder.Interpret(framer.Sentence());
      if (event < 0) {
        meaning = event;
        return false;
      }
      if (event == CtrListBuilder::kAreaStarted && builder.List().size() == 1) ShowProgress(job, "Receiving CTR list");
      if (event == CtrListBuilder::kAreaComplete) {
        ShowProgress(job, FormatProgress("% CTRs received", builder.CompleteAreas()));
      }
      if (event == CtrListBuilder::kListComplete) {
        complete = true;
        return false;
      }
    }
    return true;
  });
  if (ReportReadFailure(job, end, "E701 COM port read error", kDownloadCaption) < 0) return -1;
  if (framing < 0) {
    ReportError(job, FormatProgress("E703 Format error %", -framing), kDownloadCaption);
    return -1;
  }
  if (meaning < 0) {
    ReportError(job, FormatProgress("E702 Format error %", -meaning), kDownloadCaption);
    return -1;
  }
  if (!complete) {
    ReportError(job, "E704 Missing end of CTR list", kDownloadCaption);
    return -1;
  }
  ShowProgress(job, FormatProgress("% CTR(s) received", static_cast<int64_t>(builder.List().size())));
  job.ctrList = std::move(builder.List());
  return 0;
}

}  // namespace trelvik::flytec
