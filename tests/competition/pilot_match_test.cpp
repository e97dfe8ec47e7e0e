// Whose flight an unattended competition download is.
#include <gtest/gtest.h>

#include "competition/pilot_match.hpp"

namespace trelvik {
namespace {

PilotList List() {
  PilotList list;
  // name, CIVL ID, COMP ID
  list.entries = {{"Ann", 1, 100}, {"Bob", 2, 200}, {"Cid", 3, 1}};
  return list;
}

struct MatchCase {
  const char* label;
  PilotIds ids;
  std::optional<size_t> entry;
  std::string why;
};

class PilotMatch : public ::testing::TestWithParam<MatchCase> {};

TEST_P(PilotMatch, TriesInstrumentThenCommandLineCivlFirst) {
  std::string why;
  EXPECT_EQ(MatchPilot(List(), GetParam().ids, why), GetParam().entry);
  EXPECT_EQ(why, GetParam().why);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PilotMatch,
    ::testing::Values(MatchCase{"instrument_civl", {2, 1, 3, 100}, 1, ""},
                      // A CIVL ID is looked up among CIVL IDs only: 1 is Cid's COMP ID but Ann's CIVL ID.
                      MatchCase{"civl_among_civl_ids", {1, -1, -1, -1}, 0, ""},
                      MatchCase{"comp_among_comp_ids", {-1, 1, -1, -1}, 2, ""},
                      MatchCase{"unknown_instrument_id_falls_to_command_line", {99, -1, -1, 200}, 1, ""},
                      MatchCase{"command_line_civl_before_comp", {-1, -1, 3, 100}, 2, ""},
                      MatchCase{"nothing_matches",
                                {99, 98, -1, 97},
                                std::nullopt,
                                "No pilot in the list has CIVL ID 99, COMP ID 98, COMP ID 97"},
                      MatchCase{"no_ids", {}, std::nullopt, "No pilot ID in the instrument or on the command line"}),
    [](const ::testing::TestParamInfo<MatchCase>& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace trelvik
