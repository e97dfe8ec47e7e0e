#pragma once
// Creating the file a batch run writes: the OVERWRITE rule, the question
// about an existing file (never asked while the window is hidden), and
// creating a file only when none is there yet.
#include <string>
#include <string_view>

#include "base/user_interface.hpp"

namespace trelvik {

enum class OutputFileDecision {
  Write,   // the file may be created or replaced
  Skip,    // it exists and stays as it is: nothing is written, the run goes on
  Failed,  // "Error opening file" has been shown
};

struct OutputFileRules {
  bool overwrite = false;     // OVERWRITE
  bool hiddenWindow = false;  // no window to ask in: an existing file is left alone
};

// Decides before anything is written, so that a file that is left alone costs
// no work. The folder must exist and take new files.
[[nodiscard]] OutputFileDecision DecideOutputFile(UserInterface& ui, const std::string& path,
                                                  const OutputFileRules& rules);

enum class NewFileOutcome { Created, Exists, Failed };

struct NewFileResult {
  NewFileOutcome outcome = NewFileOutcome::Failed;
  int errorNumber = 0;    // errno when Failed
  std::string operation;  // "create" when the file could not be made, else "write", "sync"
};

// Writes `bytes` as `path` only when no file of that name exists, deciding
// that in one step so that two writers never take the same name. The bytes
// are complete on disk before the name appears; nothing is left behind on
// failure.
[[nodiscard]] NewFileResult CreateNewFile(const std::string& path, std::string_view bytes);

}  // namespace trelvik
