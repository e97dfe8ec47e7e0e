#pragma once
// Reading OpenAir airspace text into a new airspace list, all or nothing.
#include <functional>
#include <string_view>

#include "airspace/ctr_area.hpp"
#include "base/user_interface.hpp"

namespace trelvik {

inline constexpr std::string_view kParseCtrCaption = "Parsing CTR buffer";
inline constexpr std::string_view kDyNoticeCaption = "CTR error notification";
inline constexpr std::string_view kDyNoticeSkipBox = "&Skip further notifications";

// Shows the DY notice ("CTR at line %d:  DY record (not implemented)") and
// returns true when the user checked kDyNoticeSkipBox, which silences the
// notice for the rest of the text. The window gives a dialog with that box;
// without one each notice is a warning box under kDyNoticeCaption.
using DyNotifier = std::function<bool(std::string_view text)>;

// Parses the whole text. On success `list` becomes the airspaces read (in file
// order) and their number is returned; on the first error the message, with
// its line, is shown under kParseCtrCaption, `list` is left alone and -1 is
// returned.
[[nodiscard]] int ParseOpenAir(UserInterface& ui, std::string_view text, CtrList& list,
                               const DyNotifier& notifyDy = {});

}  // namespace trelvik
