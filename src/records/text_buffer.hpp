#pragma once
// The growing text in which the text-file writers build a whole file before
// writing it in one piece.
#include <cstddef>
#include <string>
#include <string_view>

namespace trelvik {

// What every writer reports, under its own caption, when AppendLine fails.
inline constexpr char kMemoryAllocationError[] = "Memory allocation error";

inline constexpr std::size_t kCsvTextBufferStart = 20000;
inline constexpr std::size_t kIgcTextBufferStart = 10000;

class TextBuffer {
 public:
  // `limit` caps the capacity: growing past it fails like an exhausted heap.
  explicit TextBuffer(std::size_t initialCapacity, std::size_t limit = std::string().max_size());

  // Appends the text as it is (the caller writes its own CR LF). When length +
  // text + 1 would reach the capacity, the capacity doubles. On allocation
  // failure the text is freed, the buffer stays failed and -1 comes back.
  [[nodiscard]] int AppendLine(std::string_view line);

  bool Failed() const { return failed_; }
  std::size_t Length() const { return text_.size(); }
  std::size_t Capacity() const { return capacity_; }
  const std::string& Text() const { return text_; }
  // Hands the text over (for the one write at the end).
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
  std::size_t capacity_ = 0;
  std::size_t limit_;
  bool failed_ = false;
};

}  // namespace trelvik
