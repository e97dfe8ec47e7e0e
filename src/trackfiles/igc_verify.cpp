#include "trackfiles/igc_verify.hpp"

#include "base/atomic_file.hpp"
#include "base/crc32.hpp"
#include "base/message_box.hpp"
#include "trackfiles/igc_file_read.hpp"
#include "trackfiles/igc_security.hpp"

namespace trelvik {
namespace {

constexpr size_t kRecordDigits = 16;

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

}  // namespace

IgcVerification VerifyIgcText(std::string_view text) {
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);

  uint32_t crc = kCrc32Initial;
  size_t pos = 0;
  for (;;) {
    if (pos == text.size()) return IgcVerification::NoSecurityRecord;
    const char first = text[pos];
    if (first == 'G') {
      const std::string_view digits = text.substr(pos + 1, kRecordDigits);
      if (digits != IgcSecurityRecord(crc)) return IgcVerification::Failed;
      const std::string_view rest = text.substr(pos + 1 + kRecordDigits);
      for (const char c : rest) {
        if (!IsLineBreak(c)) return IgcVerification::Failed;
      }
      return IgcVerification::Passed;
    }
    const bool headerOrLog = first == 'H' || first == 'L';
    if (!headerOrLog && first != 'A' && first != 'B' && first != 'I') return IgcVerification::Failed;
    if (headerOrLog && pos + 1 == text.size()) return IgcVerification::Failed;

    const size_t lf = text.find('\n', pos);
    if (!headerOrLog || IsIgcSignedLine(text.substr(pos, 2))) {
      if (lf == std::string_view::npos) return IgcVerification::Failed;
      crc = Crc32Update(crc, text.substr(pos, lf + 1 - pos));
      pos = lf + 1;
      continue;
    }
    // An unsigned H or L line, and any empty lines after it, are passed over.
    const size_t lineEnd = text.find_first_of("\r\n", pos);
    if (lineEnd == std::string_view::npos) return IgcVerification::Failed;
    pos = lineEnd + 1;
    if (text[lineEnd] == '\r' && pos < text.size()) ++pos;
    while (pos < text.size() && IsLineBreak(text[pos])) ++pos;
  }
}

void VerifyIgcFile(UserInterface& ui, std::string& igcDir) {
  FileDialogRequest request{FileDialogKind::Open, "Read track log", "IGC track log files", ".igc", igcDir};
  const std::optional<std::string> chosen = ui.ChooseFile(request);
  if (!chosen || chosen->empty()) return;
  igcDir = FolderOf(*chosen);

  const IgcFileBytes file = ReadIgcFileBytes(*chosen);
  switch (file.fault) {
    case IgcFileFault::None:
      break;
    case IgcFileFault::Open:
    case IgcFileFault::Size:
      ShowSystemError(ui, "Error opening track log file", file.errorNumber);
      return;
    case IgcFileFault::Memory:
      ShowSystemError(ui, "File buffer memory allocation", file.errorNumber);
      return;
    case IgcFileFault::Read:
      ShowSystemError(ui, "Track log file read error", file.errorNumber);
      return;
    case IgcFileFault::Empty:
      ShowError(ui, "File is empty", "Reading track log file");
      return;
  }
  switch (VerifyIgcText(file.bytes)) {
    case IgcVerification::Passed:
      ShowInfo(ui, "Security check PASSED", "Security check");
      break;
    case IgcVerification::NoSecurityRecord:
      ShowInfo(ui, "No security record", "Security check");
      break;
    case IgcVerification::Failed:
      ShowError(ui, "Security check FAILED", "Security check");
      break;
  }
}

}  // namespace trelvik
