// Arbitrary bytes typed at the console's "Track List" question: every answer
// must name lines of the list (one at most without multiple selection), and
// the end of the input must end the question.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "access/track_list.hpp"

namespace {

using namespace trelvik;

void Check(bool condition) {
  if (!condition) std::abort();
}

TrackListQuestion Question(bool multipleSelection, bool allButton) {
  TrackListQuestion question;
  question.title = "Track List";
  question.note = "Nr  Date      Start     Duration";
  for (int i = 0; i < 5; ++i) question.lines.push_back("flight");
  // Not 1..n: the flights keep their instrument numbers, with gaps.
  question.lineNumbers = {1, 2, 7, 12, 99};
  question.multipleSelection = multipleSelection;
  question.allButton = allButton;
  question.preselected = 3;
  return question;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FILE* const sink = std::fopen("/dev/null", "w");
  if (sink == nullptr) std::abort();
  for (const bool multipleSelection : {true, false}) {
    const TrackListQuestion question = Question(multipleSelection, !multipleSelection);
    FILE* const typed = size > 0 ? fmemopen(const_cast<uint8_t*>(data), size, "r") : std::fopen("/dev/null", "r");
    Check(typed != nullptr);
    ConsoleTrackListChooser chooser(sink, sink, typed, true);
    const std::optional<std::vector<int>> chosen = chooser.ChooseTracks(question);
    std::fclose(typed);
    if (!chosen) continue;
    Check(!chosen->empty() && (multipleSelection || chosen->size() == 1 || chosen->size() == question.lines.size()));
    for (const int line : *chosen) Check(line >= 0 && static_cast<size_t>(line) < question.lines.size());
  }
  return 0;
}
