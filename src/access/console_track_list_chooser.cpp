#include <cctype>
#include <cstdlib>
#include <string>

#include "access/track_list.hpp"

namespace trelvik {
namespace {

// Numbers typed on one line; "a" takes every line, "c" or end of input cancels.
enum class Typed { Numbers, All, Cancel, Default };

Typed ReadChoice(FILE* in, std::vector<int>& numbers) {
  char buffer[512];
  if (!std::fgets(buffer, sizeof buffer, in)) return Typed::Cancel;
  const std::string line(buffer);
  size_t i = line.find_first_not_of(" \t\r\n");
  if (i == std::string::npos) return Typed::Default;
  const char first = static_cast<char>(std::tolower(static_cast<unsigned char>(line[i])));
  if (first == 'a') return Typed::All;
  if (first == 'c') return Typed::Cancel;
  while (i < line.size()) {
    if (std::isdigit(static_cast<unsigned char>(line[i]))) {
      size_t end = i;
      while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end]))) ++end;
      if (end - i <= 3) numbers.push_back(std::atoi(line.substr(i, end - i).c_str()));
      i = end;
    } else {
      ++i;
    }
  }
  return Typed::Numbers;
}

}  // namespace

ConsoleTrackListChooser::ConsoleTrackListChooser(FILE* out, FILE* err, FILE* in, bool interactive)
    : out_(out), err_(err), in_(in), interactive_(interactive) {}

std::optional<std::vector<int>> ConsoleTrackListChooser::ChooseTracks(const TrackListQuestion& question) {
  if (question.lines.empty()) return std::nullopt;
  const int preselected = question.preselected >= 0 && static_cast<size_t>(question.preselected) <
                                  question.lines.size() ? question.preselected : 0;
  if (!interactive_) {
    std::fputs("Track List: 1 taken\n", err_);
    std::fflush(err_);
    return std::vector<int>{preselected};
  }
  std::fprintf(out_, "%s\n%s\n", question.title.c_str(), question.note.c_str());
  for (const std::string& line : question.lines) std::fprintf(out_, "  %s\n", line.c_str());
  for (;;) {
    std::fprintf(err_, "Track numbers (blank: %d%s, c: cancel): ", question.lineNumbers.empty() ? preselected + 1
                 : question.lineNumbers[static_cast<size_t>(preselected)], question.allButton ? ", a: all" : "");
    std::fflush(err_);
    std::vector<int> numbers;
    switch (ReadChoice(in_, numbers)) {
      case Typed::Cancel: return std::nullopt;
      case Typed::Default: return std::vector<int>{preselected};
      case Typed::All: {
        if (!question.allButton) continue;
        std::vector<int> all(question.lines.size());
        for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
        return all;
      }
      case Typed::Numbers: break;
    }
    std::vector<int> chosen;
    for (int number : numbers) {
      for (size_t line = 0; line < question.lineNumbers.size(); ++line) {
        if (question.lineNumbers[line] == number) chosen.push_back(static_cast<int>(line));
      }
    }
    if (!question.multipleSelection && chosen.size() > 1) chosen.resize(1);
    if (!chosen.empty()) return chosen;
  }
}

}  // namespace trelvik
