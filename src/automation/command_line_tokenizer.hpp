#pragma once
// Splits an option line into /KEY and /KEY=value options, one at a time, so
// that each option is acted on before the rest of the line is looked at.
// Positions count characters (UTF-8 sequences) from 1; the end of the line is
// one position past its last character.
#include <cstdint>
#include <string>
#include <string_view>

namespace trelvik {

struct CommandLineToken {
  enum class Kind { Option, End, Stray };
  Kind kind = Kind::End;
  std::string key;       // upper-cased (a-z only), at most kKeyLimit characters
  std::string value;     // at most kValueLimit characters, quotes removed
  int32_t position = 0;  // of the "/" for an option, of the character for a stray one
};

class CommandLineTokenizer {
 public:
  explicit CommandLineTokenizer(std::string_view line) : line_(line) {}

  // The next complete option, the end of the line, or the first character
  // that stands outside any option (after which only End follows).
  CommandLineToken Next();

 private:
  enum class State { Between, Key, Value, QuotedValue, Done };

  std::string_view line_;
  size_t offset_ = 0;
  int32_t position_ = 0;
  State state_ = State::Between;
};

}  // namespace trelvik
