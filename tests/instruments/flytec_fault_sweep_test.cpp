// Every Flytec/Braeuniger operation with a fault at every byte of a correct
// conversation: each run ends, closes its port, and shows only the messages
// that operation knows, with their captions.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "access/notifier.hpp"
#include "access/track_list.hpp"
#include "airspace/ctr_area.hpp"
#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "instruments/flytec/jobs.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "trackfiles/kml_trip.hpp"
#include "support/fault_sweep.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"

namespace trelvik::flytec {
namespace {

using testing::kCtr;
using testing::kIgcRequest;
using testing::kSnp;
using testing::kTl;
using testing::kWps;
using testing::JobSweepRunner;
using testing::Product;
using testing::ScriptedJob;
using testing::Sentence;
using testing::ShownMessage;
using testing::SmallIgc;
using testing::SweepFaults;
using Messages = std::vector<ShownMessage>;

Messages Join(std::initializer_list<Messages> lists) {
  Messages all;
  for (const Messages& list : lists) all.insert(all.end(), list.begin(), list.end());
  return all;
}

// "<prefix><code>" for each of the numbered errors' codes.
Messages Numbered(const char* prefix, std::initializer_list<int> codes, const char* caption) {
  Messages all;
  for (int code : codes) all.push_back({prefix + std::to_string(code), caption});
  return all;
}

// The first step of every operation.
const Messages kProductMessages = {
    {"COM port write error", "Requesting GPS product data"},
    {"COM port read error", "Reading product data"},
    {"Bad/missing user name", "Reading product data"},
    {"No valid response from GPS", "Get GPS product data"},
};

Messages TrackListMessages() {
  const char* caption = "Read GPS track list";
  Messages all;
  for (const char* text : {"E500 COM port write error", "E503 COM port read error", "NMEA line parse error",
                           "Bad NMEA identifier", "Bad track count parameter", "Bad track index parameter",
                           "Bad track date parameter", "Bad track time parameter", "Bad track duration parameter"}) {
    all.push_back({text, caption});
  }
  return all;
}

// The IGC receiver's errors, under the caption of the operation that uses it.
Messages IgcMessages(const char* caption) {
  Messages all = {{"E202 COM port write error", caption},
                  {"E203 COM port read error", caption},
                  {"E207 Too long sentence", caption}};
  for (int byte = 0; byte < 256; ++byte) all.push_back({CFormat("E205 Bad record type (%02X)", byte), caption});
  // A record −28/−29, H record −1…−5, B record and its time −6…−25.
  Messages format = Numbered("E206 Format error ", {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                                    16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 28, 29},
                             caption);
  all.insert(all.end(), format.begin(), format.end());
  // A B record cut short is skipped and counted, not fatal.
  for (int skipped = 1; skipped <= 10; ++skipped) {
    all.push_back({CFormat("%d incomplete position record(s) skipped", skipped), caption});
  }
  return all;
}

Messages TrackDownloadMessages() {
  const char* caption = "Read GPS track log";
  return Join({kProductMessages, TrackListMessages(), IgcMessages(caption),
               {{"No points detected", caption},
                {"Bad or missing A-record", caption},
                {"Overlapping track start/stop times", caption},
                {"No G-records found", caption}}});
}

std::string PointLines(const std::vector<TrackPoint>& points) {
  std::string text;
  for (const TrackPoint& point : points) {
    text += CFormat("%lld/%lld/%lld/%d/%d\n", static_cast<long long>(point.time), static_cast<long long>(point.lat),
                    static_cast<long long>(point.lon), point.gpsAlt, point.baroAlt);
  }
  return text;
}

// What a track download leaves for the window: the points and whether they
// can be signed. (The raw image keeps whatever bytes came, by design.)
std::string ObservedTrack(ScriptedJob& s, int result) {
  if (result < 0) return {};
  return CFormat("signable %d\n", s.job.signable) + PointLines(s.job.points);
}

std::string TwoTrackList() {
  return Sentence("PBRTL,02,00,15.07.24,12:00:00,00:00:20") + Sentence("PBRTL,02,01,14.07.24,12:00:00,00:00:20");
}

TEST(FlytecFaultSweep, LatestTrackDownload) {
  SweepFaults("latest track",
              JobSweepRunner<ScriptedJob>(
                  [](ScriptedJob& s) {
                    s.script->Expect(kSnp).Answer(Product("COMPEO", "2.19")).Expect(kIgcRequest).Answer(SmallIgc(3));
                  },
                  DownloadTrackLog, ObservedTrack),
              TrackDownloadMessages(), testing::Losses::WholeRecords);
}

TEST(FlytecFaultSweep, ListedTracksDownload) {
  SweepFaults("listed tracks",
              JobSweepRunner<ScriptedJob>(
                  [](ScriptedJob& s) {
                    s.commandLine.trackList = EmptyTrackList();
                    s.commandLine.trackList[0] = 0;
                    s.commandLine.trackList[1] = 1;
                    s.script->Expect(kSnp).Answer(Product("COMPEO", "2.20")).Expect(kTl).Answer(TwoTrackList());
                    s.script->Expect(PBRTR(0)).Answer(SmallIgc(2)).Expect(PBRTR(1)).Answer(
                        SmallIgc(2, "HFDTE140724"));
                  },
                  DownloadTrackLog, ObservedTrack),
              TrackDownloadMessages(), testing::Losses::WholeRecords);
}

// The flight list goes to the program that started the command-line run.
struct FlightListJob : ScriptedJob {
  class Sink : public NotifySink {
   public:
    bool Send(std::string_view datagram) override {
      texts += datagram.substr(4);  // after the data word
      return true;
    }
    std::string texts;
  };
  FlightListJob() { job.notifier = &notifier; }
  Sink sink;
  Notifier notifier{sink, 7, [] { return 0u; }};
};

TEST(FlytecFaultSweep, FlightList) {
  SweepFaults("flight list",
              JobSweepRunner<FlightListJob>(
                  [](FlightListJob& s) {
                    s.script->Expect(kSnp).Answer(Product("COMPETINO", "1.14")).Expect(kTl).Answer(TwoTrackList());
                  },
                  DownloadFlightList, [](FlightListJob& s, int) { return s.sink.texts; }),
              Join({kProductMessages, TrackListMessages()}), testing::Losses::WholeRecords);
}

std::string ObservedWaypoints(ScriptedJob& s, int result) {
  if (result < 0) return {};
  std::string text;
  for (const Waypoint& w : s.job.waypoints) {
    text += CFormat("%s/%s/%lld/%lld/%d\n", w.name, w.description, static_cast<long long>(w.lat),
                    static_cast<long long>(w.lon), static_cast<int>(w.alt));
  }
  return text;
}

TEST(FlytecFaultSweep, WaypointDownload) {
  const char* caption = "Read GPS waypoints";
  SweepFaults("waypoint download",
              JobSweepRunner<ScriptedJob>(
                  [](ScriptedJob& s) {
                    s.script->Expect(kSnp).Answer(Product()).Expect(kWps).Answer(
                        Sentence("PBRWPS,4625.460,N,00808.100,E,FIESCH,Fiesch Launch,2240") +
                        Sentence("PBRWPS,4624,S,00809.000,W,LAND,Fiesch landing,-50"));
                  },
                  DownloadWaypoints, ObservedWaypoints),
              Join({kProductMessages,
                    {{"E301 COM port read error", caption}, {"E304 COM port write error", caption}},
                    Numbered("E302 Format error ", {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                                    12, 13, 14, 15, 16, 17, 18, 19, 20, 21},
                             caption)}),
              testing::Losses::WholeRecords);
}

TEST(FlytecFaultSweep, WaypointUpload) {
  SweepFaults("waypoint upload",
              JobSweepRunner<ScriptedJob>(
                  [](ScriptedJob& s) {
                    Waypoint a;
                    CopyToField(std::string("Alpha"), a.description);
                    s.job.waypoints = {a};
                    s.script->Expect(kSnp).Answer(Product()).Expect(PBRWPR(a));
                  },
                  UploadWaypoints,
                  [](ScriptedJob& s, int result) { return result < 0 ? std::string() : s.script->Written(); }),
              kProductMessages);
}

CtrList OneCircle() {
  CtrArea area;
  area.name = "Circle";
  area.selected = true;
  CtrSegment circle;
  circle.type = CtrSegmentType::Circle;
  circle.position = {46.5, 8.0};
  circle.radius = 5000;
  area.segments = {circle};
  return {area};
}

TEST(FlytecFaultSweep, CtrUpload) {
  const char* caption = "CTR upload acknowledge status";
  SweepFaults("CTR upload",
              JobSweepRunner<ScriptedJob>(
                  [](ScriptedJob& s) {
                    s.job.ctrList = OneCircle();
                    s.script->Expect(kSnp).Answer(Product());
                    s.script->Expect(Sentence("PBRCTRW,003,000,Circle           ,0200"))
                        .Expect(Sentence("PBRCTRW,003,001,                 "))
                        .Expect(Sentence("PBRCTRW,003,002,C,4630.000,N,00800.000,E,05000"))
                        .Answer(Sentence("PBRANS,1"));
                  },
                  UploadCtr,
                  [](ScriptedJob& s, int result) { return result < 0 ? std::string() : s.script->Written(); }),
              Join({kProductMessages,
                    {{"COM port write error", "Upload CTR"},  // the device went away before a line was sent
                     {"E601 COM port read error", caption},
                     {"Missing CTR upload ack.", caption},
                     {"Plausibility error", caption},
                     {"No further memory", caption},
                     {"No more writing allowed", caption},
                     {"NMEA syntax error", caption},
                     {"Unknown ack. status", caption}},
                    Numbered("E600 Format error ", {1, 2, 3, 4, 5, 6}, caption)}));
}

TEST(FlytecFaultSweep, CtrDownload) {
  const char* caption = "Read CTR list";
  Messages meaning;
  for (int code = 2; code <= 41; ++code) meaning.push_back({"E702 Format error " + std::to_string(code), caption});
  SweepFaults("CTR download",
              JobSweepRunner<ScriptedJob>(
                  [](ScriptedJob& s) {
                    s.script->Expect(kSnp).Answer(Product()).Expect(kCtr).Answer(
                        Sentence("PBRCTR,003,000,Circle,0500") + Sentence("PBRCTR,003,001,FL 95") +
                        Sentence("PBRCTR,003,002,C,4630.000,N,00800.000,E,05000") + Sentence("PBRANS,1"));
                  },
                  DownloadCtr,
                  [](ScriptedJob& s, int result) {
                    const CtrList* list = std::any_cast<CtrList>(&s.job.ctrList);
                    if (result < 0 || list == nullptr) return std::string();
                    std::string text;
                    for (const CtrArea& area : *list) {
                      text += area.name + "/" + area.floorRemark + CFormat("/%zu\n", area.segments.size());
                    }
                    return text;
                  }),
              Join({kProductMessages,
                    {{"E700 COM port write error", caption},
                     {"E701 COM port read error", caption},
                     {"E704 Missing end of CTR list", caption}},
                    Numbered("E703 Format error ", {1, 2, 3, 4, 5, 6}, caption), meaning}));
}

// Every track chosen; the logbook goes to a fresh folder of each run.
struct AllTracksSweepJob : ScriptedJob {
  class ChooseAll : public TrackListChooser {
   public:
    std::optional<std::vector<int>> ChooseTracks(const TrackListQuestion& question) override {
      std::vector<int> all(question.lines.size());
      for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
      return all;
    }
  };
  AllTracksSweepJob() {
    job.protocol = ProtocolType::FlytecAllTracks;
    job.commandLine = nullptr;
    job.trackListChooser = &chooser;
    job.description = "COMPEO+ 4711 1.0";
    channel.user = &user;
    user.QueueFile(dir.File("sweep.kml"));
  }
  ChooseAll chooser;
  testing::ScriptedUserInterface user;
  testing::TempDir dir{testing::FastTempParent()};
};

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::istringstream stream{std::string(text)};
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

std::string_view Between(std::string_view text, std::string_view open, std::string_view close, size_t from) {
  const size_t start = text.find(open, from);
  if (start == std::string_view::npos) return {};
  const size_t end = text.find(close, start + open.size());
  return text.substr(start + open.size(), end - start - open.size());
}

// The logbook written, one line per track point of every trip: its time and
// position. A track cut short ends
// early, or becomes too short to be a flight and drops out (even all of
// them); the file must be whole either way.
std::string ObservedLogbook(AllTracksSweepJob& s, int) {
  std::string kml;
  if (!ReadWholeFile(s.dir.File("sweep.kml"), kml)) return {};
  if (!kml.starts_with(kKmlFileHead) || !kml.ends_with(kKmlFileTail)) return "half-written file";
  std::string points = "logbook\n";
  constexpr std::string_view kFirst = "time_of_first_point=\"";
  for (size_t at = kml.find(kFirst); at != std::string::npos; at = kml.find(kFirst, at + 1)) {
    const std::string first(Between(kml, kFirst, "\"", at));
    const std::vector<std::string> seconds = Words(Between(kml, "<SecondsFromTimeOfFirstPoint>", "<", at));
    const std::vector<std::string> positions = Words(Between(kml, "<coordinates>", "<", at));
    if (seconds.size() != positions.size()) return "trip of " + first + " garbled";
    // A lost first point moves the trip's first time, not its points' times.
    int day = 0, hour = 0, minute = 0, second = 0;
    std::sscanf(first.c_str(), "%*d-%*d-%dT%d:%d:%d", &day, &hour, &minute, &second);
    for (size_t i = 0; i < seconds.size(); ++i) {
      const long at = ((day * 24L + hour) * 60 + minute) * 60 + second + std::stol(seconds[i]);
      points += std::to_string(at) + " " + positions[i] + "\n";
    }
  }
  return points;
}

TEST(FlytecFaultSweep, AllTracksWriteOneWholeLogbookOrNone) {
  const char* caption = "Read GPS track logs";
  SweepFaults("all tracks",
              JobSweepRunner<AllTracksSweepJob>(
                  [](AllTracksSweepJob& s) {
                    s.script->Expect(kSnp).Answer(Product("COMPEO+", "1.0")).Expect(kTl).Answer(
                        Sentence("PBRTL,02,00,15.07.24,12:00:00,00:02:00") +
                        Sentence("PBRTL,02,01,14.07.24,12:00:00,00:02:00"));
                    // A flight, and a track too short to be one.
                    s.script->Expect(PBRTR(0)).Answer(SmallIgc(10)).Expect(PBRTR(1)).Answer(
                        SmallIgc(4, "HFDTE140724"));
                  },
                  DownloadAllTracks, ObservedLogbook),
              Join({kProductMessages, TrackListMessages(), IgcMessages(caption),
                    {{"File written", "Save FlightLog track"}}}),
              testing::Losses::WholeRecords);
}

}  // namespace
}  // namespace trelvik::flytec
