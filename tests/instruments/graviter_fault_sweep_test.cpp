// Every Graviter operation with a fault at every byte of a correct
// conversation: each run ends, closes its port, and shows only the messages
// that operation knows, with their captions.
#include <gtest/gtest.h>

#include "instruments/graviter/jobs.hpp"
#include "instruments/pmlr_sweep_support.hpp"

namespace trelvik::graviter {
namespace {

using namespace trelvik::testing;

const std::string kIdentity = "GRV Graviter-2 V2 4711 2024\r\n";

// A small memory: the image stops right after its one track, whose header
// says it holds no positions, so each byte of it is worth a run.
std::string SmallImage() {
  std::string image = {0x00, 0x06, static_cast<char>(0xA4)};  // first track at 1700
  image += std::string("\xFF\xFF\xFF", 3);
  image += std::string("\x0F\x07\x18\x0A\x05\x0B\x1E\x02\x00\x00", 10);
  char sum = 0;
  for (const char c : image) sum = static_cast<char>(sum ^ c);
  return "y" + image + "*" + sum + "\r\n";
}

class GraviterJob : public ScriptedJob {
 public:
  GraviterJob() { job.protocol = ProtocolType::Graviter; }
};

TEST(GraviterFaultSweep, TrackDownload) {
  const std::string caption = "Read GPS track log";
  SweepMessages accepted = JoinMessages(
      {kIdentificationMessages,
       {{"E100 COM port write error", "Requesting GPS product data"},
        {"E201 COM port write error", caption},
        {"E203 COM port read error", caption},
        {"E206 Serial data buffer overflow", caption},
        {"The track log starting at 2024-07-15  10:05 does not contain any valid GPS positions", "No log positions"}}});
  for (int code = 1; code <= 37; ++code) accepted.push_back({"E205 Format error " + std::to_string(code), caption});
  SweepFaults("graviter track",
              JobSweepRunner<GraviterJob>(
                  [](GraviterJob& s) { s.script->Expect("V").Answer(kIdentity).Expect("y").Answer(SmallImage()); },
                  DownloadTrackLog,
                  [](GraviterJob& s, int result) { return result < 0 ? std::string() : PointLines(s.job.points); }),
              accepted);
}

TEST(GraviterFaultSweep, OwnerName) {
  const std::string caption = "Upload user name";
  std::string commands;
  for (int k = 0; k < 20; ++k) commands += CFormat("W%06d%03d", 208 + k, k < 2 ? (k == 0 ? 'J' : 'o') : ' ');
  SweepFaults(
      "graviter name",
      JobSweepRunner<GraviterJob>(
          [commands](GraviterJob& s) {
            s.job.ownerName = "Jo";
            s.script->Expect("V").Answer(kIdentity).Expect("T").Answer("!").Expect(commands);
          },
          WriteOwnerName, [](GraviterJob& s, int result) { return result < 0 ? std::string() : s.script->Written(); }),
      JoinMessages({kIdentificationMessages,
                    {{"E100 COM port write error", "Requesting GPS product data"},
                     {"E300 COM port write error", caption},
                     {"E301 COM port read error", caption},
                     {"E302 Missing command acknowledge", caption},
                     {"E303 Bad command acknowledge", caption},
                     {"E304 COM port write error", caption}}}));
}

}  // namespace
}  // namespace trelvik::graviter
