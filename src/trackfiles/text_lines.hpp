#pragma once
// Lines of a text file held in memory: each ends at a line feed, and a carriage
// return before it is dropped, so files written with CR LF and with LF alone
// read the same.
#include <cstddef>
#include <string_view>

namespace trelvik {

class TextLines {
 public:
  explicit TextLines(std::string_view text) : text_(text) {}

  // The next line without its end, or false at the end of the text. A last
  // line without a line feed is a line too; the empty rest after a final line
  // feed is not.
  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const std::size_t end = text_.find('\n', pos_);
    const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
    line = text_.substr(pos_, stop - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end == std::string_view::npos ? text_.size() : end + 1;
    ++number_;
    return true;
  }

  // 1-based number of the line Next gave last.
  int Number() const { return number_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  int number_ = 0;
};

// Splits at `separator`; each call gives the next field (the last one runs to
// the end of the text).
class FieldSplitter {
 public:
  FieldSplitter(std::string_view text, char separator) : text_(text), separator_(separator) {}

  bool Next(std::string_view& field) {
    if (done_) return false;
    const std::size_t end = text_.find(separator_, pos_);
    if (end == std::string_view::npos) {
      field = text_.substr(pos_);
      done_ = true;
    } else {
      field = text_.substr(pos_, end - pos_);
      pos_ = end + 1;
    }
    return true;
  }

 private:
  std::string_view text_;
  char separator_;
  std::size_t pos_ = 0;
  bool done_ = false;
};

}  // namespace trelvik
