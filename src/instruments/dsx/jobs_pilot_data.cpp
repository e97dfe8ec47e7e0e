// The pilot data stored in the recorder: read, shown in a form, and the
// changed items written back.
#include "access/field_form.hpp"
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/dsx/jobs.hpp"

namespace trelvik::dsx {
namespace {

using std::chrono::milliseconds;

constexpr const char* kReadCaption = "Request user data";
constexpr const char* kWriteCaption = "Set DSX pilot data";
constexpr milliseconds kReplyWait{1000};
constexpr milliseconds kReplyPause{200};
constexpr milliseconds kItemPause{1000};
constexpr milliseconds kClosePause{500};
constexpr size_t kTelephone = kPilotItems;  // the form's field after the five items

using PilotItems = std::array<std::string, kPilotItems>;

// "E1" .. "E5" into `items`. 0, or -1 after the failure has been reported.
int ReadItems(GpsJob& job, PilotItems& items) {
  for (int item = 1; item <= kPilotItems; ++item) {
    if (WriteText(job, E(item)) < 0) {
      ReportError(job, "COM port write error", kReadCaption);
      return -1;
    }
    ItemReplyCollector collector;
    bool complete = false;
    const ReadEnd end = ReadLoop(job, kReplyWait, false, [&](std::span<const uint8_t> bytes) {
      for (const uint8_t c : bytes) {
        if (collector.Feed(c)) {
          complete = true;
          return false;
        }
      }
      return true;
    });
    if (ReportReadFailure(job, end, "COM port read error", kReadCaption) < 0) return -1;
    if (!complete) {
      ReportError(job, "Response timeout", kReadCaption);
      return -1;
    }
    items[static_cast<size_t>(item - 1)] = collector.Text();
    JobSleep(job, kReplyPause);
  }
  return 0;
}

FieldFormQuestion PilotDataQuestion(const PilotItems& items, int mode) {
  FieldFormQuestion question;
  question.title = "Set DSX pilot data";
  question.note = "Blank/unchanged fields are not sent";
  question.modeNames = {"Freeflight", "Gliding && motorplanes"};
  question.mode = mode == 1 ? 1 : 0;
  question.labels = {{"Pilot name", "Comp. ID", "CIVLID", "Glider", "Sponsor", "Telephone no."},
                     {"Pilot name", "Comp. ID", "Comp. class", "Call sign", "Aircraft type", "Telephone no."}};
  for (size_t i = 0; i < items.size(); ++i) question.values.push_back(items[i].substr(0, kPilotLimits[i]));
  question.values.emplace_back();
  question.limits.assign(kPilotLimits.begin(), kPilotLimits.end());
  return question;
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

// Sends one changed field; `pause` before it. 0, or -1 after the failure has been reported.
int SendField(GpsJob& job, bool pause, std::string_view status, const std::string& command) {
  if (pause) JobSleep(job, kItemPause);
  ShowProgress(job, status);
  if (WriteText(job, command) < 0) {
    ReportError(job, "COM port write error", kWriteCaption);
    return -1;
  }
  return 0;
}

// The fields of the answer that are not blank and changed. 0, or -1 after the
// failure has been reported.
int SendChanges(GpsJob& job, const PilotItems& read, const FieldFormAnswer& answer) {
  for (size_t i = 0; i < read.size() && i < answer.values.size(); ++i) {
    const std::string value = answer.values[i].substr(0, kPilotLimits[i]);
    if (IsBlank(value) || value == read[i]) continue;
    const int item = static_cast<int>(i) + 1;
    if (SendField(job, item > 1, "Sending H" + std::to_string(item), H(item, value)) < 0) return -1;
  }
  if (answer.values.size() <= kTelephone) return 0;
  const std::string telephone = answer.values[kTelephone].substr(0, kPilotLimits[kTelephone]);
  if (IsBlank(telephone)) return 0;
  return SendField(job, true, "Sending C1", C1(telephone));
}

// Steps 1 to 4: 0 after OK and every write, -1 (reported, or a Cancel).
int EditPilotData(GpsJob& job) {
  if (Connect(job) < 0) return -1;
  PilotItems items;
  if (ReadItems(job, items) < 0) return -1;
  if (job.fieldFormAsker == nullptr) return -1;  // nobody to ask: as Cancel
  const std::optional<FieldFormAnswer> answer = job.fieldFormAsker->AskFields(PilotDataQuestion(items, job.option));
  if (!answer) return -1;
  job.option = answer->mode;  // the DsxDataMode the user left, for the starter to keep
  return SendChanges(job, items, *answer);
}

}  // namespace

int WritePilotData(GpsJob& job) {
  const int result = EditPilotData(job);
  if (job.port) {
    JobSleep(job, kClosePause);
    Disconnect(job);
  }
  ShowProgress(job, result == 0 ? "Data sent" : "");
  return result;
}

}  // namespace trelvik::dsx
