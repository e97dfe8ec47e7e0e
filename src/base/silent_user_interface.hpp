#pragma once
// A face that shows nothing and takes the negative answer to every question
// (No, or Cancel where there is no No) and to every file chooser: for work
// whose own messages would only repeat what its caller reports.
#include "base/user_interface.hpp"

namespace trelvik {

class SilentUserInterface : public UserInterface {
 public:
  void ShowMessage(MessageKind, std::string_view, std::string_view) override {}
  Answer Ask(QuestionKind kind, std::string_view, std::string_view) override {
    return kind == QuestionKind::YesNo ? Answer::No : Answer::Cancel;
  }
  std::optional<std::string> ChooseFile(const FileDialogRequest&) override { return std::nullopt; }
  void SetStatus(std::string_view) override {}
  void SetProduct(std::string_view) override {}
};

}  // namespace trelvik
