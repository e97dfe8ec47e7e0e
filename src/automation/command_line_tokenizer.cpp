#include "automation/command_line_tokenizer.hpp"

#include "automation/command_line_job.hpp"
#include "settings/utf8_text.hpp"

namespace trelvik {
namespace {

void AppendLimited(std::string& text, size_t& count, std::string_view character, size_t limit) {
  if (count >= limit) return;
  text += character;
  ++count;
}

}  // namespace

CommandLineToken CommandLineTokenizer::Next() {
  CommandLineToken token;
  size_t count = 0;  // characters in the key or value being built
  bool valueStarted = false;
  while (state_ != State::Done) {
    // The end of the line acts as one more character, as a terminator would.
    const bool atEnd = offset_ >= line_.size();
    const size_t length = atEnd ? 0 : Utf8CharacterLength(line_, offset_);
    const std::string_view character = line_.substr(offset_, length);
    const char c = atEnd ? '\0' : line_[offset_];
    offset_ += length;
    ++position_;

    switch (state_) {
      case State::Between:
        if (atEnd) {
          state_ = State::Done;
          break;
        }
        if (c == ' ') break;
        if (c == '/') {
          token = {CommandLineToken::Kind::Option, {}, {}, position_};
          count = 0;
          valueStarted = false;
          state_ = State::Key;
          break;
        }
        state_ = State::Done;
        return {CommandLineToken::Kind::Stray, {}, {}, position_};
      case State::Key:
        if (atEnd || c == ' ') {
          state_ = atEnd ? State::Done : State::Between;
          return token;
        }
        if (c == '=') {
          count = 0;
          state_ = State::Value;
          break;
        }
        AppendLimited(token.key, count,
                      c >= 'a' && c <= 'z' ? std::string(1, static_cast<char>(c - 'a' + 'A')) : std::string(character),
                      kKeyLimit);
        break;
      case State::Value:
        if (atEnd || c == ' ') {
          state_ = atEnd ? State::Done : State::Between;
          return token;
        }
        if (c == '"' && !valueStarted) {
          state_ = State::QuotedValue;
          break;
        }
        valueStarted = true;
        AppendLimited(token.value, count, character, kValueLimit);
        break;
      case State::QuotedValue:
        if (atEnd || c == '"') {
          state_ = atEnd ? State::Done : State::Between;
          return token;
        }
        AppendLimited(token.value, count, character, kValueLimit);
        break;
      case State::Done:
        break;
    }
  }
  return {CommandLineToken::Kind::End, {}, {}, position_};
}

}  // namespace trelvik
