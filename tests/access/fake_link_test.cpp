// The scripted link the driver tests and the fault sweep stand on: each fault
// shapes the answers as it says, and the script knows when its links close.
#include "support/fake_link.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <span>

namespace trelvik {
namespace {

using std::chrono::milliseconds;

// Everything the link delivers until it fails or stays silent; -1 at the end
// when it failed.
std::string Drain(Link& link, int* last = nullptr) {
  std::string received;
  uint8_t buffer[4];
  for (;;) {
    const int n = link.Read(buffer, milliseconds(100));
    if (last != nullptr) *last = n;
    if (n <= 0) return received;
    received.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(n));
  }
}

TEST(LinkScriptTest, EachFaultShapesTheAnswers) {
  struct Case {
    LinkFault fault;
    size_t at;
    std::string expected;
    int last;  // result of the final read
  };
  const Case cases[] = {
      {LinkFault::Silence, 3, "abc", 0},
      {LinkFault::Garbage, 2, std::string("ab\xFF\x00\xA5\x5A\xFE\x80\x13\x11\x7F\x24\x2A\x0D", 14), 0},
      {LinkFault::HangUp, 4, "abcd", -1},
      {LinkFault::Corrupt, 1, "a\x9D" "cdef", 0},
      {LinkFault::Corrupt, 4, "abcd\x9A" "f", 0},  // in the second answer
      {LinkFault::Corrupt, 6, "abcdef", 0},         // past the end: nothing to garble
  };
  for (const Case& c : cases) {
    auto script = std::make_shared<LinkScript>();
    script->Answer("abcd").Answer("ef").InjectFault(c.at, c.fault);
    EXPECT_EQ(script->AnswerBytes(), 6u);
    std::unique_ptr<Link> link = script->NewLink();
    int last = 1;
    EXPECT_EQ(Drain(*link, &last), c.expected) << LinkFaultName(c.fault) << " at " << c.at;
    EXPECT_EQ(last, c.last) << LinkFaultName(c.fault) << " at " << c.at;
  }
}

TEST(LinkScriptTest, AReaderThatNeverStopsWaitingIsCutOff) {
  ManualClock clock;
  auto script = std::make_shared<LinkScript>(&clock);
  script->WaitLimit(milliseconds(1000));
  std::unique_ptr<Link> link = script->NewLink();
  uint8_t buffer[4];
  int reads = 0;
  while (link->Read(buffer, milliseconds(300)) == 0) ++reads;
  EXPECT_EQ(reads, 3);  // the fourth wait reaches the limit
  EXPECT_TRUE(script->WaitedOut());
  EXPECT_EQ(clock.Now(), 1200u);
}

TEST(LinkScriptTest, CountsItsOpenLinks) {
  auto script = std::make_shared<LinkScript>();
  std::unique_ptr<Link> first = script->NewLink();
  std::unique_ptr<Link> second = script->NewLink();
  EXPECT_EQ(script->OpenLinks(), 2);
  first.reset();
  second.reset();
  EXPECT_EQ(script->OpenLinks(), 0);
}

}  // namespace
}  // namespace trelvik
