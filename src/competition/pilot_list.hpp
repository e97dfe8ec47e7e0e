#pragma once
// The pilot list of a competition: one entry per pilot with the pilot's
// competition number (COMP ID), CIVL number and the instruments the pilot has
// used. Read from the organisers' scoring database (FS ".fsdb", RACE XML) or a
// CSV file; owned by the window thread (or the headless run).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/user_interface.hpp"

namespace trelvik {

inline constexpr size_t kPilotNameLimit = 80;  // characters
inline constexpr size_t kDeviceLimit = 50;     // characters
inline constexpr size_t kDeviceSlots = 4;
inline constexpr int32_t kLargestPilotId = 17999999;  // the largest number an ID waypoint can spell

inline constexpr const char* kDecodingPilotListCaption = "Decoding pilot list file";
inline constexpr const char* kReadPilotListCaption = "Read pilot list file";

struct PilotEntry {
  std::string name;     // UTF-8, at most kPilotNameLimit characters
  int32_t civlId = -1;  // -1 = unknown
  int32_t compId = -1;
  std::array<std::string, kDeviceSlots> devices;  // instrument identities; empty = free slot
  bool operator==(const PilotEntry&) const = default;
};

struct PilotList {
  std::vector<PilotEntry> entries;
  std::string path;  // the file it came from
  bool Loaded() const { return !entries.empty(); }
};

// The list in `bytes`, its kind told by its first tag: "RACE" a RACE list,
// "?xml" an FS list, no tag a CSV list. 0 with at least one pilot; -1 with the
// message (to be shown under kDecodingPilotListCaption) in `error`.
[[nodiscard]] int ParsePilotList(std::string_view bytes, std::vector<PilotEntry>& entries, std::string& error);

// Reads the file at `path` into `list`, which is replaced only by a list read
// completely. 0, or -1 after the failure was shown.
[[nodiscard]] int ReadPilotListFile(UserInterface& ui, const std::string& path, PilotList& list);

// "Save pilot list as .csv": the header line and one line per pilot, CR LF.
// Fields with a comma or a double quote are quoted, so that they read back whole.
[[nodiscard]] std::string PilotListCsvText(const std::vector<PilotEntry>& entries);

// Remembers the instrument `identity` for the pilot named `pilotName`: the
// first free slot takes it unless a slot holds it already (any case). A pilot
// with four instruments keeps them. True when the list changed.
bool RememberPilotDevice(PilotList& list, std::string_view pilotName, std::string_view identity);

// "%s (comp. %d, CIVL %d)", "%s (comp. %d)", "%s (CIVL %d)" or "%s": how
// the pilot dialogs list an entry.
[[nodiscard]] std::string PilotEntryLabel(const PilotEntry& entry);

}  // namespace trelvik
