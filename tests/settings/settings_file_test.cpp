#include "settings/settings_file.hpp"

#include <gtest/gtest.h>

namespace trelvik {
namespace {

std::string Put(std::string_view bytes, std::string_view name, std::string_view value) {
  std::vector<SettingsFileLine> lines = SplitSettingsLines(bytes);
  PutSettingLine(lines, name, value);
  return JoinSettingsLines(lines);
}

TEST(SettingsFile, SplitAndJoinKeepEveryByte) {
  const std::string_view cases[] = {"", "A=1", "A=1\n", "A=1\r\nB=2\r\n", "# note\n\nA=1\nB", "A=1\r"};
  for (std::string_view bytes : cases) EXPECT_EQ(JoinSettingsLines(SplitSettingsLines(bytes)), bytes);
}

TEST(SettingsFile, PutReplacesOrAppends) {
  struct Case {
    std::string_view before, name, value, after;
  };
  const Case cases[] = {
      {"", "A", "1", "A=1\n"},
      {"A=1\nB=2\n", "A", "7", "A=7\nB=2\n"},
      {"A=1\r\nB=2\r\n", "C", "3", "A=1\r\nB=2\r\nC=3\r\n"},  // the file's own line end
      {"A=1", "B", "2", "A=1\nB=2\n"},                        // last line without a line end
      {"A=1\nA=2\n", "A", "9", "A=1\nA=9\n"},                 // the last line of a name counts
      {"# A=1\nAB=1\n", "A", "2", "# A=1\nAB=1\nA=2\n"},
      {"A=x=y\n", "A", "v=w", "A=v=w\n"},
      {"", "A", "two\nlines\r", "A=two lines \n"},  // a value can never break the file
  };
  for (const Case& c : cases) EXPECT_EQ(Put(c.before, c.name, c.value), c.after) << c.before;
}

}  // namespace
}  // namespace trelvik
