#pragma once
// The one place where track points become IGC text: A, H, I, B and L records,
// closed by the program's own G record when the points came straight from an
// instrument. Used by the interactive save, the batch run, competition output,
// the OLC claim file and the KML-to-IGC conversion.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "records/track_point.hpp"
#include "records/track_time.hpp"

namespace trelvik {

// 100 x major + minor, written into the first L record as "4.72".
inline constexpr int32_t kTrelvikVersion = 472;

// Texts may be empty; an empty text leaves its place empty. A text is cut at
// its first line break, so no header value can start a record of its own.
struct IgcEncoderInput {
  std::span<const TrackPoint> points;
  int32_t signable = 0;  // only 1 allows a security record
  std::string pilot;
  std::string competitionId;
  std::string gliderType;
  std::string gliderId;
  std::string competitionClass;
  std::string site;
  std::string description;  // free text of the A record
  std::string serial;       // recorder serial, three letters or digits
  SystemTime downloadTime;  // UTC, written into the second L record
  bool wantSecurity = false;
  bool addEnl = false;  // declare ENL in columns 36-38 and write it from TrackPoint::aux
  int32_t programVersion = kTrelvikVersion;
  // The most memory the text may take; growing past it fails as an exhausted heap does.
  std::size_t textLimit = std::string().max_size();
};

struct EncodedIgc {
  // > 0: length of `text`; 0: the first block could not be had; -1: a later
  // growth failed (text is then empty). Callers report <= 0 as
  // "Memory allocation error" under their own caption.
  int32_t length = 0;
  std::string text;
  bool isSigned = false;  // the G record was written
};

[[nodiscard]] EncodedIgc EncodeIgc(const IgcEncoderInput& input);

// Field values of one B record, exposed for the tests of the rounding rules.
int32_t IgcGpsAltitudeField(int32_t gpsAltDecimetres);  // 0 below zero, else whole metres
int32_t IgcEnlField(float aux);                         // feet-scaled depth, 0..999

}  // namespace trelvik
