#pragma once
// The one table of instrument protocols: a row per ProtocolType value, each
// pointing to its driver once the family is built. The program registers the
// rows into its JobTable at start; the command line, the menus and quick
// buttons, the server's names and the consistency test read the same rows.
#include <optional>
#include <span>
#include <string_view>

#include "access/job_table.hpp"
#include "access/protocol_row.hpp"

namespace trelvik {

// Every protocol's row, in ProtocolType order.
std::span<const ProtocolRow> ProtocolTable();
const ProtocolRow& ProtocolRowOf(ProtocolType protocol);
// The row the command line's GPS= value names; null for an unknown type.
const ProtocolRow* CommandLineRow(GpsType type);
const ProtocolRow* CommandLineRowNamed(std::string_view upperName);

// Claims every built driver's cells; false when a cell could not be claimed.
[[nodiscard]] bool RegisterInstruments(JobTable& table);

}  // namespace trelvik
