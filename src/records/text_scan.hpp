#pragma once
// A forward cursor over instrument and user text, shared by every text parser so
// that "blank", "digit" and the fraction weights mean the same thing everywhere.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace trelvik {

constexpr bool IsBlank(char c) { return c == ' '; }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool IsLowerLetter(char c) { return c >= 'a' && c <= 'z'; }
constexpr bool IsLetter(char c) { return IsUpperLetter(c) || IsLowerLetter(c); }
constexpr char ToUpper(char c) { return IsLowerLetter(c) ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr bool IsDecimalPoint(char c) { return c == '.' || c == ','; }

class TextScanner {
 public:
  explicit constexpr TextScanner(std::string_view text) : text_(text) {}

  constexpr bool AtEnd() const { return pos_ >= text_.size(); }
  // The current character, or '\0' at the end (a NUL inside the text is just a bad character).
  constexpr char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  constexpr std::size_t Position() const { return pos_; }
  constexpr void Advance() { ++pos_; }

  // Returns the number of blanks skipped.
  constexpr std::size_t SkipBlanks() {
    const std::size_t start = pos_;
    while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
    return pos_ - start;
  }
  constexpr bool Accept(char c) {
    if (AtEnd() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  constexpr bool AcceptDecimalPoint() {
    if (AtEnd() || !IsDecimalPoint(text_[pos_])) return false;
    ++pos_;
    return true;
  }
  // True when only blanks are left; the blanks are consumed.
  constexpr bool OnlyBlanksLeft() {
    SkipBlanks();
    return AtEnd();
  }

  // Reads decimal digits into `value`, refusing any digit that would take the
  // value above `limit` (then the cursor stays on that digit and false is
  // returned). `digits` receives the count read.
  constexpr bool ReadDigits(int64_t limit, int64_t& value, int& digits) {
    value = 0;
    digits = 0;
    while (!AtEnd() && IsDigit(text_[pos_])) {
      const int64_t next = value * 10 + (text_[pos_] - '0');
      if (next > limit) return false;
      value = next;
      ++digits;
      ++pos_;
    }
    return true;
  }

  // Fraction digits after a decimal point, weighted 0.1, 0.01, ... as every
  // parser of the system does (each weight the previous times 0.1).
  constexpr double ReadFraction(int* digits = nullptr) {
    double fraction = 0;
    double weight = 0.1;
    int count = 0;
    while (!AtEnd() && IsDigit(text_[pos_])) {
      fraction += (text_[pos_] - '0') * weight;
      weight *= 0.1;
      ++count;
      ++pos_;
    }
    if (digits) *digits = count;
    return fraction;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace trelvik
