#pragma once
// Checks the program's own security record of an IGC file: the CRC-32 register
// is recomputed over the signed lines and compared with the G record.
#include <string>
#include <string_view>

#include "base/user_interface.hpp"

namespace trelvik {

enum class IgcVerification { Passed, Failed, NoSecurityRecord };

// Walks the text line by line; it ends at the end of `text` or at its first
// zero byte, whichever comes first.
[[nodiscard]] IgcVerification VerifyIgcText(std::string_view text);

// The command "&Verify IGC log from Trelvik" (Ctrl+V): lets the user choose a
// file (starting in `igcDir`, which becomes the chosen file's folder), verifies
// it and reports the result under "Security check". Never touches the track log.
void VerifyIgcFile(UserInterface& ui, std::string& igcDir);

}  // namespace trelvik
