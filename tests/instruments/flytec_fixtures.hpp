#pragma once
// Hand-built Flytec/Braeuniger traffic and a job wired to a scripted link.
#include <memory>
#include <string>
#include <string_view>

#include "access/debug_trace.hpp"
#include "support/fake_link.hpp"
#include "access/gps_job.hpp"
#include "support/recording_channel.hpp"
#include "base/c_format.hpp"
#include "geo/angles.hpp"
#include "records/names.hpp"
#include "records/waypoint.hpp"

namespace trelvik::testing {

// "$" body "*HH" CR LF, the checksum worked out here from the bytes.
inline std::string Sentence(std::string_view body) {
  unsigned sum = 0;
  for (unsigned char c : body) sum ^= c;
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string text = "$" + std::string(body) + "*";
  text += kHex[sum >> 4];
  text += kHex[sum & 15];
  return text + "\r\n";
}

inline const std::string kSnp = "\x11$PBRSNP,*21\r\n";
inline const std::string kTl = "\x11$PBRTL,*74\r\n";
inline const std::string kIgcRequest = "\x11$PBRIGC,*21\r\n";
inline const std::string kWps = "\x11$PBRWPS,*38\r\n";
inline const std::string kCtr = "\x11$PBRCTR,*29\r\n";

inline std::string Product(std::string_view model = "COMPEO", std::string_view software = "2.19",
                           std::string_view pilot = "Jo Pilot") {
  return Sentence("PBRSNP," + std::string(model) + "," + std::string(pilot) + ",4711," + std::string(software));
}

// A small IGC file: A record, date, `points` B records 10 s apart from
// 12:00:00, one G record.
inline std::string SmallIgc(int points = 3, std::string_view date = "HFDTE150724", int startHour = 12) {
  std::string igc = "AFLY01234\r\n" + std::string(date) + "\r\n";
  for (int i = 0; i < points; ++i) {
    const int t = startHour * 3600 + i * 10;
    igc += CFormat("B%02d%02d%02d4630000N00800000EA0100001100\r\n", t / 3600, t / 60 % 60, t % 60);
  }
  return igc + "G0123456789ABCDEF\r\n";
}

// A waypoint at a position given in degrees.
inline Waypoint MakeWaypoint(double latDegrees, double lonDegrees, const char* name, const char* description,
                             int32_t alt) {
  constexpr double kRadians = 3.14159265358979323846 / 180.0;
  Waypoint w;
  w.lat = RadiansToSemicircle(latDegrees * kRadians);
  w.lon = RadiansToSemicircle(lonDegrees * kRadians);
  CopyToField(std::string(name), w.name);
  CopyToField(std::string(description), w.description);
  w.alt = alt;
  return w;
}

// A job on a scripted link whose silent reads and the job's sleeps move one
// hand-driven clock, so time-outs pass at once. The block is held as the job
// frame holds it, so a test can free it as the frame does.
struct ScriptedJob {
  ScriptedJob() {
    script = std::make_shared<LinkScript>(&clock);
    opener.AddScript(script);
    commandLine.timeout = 2;  // one product pass
    job.channel = &channel;
    job.trace = &trace;
    job.linkOpener = &opener;
    job.commandLine = &commandLine;
    job.portName = "/dev/ttyFAKE";
    job.protocol = ProtocolType::Flytec;
  }
  ManualClock clock;
  RecordingChannel channel{&clock};
  DebugTrace trace;
  FakeLinkOpener opener;
  CommandLineValues commandLine;
  std::shared_ptr<LinkScript> script;
  std::unique_ptr<GpsJob> block = std::make_unique<GpsJob>();
  GpsJob& job = *block;
};

}  // namespace trelvik::testing
