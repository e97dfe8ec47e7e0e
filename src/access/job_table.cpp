#include "access/job_table.hpp"

namespace trelvik {
namespace {

bool InRange(int function, int protocol) {
  return function >= 0 && function < kAccessFunctionCount && protocol >= 0 && protocol < kProtocolCount;
}

}  // namespace

JobRoutine DriverRoutine(const InstrumentDriver& driver, AccessFunction function, ProtocolType protocol) {
  for (const JobCell& cell : driver.cells) {
    if (cell.function == function && cell.protocol == protocol) return cell.routine;
  }
  return nullptr;
}

bool RowRuns(const ProtocolRow& row, AccessFunction function) {
  return row.driver != nullptr && Contains(row.offered, function) &&
         DriverRoutine(*row.driver, function, row.protocol) != nullptr;
}

bool JobTable::Register(const ProtocolRow& row) {
  const int protocol = static_cast<int>(row.protocol);
  if (!InRange(0, protocol) || rows_[protocol] != nullptr) return false;
  if (row.driver != nullptr) {
    const std::span<const JobCell> cells = row.driver->cells;
    for (size_t i = 0; i < cells.size(); ++i) {
      if (cells[i].protocol != row.protocol) continue;
      if (!Contains(row.offered, cells[i].function) || cells[i].routine == nullptr) return false;
      for (size_t j = 0; j < i; ++j) {
        if (cells[j].function == cells[i].function && cells[j].protocol == row.protocol) return false;
      }
    }
    for (const JobCell& cell : cells) {
      if (cell.protocol == row.protocol) cells_[static_cast<int>(cell.function)][protocol] = cell.routine;
    }
  }
  rows_[protocol] = &row;
  return true;
}

bool JobTable::RegisterAll(std::span<const ProtocolRow> rows) {
  bool all = true;
  for (const ProtocolRow& row : rows) all = Register(row) && all;
  return all;
}

JobRoutine JobTable::Find(int function, int protocol) const {
  return InRange(function, protocol) ? cells_[function][protocol] : nullptr;
}

const ProtocolRow* JobTable::Row(ProtocolType protocol) const {
  const int index = static_cast<int>(protocol);
  return InRange(0, index) ? rows_[index] : nullptr;
}

}  // namespace trelvik
