#include "base/headless_user_interface.hpp"

#include <cctype>
#include <string>
#include <unistd.h>

namespace trelvik {

std::string OneLine(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      line += " / ";
    } else {
      line += c;
    }
  }
  return line;
}

HeadlessUserInterface::HeadlessUserInterface(FILE* out, FILE* err, FILE* in, bool interactive)
    : out_(out), err_(err), in_(in), interactive_(interactive) {}

HeadlessUserInterface& HeadlessUserInterface::Console() {
  static HeadlessUserInterface console(stdout, stderr, stdin, ::isatty(STDIN_FILENO) == 1);
  return console;
}

void HeadlessUserInterface::WriteLine(FILE* stream, std::string_view prefix, std::string_view text) {
  std::lock_guard lock(mutex_);
  const std::string line = std::string(prefix) + OneLine(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stream);
  std::fflush(stream);
}

void HeadlessUserInterface::ShowMessage(MessageKind, std::string_view text, std::string_view caption) {
  WriteLine(err_, std::string(caption) + ": ", text);
}

namespace {

const char* ChoicesFor(QuestionKind kind) {
  switch (kind) {
    case QuestionKind::OkCancel: return "[o]k/[c]ancel";
    case QuestionKind::YesNo: return "[y]es/[n]o";
    case QuestionKind::YesNoCancel: return "[y]es/[n]o/[c]ancel";
  }
  return "";
}

Answer NegativeAnswer(QuestionKind kind) { return kind == QuestionKind::YesNo ? Answer::No : Answer::Cancel; }

const char* AnswerName(Answer answer) {
  switch (answer) {
    case Answer::Ok: return "Ok";
    case Answer::Cancel: return "Cancel";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
  }
  return "";
}

std::optional<Answer> AnswerFromLetter(QuestionKind kind, char letter) {
  letter = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  if (kind == QuestionKind::OkCancel) {
    if (letter == 'o') return Answer::Ok;
    if (letter == 'c') return Answer::Cancel;
  } else {
    if (letter == 'y') return Answer::Yes;
    if (letter == 'n') return Answer::No;
    if (letter == 'c' && kind == QuestionKind::YesNoCancel) return Answer::Cancel;
  }
  return std::nullopt;
}

}  // namespace

Answer HeadlessUserInterface::Ask(QuestionKind kind, std::string_view text, std::string_view caption) {
  const std::string question = std::string(caption) + ": " + OneLine(text);
  if (!interactive_) {
    const Answer answer = NegativeAnswer(kind);
    WriteLine(err_, "", question + " -> " + AnswerName(answer));
    return answer;
  }
  std::lock_guard lock(mutex_);
  for (;;) {
    std::fprintf(err_, "%s %s ", question.c_str(), ChoicesFor(kind));
    std::fflush(err_);
    char line[64];
    if (!std::fgets(line, sizeof line, in_)) return NegativeAnswer(kind);  // end of input
    size_t i = 0;
    while (line[i] == ' ') ++i;
    if (std::optional<Answer> answer = AnswerFromLetter(kind, line[i])) return *answer;
  }
}

std::optional<std::string> HeadlessUserInterface::ChooseFile(const FileDialogRequest& request) {
  if (!interactive_) {
    WriteLine(err_, "", request.title + ": no file chosen without a terminal -> Cancel");
    return std::nullopt;
  }
  std::lock_guard lock(mutex_);
  std::fprintf(err_, "%s (%s, *%s) file name%s%s%s: ", request.title.c_str(), request.typeName.c_str(),
               request.extension.c_str(), request.fileName.empty() ? "" : " [", request.fileName.c_str(),
               request.fileName.empty() ? "" : "]");
  std::fflush(err_);
  char line[1024];
  if (!std::fgets(line, sizeof line, in_)) return std::nullopt;
  std::string name(line);
  while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
  if (name.empty()) name = request.fileName;  // Enter takes the proposed name
  if (name.empty()) return std::nullopt;
  if (name[0] != '/' && !request.folder.empty()) name = request.folder + "/" + name;
  return name;
}

void HeadlessUserInterface::SetStatus(std::string_view text) { WriteLine(out_, "Status: ", text); }
void HeadlessUserInterface::SetProduct(std::string_view text) { WriteLine(out_, "Product: ", text); }

}  // namespace trelvik
