// The instrument table: every row registers, and every cell it claims is one
// the program offers.
#include <gtest/gtest.h>

#include <set>

#include "instruments/instrument_table.hpp"

namespace trelvik {
namespace {

TEST(InstrumentTable, EveryDriverRegistersItsCells) {
  JobTable table;
  ASSERT_TRUE(RegisterInstruments(table));
  std::set<std::string_view> names;
  for (const InstrumentDriver* driver : InstrumentDrivers()) {
    EXPECT_TRUE(names.insert(driver->name).second) << driver->name;
    EXPECT_FALSE(driver->label.empty());
    for (const JobCell& cell : driver->cells) {
      const int function = static_cast<int>(cell.function);
      const int protocol = static_cast<int>(cell.protocol);
      EXPECT_EQ(table.Find(function, protocol), cell.routine);
      EXPECT_EQ(table.Owner(function, protocol), driver);
    }
  }
  JobTable again;
  ASSERT_TRUE(RegisterInstruments(again));
  EXPECT_FALSE(RegisterInstruments(again)) << "a cell claimed twice";
}

}  // namespace
}  // namespace trelvik
