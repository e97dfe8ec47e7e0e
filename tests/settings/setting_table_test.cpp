#include "settings/setting_table.hpp"

#include <gtest/gtest.h>

#include <set>

namespace trelvik {
namespace {

const SettingEntry& Entry(std::string_view name) {
  for (const SettingEntry& entry : SettingTable()) {
    if (entry.name == name) return entry;
  }
  ADD_FAILURE() << "no setting " << name;
  return SettingTable().front();
}

TEST(SettingTable, NamesAreDistinct) {
  std::set<std::string_view> names;
  for (const SettingEntry& entry : SettingTable()) EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
}

TEST(SettingTable, TypesAndSizesOfTheTexts) {
  struct Case {
    std::string_view name;
    SettingType type;
    size_t size;
  };
  const Case cases[] = {
      {"PilotListName", SettingType::Text, 260}, {"Baudrate", SettingType::Text, 10},
      {"PortName", SettingType::Text, 80},       {"Port", SettingType::Int, 4},
      {"CompTimeStart", SettingType::Int, 4},    {"IgcFlightNo", SettingType::Text, 12},
      {"IgcContestId", SettingType::Text, 4},    {"OlcRegion", SettingType::Text, 8},
      {"OlcDir", SettingType::Text, 260},        {"CtrSegError", SettingType::Int, 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Entry(c.name).Type(), c.type) << c.name;
    EXPECT_EQ(Entry(c.name).size, c.size) << c.name;
  }
}

TEST(SettingTable, ValuesThatDoNotFitAreRefused) {
  struct Case {
    std::string_view name;
    std::string_view text;
    bool accepted;
  };
  const Case cases[] = {
      {"IgcContestId", "123", true},
      {"IgcContestId", "1234", false},  // three characters and the terminator
      {"OlcRegion", "1234567", true},
      {"OlcRegion", "12345678", false},
      {"IgcPilotName", "Ren\xC3\xA9", true},
      {"IgcPilotName", "Ren\xE9", false},  // Latin-1, not UTF-8
      {"IgcPilotName", std::string_view("a\0b", 3), false},
      {"LoopFlightGap", " 500 ", true},
      {"LoopFlightGap", "", false},
      {"LoopFlightGap", "5O0", false},
      {"LoopFlightGap", "1.5", false},
      {"LoopFlightGap", "2147483647", true},
      {"LoopFlightGap", "2147483648", false},
      {"UtcOffsetForTN", "-3600", true},
      {"CompTimeStart", "4294967295", true},
      {"CompTimeStart", "4294967296", false},
      {"CompTimeStart", "-1", false},
  };
  for (const Case& c : cases) {
    Settings settings = BuiltInDefaults("/home/pilot");
    const Settings before = settings;
    EXPECT_EQ(ReadSettingValue(settings, Entry(c.name), c.text), c.accepted) << c.name << "=" << c.text;
    if (!c.accepted) {
      EXPECT_EQ(settings, before) << c.name;
    }
  }
}

TEST(SettingTable, NumbersRoundTripThroughTheirText) {
  Settings settings = BuiltInDefaults("/home/pilot");
  settings.utcOffsetForTN = -7200;
  settings.compTimeStart = 4000000000u;
  Settings copy = BuiltInDefaults("/home/pilot");
  for (const SettingEntry& entry : SettingTable()) {
    EXPECT_TRUE(ReadSettingValue(copy, entry, SettingValueText(settings, entry))) << entry.name;
  }
  EXPECT_EQ(copy, settings);
  EXPECT_EQ(SettingValueText(settings, Entry("UtcOffsetForTN")), "-7200");
}

TEST(SettingTable, DefaultsNamedInTheFieldAreBuiltIn) {
  const Settings settings = BuiltInDefaults("/home/pilot");
  EXPECT_EQ(settings.loopFlightGap, 800);
  EXPECT_EQ(settings.compTimeStart, 555674400u);
  EXPECT_EQ(settings.trackGapTime, 1200);
  EXPECT_EQ(settings.compDir, "/home/pilot");
  EXPECT_EQ(settings.pilotListName, "/home/pilot");
  EXPECT_EQ(settings.igcPilotName, "None");
  EXPECT_EQ(settings.olcRegion, "");
}

}  // namespace
}  // namespace trelvik
