#include "support/fault_sweep.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

namespace trelvik::testing {
namespace {

bool Accepted(const RecordedMessage& message, const std::vector<ShownMessage>& accepted) {
  return std::any_of(accepted.begin(), accepted.end(), [&](const ShownMessage& known) {
    return known.text == message.text && known.caption == message.caption;
  });
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

// Every line of `part` appears in `whole`, in the same order.
bool LinesWithin(std::string_view part, std::string_view whole) {
  const std::vector<std::string_view> wholeLines = Lines(whole);
  auto next = wholeLines.begin();
  for (std::string_view line : Lines(part)) {
    next = std::find(next, wholeLines.end(), line);
    if (next == wholeLines.end()) return false;
    ++next;
  }
  return true;
}

bool Delivered(const SweepRun& run) { return run.result >= 0 || !run.observed.empty(); }

// The rules every run keeps, clean or not.
void CheckEnded(const SweepRun& run, const std::vector<ShownMessage>& accepted, const std::string& where) {
  EXPECT_FALSE(run.waitedOut) << where << ": still waiting for the instrument";
  EXPECT_EQ(run.openLinks, 0) << where << ": port left open";
  for (const RecordedMessage& message : run.messages) {
    EXPECT_TRUE(Accepted(message, accepted)) << where << ": unexpected \"" << message.text << "\" / \""
                                             << message.caption << "\"";
  }
  const auto errors = std::count_if(run.messages.begin(), run.messages.end(),
                                    [](const RecordedMessage& m) { return m.kind == MessageKind::Error; });
  EXPECT_LE(errors, 1) << where << ": more than one error shown";
}

}  // namespace

void SweepFaults(const std::string& operation, const SweepRunner& run, const std::vector<ShownMessage>& accepted,
                 Losses losses, std::span<const LinkFault> faults) {
  const SweepRun clean = run(nullptr);
  CheckEnded(clean, accepted, operation + ", no fault");
  ASSERT_TRUE(Delivered(clean)) << operation << ": the correct conversation delivers nothing";
  ASSERT_GT(clean.answerBytes, 0u) << operation;
  for (LinkFault fault : faults) {
    for (size_t k = 0; k < clean.answerBytes; ++k) {
      const InjectedFault injected{k, fault};
      const SweepRun faulted = run(&injected);
      const std::string where = operation + ", " + LinkFaultName(fault) + " at byte " + std::to_string(k);
      CheckEnded(faulted, accepted, where);
      if (Delivered(faulted) && faulted.messages == clean.messages) {
        // Harmless only when the user gets what the clean run delivered.
        if (losses == Losses::WholeRecords) {
          EXPECT_TRUE(LinesWithin(faulted.observed, clean.observed))
              << where << ": result " << faulted.result << ", delivered\n" << faulted.observed << "\ninstead of\n"
              << clean.observed;
        } else {
          EXPECT_EQ(faulted.observed, clean.observed) << where << ": result " << faulted.result;
        }
      }
      if (::testing::Test::HasFailure()) return;  // one broken run tells enough
    }
  }
}

}  // namespace trelvik::testing
