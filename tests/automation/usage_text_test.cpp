#include "automation/usage_text.hpp"

#include <gtest/gtest.h>

#include "automation/command_line_options.hpp"

namespace trelvik {
namespace {

TEST(UsageText, ListsEveryOptionOnItsOwnLine) {
  const std::string usage = UsageText();
  for (std::string_view key : CommandLineOptionKeys()) {
    const std::string start = "\n  /" + std::string(key);
    const size_t at = usage.find(start);
    ASSERT_NE(at, std::string::npos) << key;
    const char next = usage[at + start.size()];
    EXPECT_TRUE(next == ' ' || next == '=') << key;
  }
}

TEST(UsageText, NamesTheExitCodes) {
  const std::string usage = UsageText();
  EXPECT_NE(usage.find("\n  0  success\n"), std::string::npos);
  EXPECT_NE(usage.find("\n  1  the job failed (for /CHKKML: the signature is valid)\n"), std::string::npos);
  EXPECT_NE(usage.find("\n  2  the command line could not be parsed"), std::string::npos);
  EXPECT_TRUE(usage.ends_with('\n'));
  EXPECT_STREQ(kVersionText, "Trelvik 4.72");
}

}  // namespace
}  // namespace trelvik
