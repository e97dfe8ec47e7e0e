#include "support/scripted_user_interface.hpp"

namespace trelvik::testing {

void ScriptedUserInterface::ShowMessage(MessageKind kind, std::string_view text, std::string_view caption) {
  std::lock_guard lock(mutex);
  boxes.push_back({kind, std::string(text), std::string(caption)});
}

Answer ScriptedUserInterface::Ask(QuestionKind kind, std::string_view text, std::string_view caption) {
  std::lock_guard lock(mutex);
  Answer answer = kind == QuestionKind::YesNo ? Answer::No : Answer::Cancel;
  if (!answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  }
  questions.push_back({kind, std::string(text), std::string(caption), answer});
  return answer;
}

std::optional<std::string> ScriptedUserInterface::ChooseFile(const FileDialogRequest& request) {
  std::lock_guard lock(mutex);
  fileRequests.push_back(request);
  if (files.empty()) return std::nullopt;
  std::string path = files.front();
  files.pop_front();
  return path;
}

void ScriptedUserInterface::SetStatus(std::string_view text) {
  std::lock_guard lock(mutex);
  statusLines.emplace_back(text);
}

void ScriptedUserInterface::SetProduct(std::string_view text) {
  std::lock_guard lock(mutex);
  productLines.emplace_back(text);
}

}  // namespace trelvik::testing
