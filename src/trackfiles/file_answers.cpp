#include "trackfiles/file_answers.hpp"

namespace trelvik {

std::optional<int> FileAnswerReplay::Next(FileQuestion question) {
  if (next_ < context_.answers.size()) return context_.answers[next_++];
  if (!open_) open_ = std::move(question);
  return std::nullopt;
}

FileTrackChooser FileAnswerReplay::TrackChooser() {
  if (!context_.canAsk) return {};
  return [this](const TrackListRequest& request) {
    FileQuestion question;
    question.kind = FileQuestionKind::TrackList;
    question.trackList = request;
    return Next(std::move(question)).value_or(kTrackListCancelled);
  };
}

ModifyIdQuestion FileAnswerReplay::ModifyId() {
  if (!context_.canAsk) return {};
  return [this](const std::string& name) {
    FileQuestion question;
    question.kind = FileQuestionKind::ModifyId;
    question.waypointName = name;
    const std::optional<int> answer = Next(std::move(question));
    return answer ? static_cast<ModifyIdAnswer>(*answer) : ModifyIdAnswer::Cancel;
  };
}

}  // namespace trelvik
