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

TEST(InstrumentTable, FlytecOffersItsSixOperations) {
  JobTable table;
  ASSERT_TRUE(RegisterInstruments(table));
  const int flytec = static_cast<int>(ProtocolType::Flytec);
  for (AccessFunction f : {AccessFunction::DownloadWaypoints, AccessFunction::DownloadTrackLog,
                           AccessFunction::UploadWaypoints, AccessFunction::UploadCtr, AccessFunction::DownloadCtr,
                           AccessFunction::DownloadFlightList}) {
    EXPECT_NE(table.Find(static_cast<int>(f), flytec), nullptr) << static_cast<int>(f);
  }
  EXPECT_EQ(table.Find(static_cast<int>(AccessFunction::EraseLog), flytec), nullptr);
}

}  // namespace
}  // namespace trelvik
