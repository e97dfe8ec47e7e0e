#pragma once
// The face of a run without a window: messages go to standard error as
// "caption: text", progress to standard output as "Status: text" and
// "Product: text"; questions are asked on the terminal when there is one and
// otherwise take the negative answer, so nothing ever waits for input that
// cannot come.
#include <cstdio>
#include <mutex>

#include "base/user_interface.hpp"

namespace trelvik {

class HeadlessUserInterface : public UserInterface {
 public:
  // `in` is read for answers only when `interactive` is true.
  HeadlessUserInterface(FILE* out, FILE* err, FILE* in, bool interactive);
  // Standard streams; interactive when standard input is a terminal.
  static HeadlessUserInterface& Console();

  void ShowMessage(MessageKind kind, std::string_view text, std::string_view caption) override;
  Answer Ask(QuestionKind kind, std::string_view text, std::string_view caption) override;
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
  void SetStatus(std::string_view text) override;
  void SetProduct(std::string_view text) override;

  bool Interactive() const { return interactive_; }
  FILE* Out() const { return out_; }
  FILE* Err() const { return err_; }
  FILE* In() const { return in_; }

 private:
  void WriteLine(FILE* stream, std::string_view prefix, std::string_view text);

  FILE* out_;
  FILE* err_;
  FILE* in_;
  bool interactive_;
  std::mutex mutex_;  // job threads and the main thread report at once
};

// A message's text on one line: line breaks become " / ".
std::string OneLine(std::string_view text);

}  // namespace trelvik
