#include "access/debug_trace.hpp"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "access/save_trace.hpp"
#include "base/atomic_file.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

using testing::RecordedBox;
using testing::ScriptedUserInterface;
using testing::TempDir;

std::string Bytes(int n) {
  std::string bytes;
  for (int i = 0; i < n; ++i) bytes += static_cast<char>(i);
  return bytes;
}

struct HexDumpCase {
  int n;
  std::string expected;
};

class HexDumpTest : public ::testing::TestWithParam<HexDumpCase> {};

TEST_P(HexDumpTest, LinesEndAfterEverySixteenthByteAndOnceAtTheEnd) {
  DebugTrace trace;
  const std::string bytes = Bytes(GetParam().n);
  trace.TraceHexBytes(bytes.data(), GetParam().n);
  EXPECT_EQ(trace.Contents(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HexDumpTest,
    ::testing::Values(HexDumpCase{0, ""}, HexDumpCase{-3, ""}, HexDumpCase{1, " 00\r\n"},
                      HexDumpCase{16, " 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\r\n"},
                      HexDumpCase{17, " 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\r\n 10\r\n"}));

TEST(DebugTraceTest, Hex32IsEightUpperCaseDigits) {
  DebugTrace trace;
  trace.TraceHex32(0x0123ABCDu);
  trace.TraceHex32(0xFFu);
  EXPECT_EQ(trace.Contents(), "0123ABCD000000FF");
}

TEST(DebugTraceTest, WritesPastTheLimitKeepTheEarliestTraffic) {
  DebugTrace trace;
  std::string first(kTraceSize - 2, 'a');
  trace.TraceText(first);
  EXPECT_EQ(trace.TraceText("bcdef"), kTraceSize);
  EXPECT_EQ(trace.TraceByte('x'), kTraceSize);
  const std::string contents = trace.Contents();
  ASSERT_EQ(contents.size(), static_cast<size_t>(kTraceSize));
  EXPECT_EQ(contents.substr(0, 3), "aaa");
  EXPECT_EQ(contents.substr(kTraceSize - 3), "abc");
}

struct LimitCase {
  int filled;          // count before the call
  int hexBytes;        // bytes dumped (0: TraceHex32 instead)
  int expectedCount;
};

class TraceLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(TraceLimitTest, EachWriteTestsItsLimitFirst) {
  DebugTrace trace;
  trace.TraceText(std::string(GetParam().filled, 'a'));
  const uint8_t bytes[16] = {};
  const int count = GetParam().hexBytes > 0 ? trace.TraceHexBytes(bytes, GetParam().hexBytes) : trace.TraceHex32(1);
  EXPECT_EQ(count, GetParam().expectedCount);
  EXPECT_LE(count, kTraceSize);
}

INSTANTIATE_TEST_SUITE_P(Cases, TraceLimitTest,
                         ::testing::Values(LimitCase{99994, 1, 99999},  // byte and closing CR LF
                                           LimitCase{99995, 1, 99998},  // the byte fits; its CR LF does not
                                           LimitCase{99996, 1, 99999},
                                           LimitCase{99997, 1, 99999},  // no byte, the closing CR LF still fits
                                           LimitCase{99946, 16, 99996}, // line end at 99,994
                                           LimitCase{99947, 16, 99995}, // line end dropped
                                           LimitCase{99991, 0, 99999}, LimitCase{99992, 0, 99992}));

TEST(DebugTraceTest, ClearEmptiesTheBuffer) {
  DebugTrace trace;
  trace.TraceText("abc");
  trace.ClearTrace();
  EXPECT_EQ(trace.Count(), 0);
}

TEST(DebugTraceTest, ConcurrentWritersLoseNoByte) {
  DebugTrace trace;
  std::thread a([&] { for (int i = 0; i < 5000; ++i) trace.TraceByte('a'); });
  std::thread b([&] { for (int i = 0; i < 5000; ++i) trace.TraceText("b"); });
  a.join();
  b.join();
  EXPECT_EQ(trace.Count(), 10000);
}

TEST(SaveTraceTest, EmptyBufferShowsBufferIsEmptyAndWritesNothing) {
  ScriptedUserInterface ui;
  TempDir dir;
  ui.QueueFile(dir.File("trace.log"));
  DebugTrace trace;
  std::string folder = dir.Path();
  EXPECT_EQ(SaveTrace(ui, trace, folder), -1);
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Error, "Buffer is empty", "Save debug buffer"}}));
  EXPECT_TRUE(ui.fileRequests.empty());
  EXPECT_FALSE(FileExists(dir.File("trace.log")));
}

TEST(SaveTraceTest, WritesTheBytesAsTheyAreWithTheLogExtension) {
  ScriptedUserInterface ui;
  TempDir dir;
  ui.QueueFile(dir.File("trace"));
  DebugTrace trace;
  trace.TraceText("$PBRSNP,*21\r\n");
  trace.TraceByte(0x11);
  std::string folder = dir.Path();
  EXPECT_EQ(SaveTrace(ui, trace, folder), 0);
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].title, "Save debug buffer");
  EXPECT_EQ(ui.fileRequests[0].typeName, "Log files");
  EXPECT_EQ(ui.fileRequests[0].extension, ".log");
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.File("trace.log"), bytes));
  EXPECT_EQ(bytes, "$PBRSNP,*21\r\n\x11");
  EXPECT_EQ(ui.boxes, (std::vector<RecordedBox>{{MessageKind::Information, "File written", "Save debug buffer"}}));
}

TEST(SaveTraceTest, WriteFailureShowsTheSystemTextUnderFileWriteError) {
  ScriptedUserInterface ui;
  TempDir dir;
  ui.QueueFile(dir.File("missing-folder/trace.log"));
  DebugTrace trace;
  trace.TraceText("x");
  std::string folder = dir.Path();
  EXPECT_EQ(SaveTrace(ui, trace, folder), -1);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].kind, MessageKind::Error);
}

}  // namespace
}  // namespace trelvik
