#pragma once
// The three pilot-list readers behind ParsePilotList. Each returns 0 and the
// entries (possibly none), or -1 with the message in `error`; `%d` of the
// pilot messages is the 1-based pilot number.
#include <string>
#include <string_view>
#include <vector>

#include "competition/pilot_list.hpp"

namespace trelvik {

// FS (".fsdb"): Fs, optionally FsCompetition, FsParticipants, FsParticipant.
// `text` is a writable, zero-terminated copy of the file (the XML tokenizer
// writes into it).
[[nodiscard]] int ReadFsPilotList(char* text, std::vector<PilotEntry>& entries, std::string& error);

// RACE: tblPilot elements under the root RACE.
[[nodiscard]] int ReadRacePilotList(char* text, std::vector<PilotEntry>& entries, std::string& error);

// CSV: name, CompId, CivlId, Device1..Device4; an optional header line.
[[nodiscard]] int ReadCsvPilotList(std::string_view text, std::vector<PilotEntry>& entries, std::string& error);

inline constexpr int kPilotIdTaken = 0;
inline constexpr int kPilotIdNone = 1;  // absent, empty or "None": `id` is -1
inline constexpr int kPilotIdBad = -1;  // not a number, or negative

// An identifier attribute of an XML list.
[[nodiscard]] int XmlPilotId(const char* attributes, const char* name, int32_t& id);

}  // namespace trelvik
