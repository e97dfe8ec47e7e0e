#pragma once
// The job table: one thread routine per (operation, protocol) cell. Each
// protocol describes itself in one row of the protocol table; the row's
// driver claims the row's cells here, and a cell nobody claims is an
// operation not offered (yet).
#include <array>
#include <span>
#include <string_view>

#include "access/access_function.hpp"
#include "access/gps_job.hpp"
#include "access/protocol_row.hpp"
#include "records/protocol_type.hpp"

namespace trelvik {

struct JobCell {
  AccessFunction function;
  ProtocolType protocol;
  JobRoutine routine;
};

// One instrument family's routines. A family that speaks several protocols
// (the Flytec all-tracks download) names each cell's protocol; the row of
// that protocol points to the driver.
struct InstrumentDriver {
  std::string_view name;  // stable, never shown: "flytec"
  std::span<const JobCell> cells;
};

// The routine of the driver's cell, or null.
JobRoutine DriverRoutine(const InstrumentDriver& driver, AccessFunction function, ProtocolType protocol);
// True when the row's driver is built and has a routine for the operation.
bool RowRuns(const ProtocolRow& row, AccessFunction function);

class JobTable {
 public:
  // Takes the row (which must outlive the table) and claims the cells of its
  // driver for the row's protocol. False, with nothing claimed, when the
  // protocol has a row already, or a cell is not offered by the row, has no
  // routine, or is named twice.
  [[nodiscard]] bool Register(const ProtocolRow& row);
  [[nodiscard]] bool RegisterAll(std::span<const ProtocolRow> rows);

  // The cell's routine; null for an empty cell or indices out of range.
  JobRoutine Find(int function, int protocol) const;
  JobRoutine Find(AccessFunction function, ProtocolType protocol) const {
    return Find(static_cast<int>(function), static_cast<int>(protocol));
  }
  // The registered row of a protocol; null when none.
  const ProtocolRow* Row(ProtocolType protocol) const;

 private:
  std::array<std::array<JobRoutine, kProtocolCount>, kAccessFunctionCount> cells_{};
  std::array<const ProtocolRow*, kProtocolCount> rows_{};
};

}  // namespace trelvik
