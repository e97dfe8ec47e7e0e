#pragma once
// OpenAir text of airspaces: the "Write CTR(s) to file" command and the text
// the airspace editor shows.
#include <string>
#include <string_view>
#include <vector>

#include "airspace/ctr_area.hpp"
#include "base/user_interface.hpp"

namespace trelvik {

inline constexpr std::string_view kMakeCtrBufferCaption = "Make CTR file buffer";
inline constexpr std::string_view kWriteCtrFileCaption = "Write CTR file";

// The selected airspaces in list order, a blank line between two. Returns the
// length of `text`, or -1 when no memory was left (reported).
[[nodiscard]] int FormatCtrOpenAir(UserInterface& ui, const CtrList& list, std::string& text);

// One airspace as the editor shows it: commented AN, AL and AH lines and a
// reminder of the records and position forms, then the outline.
[[nodiscard]] int FormatCtrOpenAirForEdit(UserInterface& ui, const CtrArea& area, std::string& text);

// "DD:MM:SS.s H" of a coordinate in degrees; longitude when `isLongitude`.
std::string OpenAirCoordinate(double degrees, bool isLongitude);

// The command: marks the selection from `selectedRows`, formats it, asks for
// the file ("Save CTR(s)", ".txt", starting in and remembering `folder`) and
// writes it. True when written.
bool WriteCtrFile(UserInterface& ui, CtrList& list, const std::vector<int>& selectedRows, std::string& folder);

}  // namespace trelvik
