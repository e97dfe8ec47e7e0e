#pragma once
// The job table: one thread routine per (operation, protocol) cell. Each
// instrument family describes itself in one row of the instrument table and
// claims its cells here; a cell nobody claims is an operation not offered.
#include <array>
#include <span>
#include <string_view>

#include "access/access_function.hpp"
#include "access/gps_job.hpp"
#include "records/protocol_type.hpp"

namespace trelvik {

struct JobCell {
  AccessFunction function;
  ProtocolType protocol;
  JobRoutine routine;
};

// One instrument family's self-description.
struct InstrumentDriver {
  std::string_view name;   // stable, never shown: "flytec"
  std::string_view label;  // shown to users: "Flytec 5020/5030"
  std::span<const JobCell> cells;
};

// True for the cells the program offers at all; a driver may fill only these.
bool CellOffered(int function, int protocol);

class JobTable {
 public:
  // Claims the driver's cells; false (and nothing claimed) when a cell is not
  // offered, out of range, has no routine, or already belongs to a driver.
  [[nodiscard]] bool Register(const InstrumentDriver& driver);
  [[nodiscard]] bool RegisterAll(std::span<const InstrumentDriver* const> drivers);

  // The cell's routine; null for an empty cell or indices out of range.
  JobRoutine Find(int function, int protocol) const;
  // The driver that claimed a cell; null when empty.
  const InstrumentDriver* Owner(int function, int protocol) const;

 private:
  struct Entry {
    JobRoutine routine = nullptr;
    const InstrumentDriver* driver = nullptr;
  };
  std::array<std::array<Entry, kProtocolCount>, kAccessFunctionCount> cells_{};
};

}  // namespace trelvik
