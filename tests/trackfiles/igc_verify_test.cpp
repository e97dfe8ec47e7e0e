#include "trackfiles/igc_verify.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "base/atomic_file.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/igc_encoder.hpp"
#include "trackfiles/igc_security.hpp"

namespace trelvik {
namespace {

using testing::RecordedBox;
using testing::ScriptedUserInterface;
using testing::TempDir;

std::string SignedFile() {
  static const std::vector<TrackPoint> points = [] {
    std::vector<TrackPoint> pts(3);
    for (int i = 0; i < 3; ++i) {
      pts[i].time = 700000000u + 4u * i;
      pts[i].lat = 566000000 + 900 * i;
      pts[i].lon = -98000000 - 700 * i;
      pts[i].gpsAlt = 15000 + 13 * i;
      pts[i].baroAlt = 1490 + i;
      pts[i].aux = 3.0f * i;
    }
    return pts;
  }();
  IgcEncoderInput input;
  input.points = points;
  input.signable = 1;
  input.wantSecurity = true;
  input.addEnl = true;
  input.pilot = "Anna";
  input.serial = "7QZ";
  input.description = "Flytec 6030";
  return EncodeIgc(input).text;
}

TEST(IgcVerify, WhatTheEncoderSignsPasses) {
  EXPECT_EQ(VerifyIgcText(SignedFile()), IgcVerification::Passed);
  EXPECT_EQ(VerifyIgcText(SignedFile() + "\r\n\n\r"), IgcVerification::Passed);
}

// Every byte of every signed line, its line end included, is covered.
TEST(IgcVerify, AnyChangedSignedByteFails) {
  const std::string file = SignedFile();
  size_t lineStart = 0;
  int checked = 0;
  while (lineStart < file.size()) {
    const size_t lineEnd = file.find('\n', lineStart) + 1;
    if (IsIgcSignedLine(std::string_view(file).substr(lineStart, 2))) {
      for (size_t i = lineStart; i < lineEnd; ++i) {
        for (const char delta : {1, 0x20, 0x40}) {
          std::string changed = file;
          changed[i] = static_cast<char>(changed[i] ^ delta);
          if (changed[i] == '\0') continue;
          ASSERT_NE(VerifyIgcText(changed), IgcVerification::Passed) << "byte " << i << " ^" << int{delta};
          ++checked;
        }
      }
    }
    lineStart = lineEnd;
  }
  EXPECT_GT(checked, 300);
}

TEST(IgcVerify, ChangedFilesAndTheirResults) {
  const std::string file = SignedFile();
  const size_t gLine = file.rfind("\r\nG") + 2;
  const size_t secondB = file.find("\r\nB", file.find("\r\nB") + 2) + 2;
  auto replace = [&file](const std::string& from, const std::string& to) {
    std::string changed = file;
    changed.replace(changed.find(from), from.size(), to);
    return changed;
  };
  struct Case {
    const char* what;
    std::string text;
    IgcVerification result;
  };
  std::string changedDigit = file;
  changedDigit[gLine + 5] = changedDigit[gLine + 5] == '0' ? '1' : '0';
  const Case cases[] = {
      {"HO lines edited", replace("HOPLTPILOT: Anna", "HOPLTPILOT: Someone else entirely"), IgcVerification::Passed},
      {"HO line removed", replace("HOSITSite: \r\n", ""), IgcVerification::Passed},
      {"empty lines after an HO line", replace("HOSITSite: \r\n", "HOSITSite: \r\n\r\n\n"), IgcVerification::Passed},
      {"HO line ending in a lone LF", replace("HOSITSite: \r\n", "HOSITSite: \n"), IgcVerification::Passed},
      {"extra empty line between B records", file.substr(0, secondB) + "\r\n" + file.substr(secondB),
       IgcVerification::Failed},
      {"G line removed", file.substr(0, gLine), IgcVerification::NoSecurityRecord},
      {"G digit changed", changedDigit, IgcVerification::Failed},
      {"G digits cut short", file.substr(0, gLine + 10), IgcVerification::Failed},
      {"text after the G record", file + "LXTV more\r\n", IgcVerification::Failed},
      {"a blank after the G record", file.substr(0, gLine + 17) + " \r\n", IgcVerification::Failed},
      {"unknown record", replace("HOSITSite: \r\n", "C0000\r\n"), IgcVerification::Failed},
      {"signed line without a line end", file.substr(0, gLine - 1), IgcVerification::Failed},
      {"H as the last character", file.substr(0, gLine) + "H", IgcVerification::Failed},
      {"unsigned line without a line end", file.substr(0, gLine) + "HOPLT", IgcVerification::Failed},
      {"zero byte ends the text", file.substr(0, gLine) + std::string(1, '\0') + file.substr(gLine),
       IgcVerification::NoSecurityRecord},
      {"empty text", "", IgcVerification::NoSecurityRecord},
  };
  for (const Case& c : cases) EXPECT_EQ(VerifyIgcText(c.text), c.result) << c.what;
}

struct VerifyFileCase {
  const char* what;
  std::string content;  // written to the chosen file; "<none>" means no file at all
  RecordedBox box;
};

TEST(IgcVerify, VerifyFileReportsUnderSecurityCheck) {
  const std::string file = SignedFile();
  std::string tampered = file;
  tampered[file.find("\r\nB") + 5] ^= 1;
  const VerifyFileCase cases[] = {
      {"signed", file, {MessageKind::Information, "Security check PASSED", "Security check"}},
      {"tampered", tampered, {MessageKind::Error, "Security check FAILED", "Security check"}},
      {"unsigned",
       file.substr(0, file.rfind("\r\nG") + 2),
       {MessageKind::Information, "No security record", "Security check"}},
      {"empty", "", {MessageKind::Error, "File is empty", "Reading track log file"}},
      {"missing", "<none>", {MessageKind::Error, "No such file or directory", "Error opening track log file"}},
  };
  for (const VerifyFileCase& c : cases) {
    TempDir dir;
    const std::string path = dir.File("flight.igc");
    if (c.content != "<none>") {
      ASSERT_FALSE(WriteFileAtomically(path, c.content));
    }
    ScriptedUserInterface ui;
    ui.QueueFile(path);
    std::string igcDir = "/start";
    VerifyIgcFile(ui, igcDir);
    ASSERT_EQ(ui.boxes.size(), 1u) << c.what;
    EXPECT_EQ(ui.boxes[0], c.box) << c.what;
    EXPECT_EQ(igcDir, dir.Path());
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].kind, FileDialogKind::Open);
    EXPECT_EQ(ui.fileRequests[0].title, "Read track log");
    EXPECT_EQ(ui.fileRequests[0].typeName, "IGC track log files");
    EXPECT_EQ(ui.fileRequests[0].extension, ".igc");
    EXPECT_EQ(ui.fileRequests[0].folder, "/start");
  }
}

TEST(IgcVerify, CancelledChooserDoesNothing) {
  ScriptedUserInterface ui;
  std::string igcDir = "/start";
  VerifyIgcFile(ui, igcDir);
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(igcDir, "/start");
}

}  // namespace
}  // namespace trelvik
