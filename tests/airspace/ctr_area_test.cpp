#include "airspace/ctr_area.hpp"

#include <gtest/gtest.h>

namespace trelvik {
namespace {

TEST(CtrClassCode, EveryClassOfTheTableIgnoringCase) {
  const struct {
    const char* text;
    int32_t code;
  } cases[] = {{"A", 0},   {"b", 1},   {"C", 2},    {"D", 3},   {"e", 4},  {"P", 5},       {"Q", 6},
               {"R", 7},   {"w", 8},   {"CTR", 9},  {"ctr", 9}, {"CtZ", 10}, {"GP", 11},    {"gp", 11},
               {"RMZ", 12}, {"", 12},  {"TMZ", 12}, {"CTRL", 12}, {"G", 12}, {"UNCLASSIFIED", 12}};
  for (const auto& c : cases) EXPECT_EQ(CtrClassCode(c.text), c.code) << c.text;
}

TEST(AltitudeFromRemark, NumbersFlightLevelsAndUnlimited) {
  const struct {
    const char* remark;
    int32_t value;
  } cases[] = {{"2500 ft", 2500},        {"1000 m", 1000},   {"  4500ft AMSL", 4500}, {"FL95", 9500},
               {"FL 95", 9500},          {"fl 125", 12500},  {"Fl", 0},               {"UNLIMITED", 999999},
               {"unlimited", 999999},    {"UNLIMITED ", 0},  {"GND", 0},              {"SFC", 0},
               {"", 0},                  {"AGL 500", 0},     {"99999999999999", 2147483647},
               {"FL 99999999999", 2147483647}};
  for (const auto& c : cases) EXPECT_EQ(AltitudeFromRemark(c.remark), c.value) << c.remark;
}

TEST(RemarkToMetres, UnitsDecideOrGiveZero) {
  const struct {
    const char* remark;
    double metres;
  } cases[] = {{"1500 m", 1500},   {"1500m", 1500},       {"1500 M", 1500},     {"3000 ft AMSL", 914.4},
               {"3000FT", 914.4},  {"1500 MSL", 0},       {"FL 95", 0},         {"GND", 0},
               {"1500", 1500},     {"2,5 m", 2.5},        {" 12.5 ft", 3.81},   {"1500 ftx", 0},
               {"1500 Ft", 1500},  {"1500 AGL", 1500},    {"", 0}};
  for (const auto& c : cases) EXPECT_NEAR(RemarkToMetres(c.remark), c.metres, 1e-9) << c.remark;
}

}  // namespace
}  // namespace trelvik
