#pragma once
// Lets a reader that asks through callbacks be a pure function of the file
// and the answers given so far: the answers are handed out in order, and the
// first question beyond them is kept (the reader sees a cancel and stops), so
// that the caller can ask it and read again with one more answer.
#include <cstddef>
#include <functional>
#include <optional>

#include "records/track_time.hpp"
#include "trackfiles/file_read_outcome.hpp"

namespace trelvik {

struct FileReadContext {
  TrackTime now = 0;     // the time of records the file gives none
  FileAnswers answers;   // the answers to the questions asked so far
  bool canAsk = true;    // false: the reader follows its rule for a run without questions
  int32_t utcOffsetForTn = 0;  // seconds that TopNavigator logs are ahead of UTC (UtcOffsetForTN)
};

class FileAnswerReplay {
 public:
  explicit FileAnswerReplay(const FileReadContext& context) : context_(context) {}
  FileAnswerReplay(const FileAnswerReplay&) = delete;
  FileAnswerReplay& operator=(const FileAnswerReplay&) = delete;

  // Empty when the caller cannot ask.
  FileTrackChooser TrackChooser();
  ModifyIdQuestion ModifyId();

  // The reader's outcome, or NeedsAnswer with the question that ended it.
  template <typename Records>
  FileReadOutcome<Records> Finish(FileReadOutcome<Records> outcome) const {
    if (open_) {
      outcome.status = FileReadStatus::NeedsAnswer;
      outcome.question = *open_;
      outcome.error = {};
      outcome.records = {};
    }
    return outcome;
  }

 private:
  std::optional<int> Next(FileQuestion question);

  const FileReadContext& context_;
  size_t next_ = 0;
  std::optional<FileQuestion> open_;
};

using FileQuestionAsker = std::function<int(const FileQuestion&)>;
using FileNoticeSink = std::function<void(const FileNotice&)>;

// Reads, asking each question through `ask` (none: the negative answer) and
// reading again with its answer, until the reader needs none. Each notice goes to `notify` once, in order,
// before the question that follows it is asked.
template <typename Records, typename Read>
FileReadOutcome<Records> ReadAnswering(const Read& read, FileReadContext context, const FileQuestionAsker& ask,
                                       const FileNoticeSink& notify) {
  size_t shown = 0;
  for (;;) {
    FileReadOutcome<Records> outcome = read(context);
    for (; shown < outcome.notices.size(); ++shown) {
      if (notify) notify(outcome.notices[shown]);
    }
    if (outcome.status != FileReadStatus::NeedsAnswer) return outcome;
    context.answers.push_back(ask ? ask(outcome.question) : NegativeAnswer(outcome.question));
  }
}

}  // namespace trelvik
