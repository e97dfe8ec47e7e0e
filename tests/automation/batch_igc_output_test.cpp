#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "automation/batch_test_support.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/igc_verify.hpp"

namespace trelvik {
namespace {

using testing::DownloadedLog;
using testing::FileText;
using testing::OutputFixture;
using testing::RecordedBox;
using testing::TempDir;

RecordedBox SaveError(const char* text) { return {MessageKind::Error, text, "Save IGC log"}; }

class BatchIgc : public ::testing::Test {
 protected:
  BatchIgc() {
    fixture.job.jobKind = JobKind::IgcLog;
    fixture.job.gpsType = GpsType::Flymaster;  // its log is encoded by the program
    fixture.job.fileName = dir.Path() + "/";
    fixture.job.pilot = "Anna Pilot";
    fixture.job.gliderId = "HB-123";
  }
  int Write() { return WriteBatchIgc(log, fixture.Context()); }
  std::string Name(int flightNumber, const char* maker = "xtv", const char* serial = "000") {
    char name[64];
    std::snprintf(name, sizeof name, "/2024-05-17-%s-%s-%02d.igc", maker, serial, flightNumber);
    return dir.Path() + name;
  }

  TempDir dir;
  OutputFixture fixture;
  TrackLog log = DownloadedLog();
};

TEST_F(BatchIgc, FolderGetsTheFirstFreeFlightNumber) {
  ASSERT_FALSE(WriteFileAtomically(Name(1), "one"));
  ASSERT_FALSE(WriteFileAtomically(Name(2), "two"));
  EXPECT_EQ(Write(), kOutputWritten);
  EXPECT_EQ(FileText(Name(1)), "one");
  EXPECT_EQ(FileText(Name(2)), "two");
  EXPECT_EQ(VerifyIgcText(FileText(Name(3))), IgcVerification::Passed);
  EXPECT_EQ(fixture.ui.statusLines, std::vector<std::string>{"60 positions written"});
  EXPECT_TRUE(fixture.ui.boxes.empty());
}

TEST_F(BatchIgc, WriterGetsPilotGliderAndInstrument) {
  ASSERT_EQ(Write(), kOutputWritten);
  const std::string text = FileText(Name(1));
  EXPECT_NE(text.find("Anna Pilot"), std::string::npos);
  EXPECT_NE(text.find("HB-123"), std::string::npos);
  EXPECT_NE(text.find("6030 12345 3.36"), std::string::npos);
}

TEST_F(BatchIgc, UnsignableLogHasNoSecurityRecord) {
  log.signable = 0;
  ASSERT_EQ(Write(), kOutputWritten);
  EXPECT_EQ(VerifyIgcText(FileText(Name(1))), IgcVerification::NoSecurityRecord);
}

TEST_F(BatchIgc, OverwriteAlwaysUsesFlightNumberOne) {
  fixture.job.overwrite = 1;
  ASSERT_FALSE(WriteFileAtomically(Name(1), "one"));
  ASSERT_FALSE(WriteFileAtomically(Name(2), "two"));
  EXPECT_EQ(Write(), kOutputWritten);
  EXPECT_EQ(VerifyIgcText(FileText(Name(1))), IgcVerification::Passed);
  EXPECT_EQ(FileText(Name(3)), "<missing>");
}

TEST_F(BatchIgc, DateInTheFolderName) {
  std::filesystem::create_directory(dir.File("20240517"));
  fixture.job.fileName = dir.Path() + "/$date/";
  ASSERT_EQ(Write(), kOutputWritten);
  EXPECT_NE(FileText(dir.File("20240517/2024-05-17-xtv-000-01.igc")), "<missing>");
}

TEST_F(BatchIgc, GivenFileNameIsUsedUnchanged) {
  fixture.job.fileName = dir.File("$date-mine.igc");
  ASSERT_EQ(Write(), kOutputWritten);
  EXPECT_EQ(VerifyIgcText(FileText(dir.File("20240517-mine.igc"))), IgcVerification::Passed);
}

TEST_F(BatchIgc, ExistingGivenFileHasNoFreeFlightNumber) {
  fixture.job.fileName = dir.File("mine.igc");
  ASSERT_FALSE(WriteFileAtomically(dir.File("mine.igc"), "old"));
  EXPECT_EQ(Write(), kOutputFailed);
  EXPECT_EQ(FileText(dir.File("mine.igc")), "old");
  EXPECT_EQ(fixture.ui.boxes, std::vector<RecordedBox>{SaveError("No free flight number available")});
  EXPECT_EQ(fixture.exitCancelled, 1);
}

TEST_F(BatchIgc, AllThirtyFiveFlightNumbersTaken) {
  for (int n = 1; n <= 35; ++n) ASSERT_FALSE(WriteFileAtomically(Name(n), "taken"));
  EXPECT_EQ(Write(), kOutputFailed);
  EXPECT_EQ(fixture.ui.boxes, std::vector<RecordedBox>{SaveError("No free flight number available")});
  EXPECT_EQ(fixture.exitCancelled, 1);
}

TEST_F(BatchIgc, MissingFolderIsAnOpenErrorNotAFlightNumberShortage) {
  fixture.job.fileName = dir.File("absent/");
  EXPECT_EQ(Write(), kOutputFailed);
  EXPECT_EQ(fixture.ui.boxes, std::vector<RecordedBox>{SaveError("File open error")});
  EXPECT_EQ(fixture.exitCancelled, 1);
}

TEST_F(BatchIgc, MissingFolderWithOverwriteIsAnOpenError) {
  fixture.job.overwrite = 1;
  fixture.job.fileName = dir.File("absent/");
  EXPECT_EQ(Write(), kOutputFailed);
  EXPECT_EQ(fixture.ui.boxes, std::vector<RecordedBox>{SaveError("File open error")});
}

TEST_F(BatchIgc, TooLongFileName) {
  fixture.job.fileName = dir.Path() + "/" + std::string(240, 'd') + "/";
  EXPECT_EQ(Write(), kOutputFailed);
  EXPECT_EQ(fixture.ui.boxes, std::vector<RecordedBox>{SaveError("Too long file name")});
}

TEST_F(BatchIgc, NoPositions) {
  log.points.clear();
  EXPECT_EQ(Write(), kOutputFailed);
  EXPECT_EQ(fixture.ui.boxes, std::vector<RecordedBox>{SaveError("No positions")});
}

class BatchRawIgc : public BatchIgc {
 protected:
  BatchRawIgc() {
    fixture.job.gpsType = GpsType::IqCompeo;
    log.rawIgc = "AFLY12345\r\nHFDTE170524\r\nB1000004612000N00806000EA0150001500\r\n";
    log.rawIgcDate = testing::FlightStart();
    log.rawIgcMaker = "FLY";
    log.rawIgcSerial = "12345";
  }
};

TEST_F(BatchRawIgc, InstrumentFileIsSavedUnchanged) {
  ASSERT_EQ(Write(), kOutputWritten);
  EXPECT_EQ(FileText(Name(1, "xxx", "12345")), log.rawIgc);
  EXPECT_EQ(fixture.ui.productLines, std::vector<std::string>{Name(1, "xxx", "12345")});
  EXPECT_TRUE(fixture.ui.statusLines.empty());
}

TEST_F(BatchRawIgc, NoLogStored) {
  log.rawIgc.clear();
  EXPECT_EQ(Write(), kOutputFailed);
  EXPECT_EQ(fixture.ui.boxes, std::vector<RecordedBox>{SaveError("No log stored")});
  EXPECT_EQ(fixture.exitCancelled, 0);
}

}  // namespace
}  // namespace trelvik
