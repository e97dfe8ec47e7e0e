#include "trackfiles/topnav_track.hpp"

#include <algorithm>

#include "base/c_format.hpp"
#include "trackfiles/topnav_tncm.hpp"

namespace trelvik {
namespace {

constexpr const char* kCaption = "Reading Top Navigator Log File";
constexpr size_t kPiece = 200;  // the instrument's read size, kept so both paths feed alike

void FeedWhole(TncmDecoder& decoder, std::string_view bytes) {
  for (size_t at = 0; at < bytes.size() && decoder.State() == TncmState::Running; at += kPiece) {
    (void)decoder.Feed(bytes.substr(at, std::min(kPiece, bytes.size() - at)));
  }
}

}  // namespace

TrackFileRead ReadTopNavTrack(std::string_view bytes, int32_t utcOffset) {
  // A downloaded XC Trainer log is saved as this file too, and its header may
  // name pressure altitudes (format 0) or both altitudes in longer lines
  // (format 2). Read as a TopNav log, the latter would give no position at
  // all; so the header's format is taken when it reads the whole file, and
  // every other file is read as a TopNav log, as before.
  // A header naming GPS altitudes reads the same either way, so once is enough.
  TncmDecoder byHeader(TncmOptions{true, utcOffset});
  FeedWhole(byHeader, bytes);
  const bool headerServes = byHeader.RecordFormat() == kTncmGpsOnly ||
                            (byHeader.State() == TncmState::Finished && !byHeader.Points().empty());
  TncmDecoder topNav(TncmOptions{false, utcOffset});
  if (!headerServes) FeedWhole(topNav, bytes);
  TncmDecoder& decoder = headerServes ? byHeader : topNav;
  switch (decoder.State()) {
    case TncmState::Failed: {
      const int code = decoder.ErrorCode();
      const char* format = code >= kTncmGoodAfterBadAtEnd ? "Error %d on block line %d" : "Error %d on line %d";
      return TrackFileRead::Failure(CFormat(format, code, decoder.ErrorLine()), kCaption, decoder.ErrorLine());
    }
    case TncmState::Running:
      return TrackFileRead::Failure(decoder.SawHeader() ? "Missing end-of-file record" : "Missing start record",
                                    kCaption);
    case TncmState::Finished: break;
  }
  TrackFileRead read;
  read.records.points = std::move(decoder.Points());
  read.records.hasPressureAltitude = decoder.RecordFormat() == kTncmGpsOnly ? 0 : 1;
  if (decoder.IgnoredBlocks() > 0) {
    read.notices.push_back(
        {FileNoticeKind::Warning, CFormat("Error(s) in %d block(s) ignored", decoder.IgnoredBlocks()), kCaption});
  }
  return read;
}

}  // namespace trelvik
