#pragma once
// A user interface that answers every question negatively and shows nothing,
// so the fuzz targets run the readers' error paths without output.
#include "base/user_interface.hpp"

namespace trelvik::fuzzing {

class QuietUserInterface : public UserInterface {
 public:
  void ShowMessage(MessageKind, std::string_view, std::string_view) override {}
  Answer Ask(QuestionKind, std::string_view, std::string_view) override { return Answer::Cancel; }
  std::optional<std::string> ChooseFile(const FileDialogRequest&) override { return std::nullopt; }
  void SetStatus(std::string_view) override {}
  void SetProduct(std::string_view) override {}
};

}  // namespace trelvik::fuzzing
