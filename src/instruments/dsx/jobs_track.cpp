// The track download: the flight list, the choice of one flight and its IGC
// download.
#include "access/job_report.hpp"
#include "access/serial_link.hpp"
#include "base/c_format.hpp"
#include "instruments/common/igc_track_download.hpp"
#include "instruments/common/read_loop.hpp"
#include "instruments/dsx/jobs.hpp"
#include "records/format_progress.hpp"
#include "trackfiles/igc_decoder.hpp"

namespace trelvik::dsx {
namespace {

using std::chrono::milliseconds;

constexpr const char* kCaption = "Read GPS track log";
constexpr milliseconds kListSilence{2000};
constexpr milliseconds kFirstRecordWait{10000};
constexpr milliseconds kTrackSilence{2000};
constexpr size_t kRawStart = 20000;
constexpr size_t kPointStart = 1000;
constexpr std::string_view kEndRecord = "ZZZZ";

// "FL": the recorder's flights, or nothing after the failure has been reported.
std::optional<std::vector<Flight>> ReadFlightList(GpsJob& job) {
  constexpr const char* kListCaption = "Read GPS track list";
  ShowProgress(job, "Requesting track list");
  if (WriteText(job, kFL) < 0) {
    ReportError(job, "E500 COM port write error", kListCaption);
    return std::nullopt;
  }
  FlightListParser parser;
  int error = 0;
  const ReadEnd end = ReadLoop(job, kListSilence, true, [&](std::span<const uint8_t> bytes) {
    for (const uint8_t c : bytes) {
      error = parser.Feed(c);
      if (error < 0) return false;
    }
    return true;
  });
  if (ReportReadFailure(job, end, "E503 COM port read error", kListCaption) < 0) return std::nullopt;
  if (error < 0) {
    ReportError(job, FormatProgress("E505 Format error %", -error), kListCaption);
    return std::nullopt;
  }
  ShowProgress(job, FormatProgress("% tracks in track list found", static_cast<int64_t>(parser.Flights().size())));
  return parser.Flights();
}

// The flight to download: from the command line's TRACK value (the line of
// the question, 0 = the latest flight), else from the "Track List" question.
// Nothing after a Cancel (quietly) or an empty choice (reported).
std::optional<Flight> ChooseFlight(GpsJob& job, const std::vector<Flight>& flights) {
  const TrackListQuestion question = FlightQuestion(job, flights);
  std::optional<std::vector<int>> chosen;
  if (job.commandLine != nullptr && job.commandLine->trackList[0] >= 0) {
    chosen = std::vector<int>{job.commandLine->trackList[0]};
  } else if (job.trackListChooser != nullptr) {
    chosen = job.trackListChooser->ChooseTracks(question);
  }
  if (!chosen) return std::nullopt;
  if (chosen->empty() || chosen->front() < 0 || static_cast<size_t>(chosen->front()) >= flights.size()) {
    ReportError(job, "Dialog box error", "Select track");
    return std::nullopt;
  }
  return flights[flights.size() - 1 - static_cast<size_t>(chosen->front())];
}

// The flight's IGC file into job.points and `raw`. 0, or -1 after the failure
// has been reported.
int ReceiveFlight(GpsJob& job, const Flight& flight, IgcTrackReceiver& receiver, std::string& raw) {
  ShowProgress(job, "Requesting track log");
  if (WriteText(job, F(flight.number)) < 0) {
    ReportError(job, "E202 COM port write error", kCaption);
    return -1;
  }
  receiver.Start(job.points, raw);
  receiver.SetEndRecord(kEndRecord);
  const auto onPoints = [&](size_t before) { ReportIgcTrackProgress(job, receiver, before, true); };
  // Until the first record starts, the recorder may take its time.
  bool prompted = false;
  bool recordStarted = false;
  const ReadEnd end = ReadLoop(job, kFirstRecordWait, true, [&](std::span<const uint8_t> bytes) {
    size_t i = 0;
    while (!prompted && i < bytes.size()) prompted = bytes[i++] == '#';
    if (!prompted || i == bytes.size()) return true;
    const std::span<const uint8_t> rest = bytes.subspan(i);
    const size_t before = receiver.PointCount();
    const bool more = receiver.Feed(rest);
    onPoints(before);
    for (const uint8_t c : rest) recordStarted = recordStarted || (c != '\r' && c != '\n' && !IsFlowControl(c));
    return more && !recordStarted;
  });
  if (ReportReadFailure(job, end, "E203 COM port read error", kCaption) < 0) return -1;
  if (receiver.Status().fault != IgcFault::None) {
    ReportError(job, IgcFaultText(receiver.Status()), kCaption);
    return -1;
  }
  if (!recordStarted || receiver.Ended()) return 0;
  return ContinueIgcTrack(job, receiver, kTrackSilence, kCaption, kNumberedIgcTexts, onPoints);
}

// Steps 1 to 5 of the download, between the connection's opening and closing.
// 1 when the flight carried G records, 0 when not, -1 (reported, or a Cancel).
int DownloadFlight(GpsJob& job) {
  if (Connect(job) < 0) return -1;
  ShowProduct(job, job.modelName);
  const std::optional<std::vector<Flight>> flights = ReadFlightList(job);
  if (!flights || flights->empty()) return -1;
  const std::optional<Flight> flight = ChooseFlight(job, *flights);
  if (!flight) return -1;
  std::string raw;
  raw.reserve(kRawStart);
  job.points.clear();
  job.points.reserve(kPointStart);
  job.expectedDuration = 0;
  job.expectedCount = flight->records;
  IgcTrackReceiver receiver;
  if (ReceiveFlight(job, *flight, receiver, raw) < 0) return -1;
  ShowProgress(job, FormatProgress("% points received", static_cast<int64_t>(job.points.size())));
  if (job.points.empty()) return -1;
  if (!receiver.HasARecord()) {
    ReportError(job, "Bad or missing A-record", kCaption);
    return -1;
  }
  if (receiver.SkippedRecords() > 0) ReportInfo(job, SkippedRecordsText(receiver.SkippedRecords()), kCaption);
  if (!job.tcpClient) {
    RawIgcImage image;
    image.bytes = std::move(raw);
    image.date = receiver.FirstFixTime();
    image.maker = receiver.Maker();
    image.serial = receiver.Serial();
    job.rawIgc = std::move(image);
  }
  if (receiver.GRecords() > 0) return 1;
  ReportWarning(job, "No G-records found", kCaption);
  return 0;
}

}  // namespace

TrackListQuestion FlightQuestion(const GpsJob& job, const std::vector<Flight>& flights) {
  TrackListQuestion question;
  question.title = "Track List (" + job.portName + ", " + job.modelName + ")";
  question.note = "Select a track (latest first)";
  question.columnHeads = {"No.", "Records"};
  for (size_t i = flights.size(); i-- > 0;) {
    question.lines.push_back(CFormat("%03d       %d", flights[i].number, flights[i].records));
    question.lineNumbers.push_back(flights[i].number);
  }
  question.multipleSelection = false;
  question.allButton = false;
  question.preselected = 0;
  return question;
}

int DownloadTrackLog(GpsJob& job) {
  job.modelName = "DSX";
  job.description = "DSX";
  job.identity = "DSX";
  if (job.competitionCheck) {
    job.compId = -1;
    job.civlId = -1;
  }
  job.source = TrackSource::Dsx;
  job.utcTimes = 1;
  job.hasPressureAltitude = 1;
  const int result = DownloadFlight(job);
  job.signable = result == 1 ? 1 : 0;
  Disconnect(job);
  return result;
}

}  // namespace trelvik::dsx
