#include "records/text_buffer.hpp"

#include <new>
#include <stdexcept>

namespace trelvik {

TextBuffer::TextBuffer(std::size_t initialCapacity, std::size_t limit) : limit_(limit) {
  const std::size_t wanted = initialCapacity > 0 ? initialCapacity : 1;
  if (wanted > limit_) {
    failed_ = true;
    return;
  }
  try {
    text_.reserve(wanted);
    capacity_ = wanted;
  } catch (const std::bad_alloc&) {
    failed_ = true;
  }
}

int TextBuffer::AppendLine(std::string_view line) {
  if (failed_) return -1;
  std::size_t wanted = capacity_;
  bool fits = true;
  while (fits && text_.size() + line.size() + 1 >= wanted) {
    fits = wanted <= limit_ / 2;
    wanted *= 2;
  }
  if (fits) {
    try {
      if (wanted != capacity_) {
        text_.reserve(wanted);
        capacity_ = wanted;
      }
      text_.append(line);
      return 0;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
  }
  // As with a failed realloc: what was built so far is given up.
  std::string().swap(text_);
  capacity_ = 0;
  failed_ = true;
  return -1;
}

}  // namespace trelvik
