#pragma once
// What a file reader hands back instead of showing anything itself: the
// records, or the error with its caption, or the question it needs answered
// before it can go on. The caller decides what the user sees, so the same
// reader serves the window, the batch run and a network session.
#include <cstdint>
#include <string>
#include <vector>

#include "trackfiles/xml_choices.hpp"

namespace trelvik {

// A message box's text and caption. `line` is the 1-based line of the file the
// message is about, 0 when it names none (the text already says it when the
// format's messages name lines).
struct FileMessage {
  int32_t line = 0;
  std::string text;
  std::string caption;
};

enum class FileNoticeKind { Information, Warning };

// A message the reader has for the user although the reading goes on.
struct FileNotice {
  FileNoticeKind kind = FileNoticeKind::Information;
  std::string text;
  std::string caption;
};

enum class FileQuestionKind { TrackList, ModifyId };

struct FileQuestion {
  FileQuestionKind kind = FileQuestionKind::TrackList;
  TrackListRequest trackList;  // TrackList: the "Track List" dialog
  std::string waypointName;    // ModifyId: the name the question shows
};

// The answers to a reader's questions so far, in the order it asked them: a
// track list line (0-based, or kTrackListCancelled / kTrackListNoSelection),
// or a ModifyIdAnswer.
using FileAnswers = std::vector<int>;

inline int AnswerOf(ModifyIdAnswer answer) { return static_cast<int>(answer); }

// The answer of a caller that cannot ask: Cancel.
inline int NegativeAnswer(const FileQuestion& question) {
  return question.kind == FileQuestionKind::TrackList ? kTrackListCancelled : AnswerOf(ModifyIdAnswer::Cancel);
}

enum class FileReadStatus {
  Read,         // `records` hold what the file gave
  Failed,       // `error` says why; nothing was read
  NeedsAnswer,  // ask `question`, append the answer and read again
  Cancelled,    // the user cancelled a question; nothing to say
};

template <typename Records>
struct FileReadOutcome {
  FileReadStatus status = FileReadStatus::Read;
  Records records;
  FileMessage error;
  FileQuestion question;
  std::vector<FileNotice> notices;  // in the order they arose, whatever the status

  bool Ok() const { return status == FileReadStatus::Read; }

  static FileReadOutcome Failure(std::string text, std::string caption, int32_t line = 0) {
    FileReadOutcome outcome;
    outcome.status = FileReadStatus::Failed;
    outcome.error = FileMessage{line, std::move(text), std::move(caption)};
    return outcome;
  }
  static FileReadOutcome Cancel() {
    FileReadOutcome outcome;
    outcome.status = FileReadStatus::Cancelled;
    return outcome;
  }
};

}  // namespace trelvik
