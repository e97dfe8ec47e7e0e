#include "access/job_table.hpp"

#include <initializer_list>

namespace trelvik {
namespace {

bool InRange(int function, int protocol) {
  return function >= 0 && function < kAccessFunctionCount && protocol >= 0 && protocol < kProtocolCount;
}

// The operations offered per protocol column, row by row.
const std::initializer_list<int> kOffered[kAccessFunctionCount] = {
    {0, 1, 2, 4, 6, 7, 8, 12, 14, 16, 17},                                   // download waypoints
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18},      // download track log
    {3},                                                                    // logger data dialog
    {0, 1, 2, 4, 6, 7, 8, 12, 14, 16, 17},                                   // upload waypoints
    {3, 15},                                                                // erase log
    {3, 5, 12, 13},                                                         // upload pilot name
    {0, 8},                                                                 // upload waypoints as track
    {0, 4, 8},                                                              // upload CTR
    {4},                                                                    // download CTR
    {4, 12, 16, 17},                                                        // download flight list
};

}  // namespace

bool CellOffered(int function, int protocol) {
  if (!InRange(function, protocol)) return false;
  for (int offered : kOffered[function]) {
    if (offered == protocol) return true;
  }
  return false;
}

bool JobTable::Register(const InstrumentDriver& driver) {
  for (size_t i = 0; i < driver.cells.size(); ++i) {
    const JobCell& cell = driver.cells[i];
    const int function = static_cast<int>(cell.function);
    const int protocol = static_cast<int>(cell.protocol);
    if (!CellOffered(function, protocol) || cell.routine == nullptr || cells_[function][protocol].routine) {
      return false;
    }
    for (size_t j = 0; j < i; ++j) {  // a driver naming one cell twice
      if (driver.cells[j].function == cell.function && driver.cells[j].protocol == cell.protocol) return false;
    }
  }
  for (const JobCell& cell : driver.cells) {
    cells_[static_cast<int>(cell.function)][static_cast<int>(cell.protocol)] = {cell.routine, &driver};
  }
  return true;
}

bool JobTable::RegisterAll(std::span<const InstrumentDriver* const> drivers) {
  bool all = true;
  for (const InstrumentDriver* driver : drivers) all = Register(*driver) && all;
  return all;
}

JobRoutine JobTable::Find(int function, int protocol) const {
  return InRange(function, protocol) ? cells_[function][protocol].routine : nullptr;
}

const InstrumentDriver* JobTable::Owner(int function, int protocol) const {
  return InRange(function, protocol) ? cells_[function][protocol].driver : nullptr;
}

}  // namespace trelvik
