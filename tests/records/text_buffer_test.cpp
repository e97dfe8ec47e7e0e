#include "records/text_buffer.hpp"

#include <gtest/gtest.h>

#include <string>

namespace trelvik {
namespace {

TEST(TextBufferTest, AppendsLinesAsGiven) {
  TextBuffer buffer(kIgcTextBufferStart);
  ASSERT_EQ(buffer.AppendLine("AXXX001\r\n"), 0);
  ASSERT_EQ(buffer.AppendLine("HFDTE010112\r\n"), 0);
  EXPECT_EQ(buffer.Text(), "AXXX001\r\nHFDTE010112\r\n");
  EXPECT_EQ(buffer.Capacity(), kIgcTextBufferStart);
}

TEST(TextBufferTest, DoublesWhenTheTerminatorWouldReachTheCapacity) {
  TextBuffer buffer(10);
  ASSERT_EQ(buffer.AppendLine("12345678"), 0);  // 8 + 1 < 10
  EXPECT_EQ(buffer.Capacity(), 10u);
  ASSERT_EQ(buffer.AppendLine("9"), 0);  // 9 + 1 reaches 10
  EXPECT_EQ(buffer.Capacity(), 20u);
  ASSERT_EQ(buffer.AppendLine(std::string(100, 'x')), 0);
  EXPECT_EQ(buffer.Capacity(), 160u);
  EXPECT_EQ(buffer.Length(), 109u);
}

TEST(TextBufferTest, FailedGrowthFreesTheTextAndKeepsFailing) {
  TextBuffer buffer(8, 32);
  ASSERT_EQ(buffer.AppendLine("1234567890"), 0);
  EXPECT_EQ(buffer.AppendLine(std::string(40, 'x')), -1);
  EXPECT_TRUE(buffer.Failed());
  EXPECT_EQ(buffer.Length(), 0u);
  EXPECT_EQ(buffer.AppendLine("y"), -1);
  EXPECT_STREQ(kMemoryAllocationError, "Memory allocation error");
}

TEST(TextBufferTest, StartAboveTheLimitFails) {
  TextBuffer buffer(100, 50);
  EXPECT_TRUE(buffer.Failed());
  EXPECT_EQ(buffer.AppendLine("a"), -1);
}

}  // namespace
}  // namespace trelvik
