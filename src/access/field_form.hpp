#pragma once
// A form of text fields that a job shows in the middle of its work (the DSX
// pilot data): the window shows it as a dialog; without anyone to ask, the
// job takes Cancel, so nothing waits for an answer that cannot come.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace trelvik {

struct FieldFormQuestion {
  std::string title;
  std::string note;                              // fixed text below the fields
  std::vector<std::string> modeNames;            // buttons that relabel the fields; may be empty
  int mode = 0;                                  // the button chosen when the form opens
  std::vector<std::vector<std::string>> labels;  // per mode, one per field
  std::vector<std::string> values;               // as the form opens
  std::vector<size_t> limits;                    // characters each field takes
};

struct FieldFormAnswer {
  std::vector<std::string> values;
  int mode = 0;
};

class FieldFormAsker {
 public:
  virtual ~FieldFormAsker() = default;
  // The fields as the user left them on OK; nothing on Cancel or close.
  virtual std::optional<FieldFormAnswer> AskFields(const FieldFormQuestion& question) = 0;
};

}  // namespace trelvik
