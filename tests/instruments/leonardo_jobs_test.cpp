// Leonardo thread routines over a scripted link: the memory the upload
// writes for a given memory content.
#include <gtest/gtest.h>

#include "base/c_format.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "instruments/leonardo/jobs.hpp"

namespace trelvik::leonardo {
namespace {

using testing::ScriptedJob;
using testing::Sentence;

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string hex;
  for (const uint8_t b : bytes) hex += CFormat("%02X", static_cast<unsigned>(b));
  return hex;
}

std::vector<uint8_t> Slot(const Waypoint* waypoint) {
  if (waypoint == nullptr) return std::vector<uint8_t>(kWaypointRecord, 0xFF);
  const std::array<uint8_t, kWaypointRecord> record = EncodeWaypoint(*waypoint);
  return std::vector<uint8_t>(record.begin(), record.end());
}

// An instrument whose user pages hold `a` in slot 0 and `b` in slot 5: the
// upload writes the new waypoint, then the two held ones, and clears the
// slots the compaction emptied, each write acknowledged.
TEST(LeonardoUpload, CompactsHeldWaypointsBehindTheNewOnesAndClearsWhatMoved) {
  ScriptedJob s;
  s.job.protocol = ProtocolType::Leonardo;
  const Waypoint a = testing::MakeWaypoint(46.0, 8.0, "AAA", "First held", 100);
  const Waypoint b = testing::MakeWaypoint(46.1, 8.1, "BBB", "Second held", 200);
  const Waypoint fresh = testing::MakeWaypoint(46.2, 8.2, "NEW", "New one", 300);
  s.job.waypoints = {fresh};
  s.script->Expect(kPDGFVID).Answer(Sentence("PDGFVID,LEONARDO PRO,3.10,5150,Jo Pilot"));
  for (int slot = 0; slot < 2 * kWaypointsPerPage; ++slot) {
    const Waypoint* held = slot == 0 ? &a : (slot == 5 ? &b : nullptr);
    s.script
        ->Expect(PDGFRMM(kWaypointMemory, kUserWaypointPage + slot / kWaypointsPerPage,
                         slot % kWaypointsPerPage * kWaypointRecord, kWaypointRecord))
        .Answer(Sentence("PDGFRMM," + Hex(Slot(held))));
  }
  const auto pair = [](const Waypoint* x, const Waypoint* y) {
    std::vector<uint8_t> bytes = Slot(x);
    const std::vector<uint8_t> second = Slot(y);
    bytes.insert(bytes.end(), second.begin(), second.end());
    return bytes;
  };
  s.script->Expect(PDGFWMM(kUserWaypointPage, 0, pair(&fresh, &a))).Answer(std::string(kWriteAck));
  s.script->Expect(PDGFWMM(kUserWaypointPage, 88, pair(&b, nullptr))).Answer(std::string(kWriteAck));
  s.script->Expect(PDGFWMM(kUserWaypointPage, 176, pair(nullptr, nullptr))).Answer(std::string(kWriteAck));
  EXPECT_EQ(UploadWaypoints(s.job), 0);
  EXPECT_FALSE(s.script->Mismatch()) << s.script->MismatchReport();
  EXPECT_TRUE(s.script->Finished());
  EXPECT_EQ(s.channel.Progress().back(), "3 wpts sent (1 new, 0 errors)");
  EXPECT_TRUE(s.channel.Messages().empty());
}

}  // namespace
}  // namespace trelvik::leonardo
