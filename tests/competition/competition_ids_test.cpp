// The pilot's ID waypoints as competition mode finds them in an instrument.
#include <gtest/gtest.h>

#include "competition/competition_ids.hpp"
#include "geo/angles.hpp"
#include "records/names.hpp"
#include "support/recording_channel.hpp"
#include "waypoints/pilot_id_waypoints.hpp"

namespace trelvik {
namespace {

constexpr double kDegree = 3.14159265358979323846 / 180;
double Degrees(Semicircle s) { return SemicircleToRadians(s) / kDegree; }

Waypoint Named(const char* name, const char* description, int32_t positionId) {
  Waypoint w = PilotIdWaypoint("COMPID", positionId, 0);
  CopyToField(std::string(name), w.name);
  CopyToField(std::string(description), w.description);
  return w;
}

TEST(CompetitionIds, EncodedPositionsOfTheEdgeCases) {
  const Waypoint comp = PilotIdWaypoint(kCompIdName, 123, 0);
  EXPECT_NEAR(Degrees(comp.lat), 1 + 2 / 60.0 + 3 / 3600.0, 1e-6);
  EXPECT_EQ(comp.lon, 0);
  EXPECT_EQ(DecodePilotId(comp), 123);
  const Waypoint big = PilotIdWaypoint(kCivlIdName, 1234567, 0);
  EXPECT_NEAR(Degrees(big.lon), 12 + 3 / 60.0 + 4 / 3600.0, 1e-6);
  EXPECT_NEAR(Degrees(big.lat), 5 + 6 / 60.0 + 7 / 3600.0, 1e-6);
  EXPECT_EQ(DecodePilotId(big), 1234567);
  EXPECT_EQ(DecodePilotId(PilotIdWaypoint(kCivlIdName, 17999999, 0)), 17999999);
}

struct IdCase {
  const char* label;
  Waypoint waypoint;
  bool special;
  std::optional<FoundPilotId> found;
};

class WaypointIds : public ::testing::TestWithParam<IdCase> {};

TEST_P(WaypointIds, AreFoundByLabelAndPosition) {
  EXPECT_EQ(PilotIdOfWaypoint(GetParam().waypoint, GetParam().special), GetParam().found);
}

Waypoint South() {
  Waypoint w = PilotIdWaypoint(kCivlIdName, 123, 0);
  w.lat = -w.lat;
  return w;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WaypointIds,
    ::testing::Values(
        IdCase{"comp_by_name", PilotIdWaypoint(kCompIdName, 123, 0), false, FoundPilotId{PilotIdKind::Comp, 123}},
        IdCase{"civl_by_name", PilotIdWaypoint(kCivlIdName, 4567, 0), false, FoundPilotId{PilotIdKind::Civl, 4567}},
        IdCase{"southern_is_no_id", South(), false, std::nullopt},
        // The number lives in the position: a comment that says otherwise does not count.
        IdCase{"position_wins_over_comment", Named("CIVLID", "CIVLID 99", 4567), false,
               FoundPilotId{PilotIdKind::Civl, 4567}},
        // Instruments that keep only the long name still hold the label there.
        IdCase{"label_in_comment_only", Named("W001", "civlid 4567", 4567), false,
               FoundPilotId{PilotIdKind::Civl, 4567}},
        IdCase{"no_label", Named("FIESCH", "Fiesch", 123), false, std::nullopt},
        IdCase{"position_spells_nothing",
               [] {
                 Waypoint w = PilotIdWaypoint(kCompIdName, 0, 0);
                 w.lat = RadiansToSemicircle(46.5 * kDegree);
                 return w;
               }(),
               false, std::nullopt},
        IdCase{"special_dash_number", Named("-42", "COMPID 42", 0), true, FoundPilotId{PilotIdKind::Comp, 42}},
        IdCase{"special_ignores_labels", PilotIdWaypoint(kCompIdName, 123, 0), true, std::nullopt},
        IdCase{"special_dash_letters", Named("-4A", "", 0), true, std::nullopt},
        IdCase{"special_dash_alone", Named("-", "", 0), true, std::nullopt}),
    [](const ::testing::TestParamInfo<IdCase>& info) { return std::string(info.param.label); });

TEST(CompetitionIds, CheckSetsTheJobsIdsAndShowsThem) {
  RecordingChannel channel;
  GpsJob job;
  job.channel = &channel;
  job.competitionCheck = MakeCompetitionWaypointCheck(false);
  job.competitionCheck(job, Named("FIESCH", "", 0));
  job.competitionCheck(job, PilotIdWaypoint(kCivlIdName, 4567, 0));
  job.competitionCheck(job, PilotIdWaypoint(kCompIdName, 12, 0));
  EXPECT_EQ(job.civlId, 4567);
  EXPECT_EQ(job.compId, 12);
  EXPECT_EQ(channel.Progress(), (std::vector<std::string>{"CIVL ID = 4567", "COMP ID = 12, CIVL ID = 4567"}));
}

TEST(CompetitionIds, IdWaypointsToUpload) {
  const std::vector<Waypoint> all = PilotIdWaypoints(12, 4567, true, 99);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_STREQ(all[0].name, "COMPID");
  EXPECT_STREQ(all[0].description, "COMPID 12");
  EXPECT_STREQ(all[1].name, "CIVLID");
  EXPECT_STREQ(all[2].name, "-12");
  EXPECT_STREQ(all[2].description, "COMPID 12");
  EXPECT_EQ(all[2].lat, 0);
  EXPECT_EQ(all[2].time, 99u);
  EXPECT_EQ(PilotIdWaypoints(-1, 4567, true, 0).size(), 1u) << "no -NNN without a COMP ID";
  EXPECT_TRUE(PilotIdWaypoints(-1, -1, false, 0).empty());
}

}  // namespace
}  // namespace trelvik
