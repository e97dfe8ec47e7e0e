#pragma once
// The "Read CTR(s) from file" command: an OpenAir file into the airspace list.
#include <optional>
#include <string>
#include <string_view>

#include "airspace/airspace_list.hpp"
#include "airspace/openair_parser.hpp"
#include "base/user_interface.hpp"

namespace trelvik {

inline constexpr std::string_view kReadCtrCaption = "Read CTR file";

// Reads a whole OpenAir file, asking for it ("Read CTR", starting in and
// remembering `folder`) when `fileName` is empty. With airspaces already in
// the list the user chooses to keep them behind the new ones or to drop them;
// equal names are then offered a fix. Returns the number of airspaces read,
// 0 when the file held none (the list is unchanged), -1 after an error shown.
[[nodiscard]] int ReadCtrFile(UserInterface& ui, AirspaceList& store, std::string& folder,
                              const std::optional<std::string>& fileName, bool jobRunning,
                              const DyNotifier& notifyDy = {});

// The bytes of an OpenAir file named on the command line or chosen: false after
// the open, size or read error, or "File is empty", was shown.
[[nodiscard]] bool ReadCtrFileBytes(UserInterface& ui, const std::string& path, std::string& bytes);

}  // namespace trelvik
