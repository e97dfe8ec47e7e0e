#include "access/debug_trace.hpp"

namespace trelvik {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Limits of the hex dump: each test comes before the write it guards, so no
// write passes the end of the buffer.
constexpr int kLastHexByteStart = 99996;
constexpr int kLastLineEndStart = 99994;
constexpr int kLastClosingEndStart = 99997;
constexpr int kLastHex32Start = 99991;

}  // namespace

DebugTrace::DebugTrace() : buffer_(new char[kTraceSize]) {}

void DebugTrace::ClearTrace() {
  std::lock_guard lock(mutex_);
  count_ = 0;
}

int DebugTrace::TraceByte(uint8_t c) {
  std::lock_guard lock(mutex_);
  if (count_ < kTraceSize) Put(static_cast<char>(c));
  return count_;
}

int DebugTrace::TraceBytes(std::span<const uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  for (uint8_t c : bytes) {
    if (count_ >= kTraceSize) break;
    Put(static_cast<char>(c));
  }
  return count_;
}

int DebugTrace::TraceText(std::string_view text) {
  std::lock_guard lock(mutex_);
  for (char c : text) {
    if (count_ >= kTraceSize) break;
    Put(c);
  }
  return count_;
}

void DebugTrace::PutHex(uint8_t byte) {
  Put(kHexDigits[byte >> 4]);
  Put(kHexDigits[byte & 0x0F]);
}

int DebugTrace::TraceHexBytes(const void* data, int n) {
  std::lock_guard lock(mutex_);
  if (n <= 0 || data == nullptr) return count_;
  const auto* bytes = static_cast<const uint8_t*>(data);
  for (int i = 0; i < n; ++i) {
    if (count_ > kLastHexByteStart) break;
    Put(' ');
    PutHex(bytes[i]);
    if ((i + 1) % 16 == 0 && count_ <= kLastLineEndStart) {
      Put('\r');
      Put('\n');
    }
  }
  if (n % 16 != 0 && count_ <= kLastClosingEndStart) {
    Put('\r');
    Put('\n');
  }
  return count_;
}

int DebugTrace::TraceHex32(uint32_t value) {
  std::lock_guard lock(mutex_);
  if (count_ > kLastHex32Start) return count_;
  for (int shift = 28; shift >= 0; shift -= 4) Put(kHexDigits[(value >> shift) & 0x0F]);
  return count_;
}

int DebugTrace::Count() const {
  std::lock_guard lock(mutex_);
  return count_;
}

std::string DebugTrace::Contents() const {
  std::lock_guard lock(mutex_);
  return std::string(buffer_.get(), static_cast<size_t>(count_));
}

}  // namespace trelvik
