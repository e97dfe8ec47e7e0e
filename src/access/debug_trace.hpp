#pragma once
// The raw instrument traffic of the latest job, kept in memory so that a user
// can save a failed transfer and send it in. One fixed 100,000-byte buffer that
// is never wrapped: once full, later traffic is dropped and the earliest kept.
// Job threads write it while the window thread saves or clears it, so every
// operation takes the buffer's lock.
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

namespace trelvik {

inline constexpr int kTraceSize = 100000;

class DebugTrace {
 public:
  DebugTrace();

  void ClearTrace();
  // Each append returns the fill count after it.
  int TraceByte(uint8_t c);
  int TraceBytes(std::span<const uint8_t> bytes);
  int TraceText(std::string_view text);
  // " XX" per byte, CR LF after every 16th and one closing CR LF after a short last line.
  int TraceHexBytes(const void* data, int n);
  // Eight upper-case hex digits, most significant first, no separator.
  int TraceHex32(uint32_t value);

  int Count() const;
  // A copy of the filled part, taken under the lock.
  std::string Contents() const;

 private:
  void Put(char c) { buffer_[count_++] = c; }
  void PutHex(uint8_t byte);

  mutable std::mutex mutex_;
  std::unique_ptr<char[]> buffer_;
  int count_ = 0;
};

}  // namespace trelvik
