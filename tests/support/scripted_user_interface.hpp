#pragma once
// The tests' face: records every message, question and progress line, answers
// questions and file choosers from queues. An empty queue answers Cancel / No /
// no file, so a test never hangs on an unexpected question.
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "base/user_interface.hpp"

namespace trelvik::testing {

struct RecordedBox {
  MessageKind kind;
  std::string text;
  std::string caption;
  bool operator==(const RecordedBox&) const = default;
};

struct RecordedQuestion {
  QuestionKind kind;
  std::string text;
  std::string caption;
  Answer answer;
};

class ScriptedUserInterface : public UserInterface {
 public:
  void ShowMessage(MessageKind kind, std::string_view text, std::string_view caption) override;
  Answer Ask(QuestionKind kind, std::string_view text, std::string_view caption) override;
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
  void SetStatus(std::string_view text) override;
  void SetProduct(std::string_view text) override;

  void QueueAnswer(Answer answer) { answers.push_back(answer); }
  void QueueFile(std::string path) { files.push_back(std::move(path)); }

  // Everything is public so tests can assert on it directly; guarded for job threads.
  std::mutex mutex;
  std::deque<Answer> answers;
  std::deque<std::string> files;
  std::vector<RecordedBox> boxes;
  std::vector<RecordedQuestion> questions;
  std::vector<FileDialogRequest> fileRequests;
  std::vector<std::string> statusLines;
  std::vector<std::string> productLines;
};

}  // namespace trelvik::testing
