#include "records/format_progress.hpp"

#include <gtest/gtest.h>

#include <string>

#include "records/case_printing.hpp"

namespace trelvik {
namespace {

struct ProgressCase {
  std::string format;
  int64_t a, b, c, d;
  std::string expected;
};

void PrintTo(const ProgressCase& c, std::ostream* os) { testing::PrintQuoted(c.format, os); }

class FormatProgressTest : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(FormatProgressTest, FillsEachPercent) {
  const ProgressCase& p = GetParam();
  EXPECT_EQ(FormatProgress(p.format, p.a, p.b, p.c, p.d), p.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatProgressTest,
    ::testing::Values(ProgressCase{"Track position % (%m %s)", 1200, 3, 7, 0, "Track position 1200 (3m 7s)"},
                      ProgressCase{"% waypoints received", 0, 0, 0, 0, "0 waypoints received"},
                      ProgressCase{"%/%/%/%/%", 1, 2, 3, 4, "1/2/3/4/4"}, ProgressCase{"", 5, 6, 7, 8, ""},
                      ProgressCase{"no counts", 5, 0, 0, 0, "no counts"},
                      ProgressCase{"E205 Format error %", 3, 0, 0, 0, "E205 Format error 3"},
                      ProgressCase{"%%", 12, 34, 0, 0, "12%"}, ProgressCase{"at end %", 2147483647, 0, 0, 0,
                                                                              "at end 2147483647"},
                      ProgressCase{"%", -17, 0, 0, 0, "17"}));

}  // namespace
}  // namespace trelvik
