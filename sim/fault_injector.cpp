#include "fault_injector.hpp"

namespace trelvik::sim {
namespace {

// Flipping every bit changes the byte whatever it was, and turns text into
// bytes no text protocol sends.
constexpr unsigned char kCorruptMask = 0xFF;

constexpr unsigned char kGarbage[] = {0xFF, 0x00, 0xA5, 0x5A, 0xFE, 0x80, 0x7F, 0x24, 0x2A, 0x0D, 0xC3, 0x3C};

}  // namespace

std::string FaultInjector::Filter(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    const int64_t line = line_;
    if (c == '\n') ++line_;
    if (plan_.dropLine > 0 && line == plan_.dropLine) continue;
    if (hangUpDue_) break;
    if (plan_.silenceAfter >= 0 && sent_ >= plan_.silenceAfter) continue;
    if (plan_.garbageAfter >= 0 && !garbageDone_ && sent_ >= plan_.garbageAfter) {
      garbageDone_ = true;
      for (int i = 0; i < plan_.garbageCount; ++i) {
        out += static_cast<char>(kGarbage[static_cast<size_t>(i) % sizeof kGarbage]);
      }
    }
    if (plan_.hangupAfter >= 0 && sent_ >= plan_.hangupAfter) {
      hangUpDue_ = true;
      break;
    }
    if (plan_.corruptAfter >= 0 && sent_ == plan_.corruptAfter) {
      c = static_cast<char>(static_cast<unsigned char>(c) ^ kCorruptMask);
    }
    out += c;
    ++sent_;
  }
  if (plan_.hangupAfter >= 0 && sent_ >= plan_.hangupAfter) hangUpDue_ = true;
  return out;
}

}  // namespace trelvik::sim
