#include "trackfiles/igc_encoder.hpp"

#include <cmath>
#include <new>
#include <string_view>

#include "base/c_format.hpp"
#include "base/crc32.hpp"
#include "geo/angles.hpp"
#include "records/text_buffer.hpp"
#include "trackfiles/igc_security.hpp"

namespace trelvik {
namespace {

// Builds the file and runs the checksum over the signed lines as they are
// appended. After a failed append the buffer is gone and every later append fails.
class IgcTextBuilder {
 public:
  explicit IgcTextBuilder(TextBuffer& buffer) : buffer_(buffer) {}

  void Signed(std::string_view line) {
    Unsigned(line);
    crc_ = Crc32Update(crc_, line);
  }
  void Unsigned(std::string_view line) { (void)buffer_.AppendLine(line); }
  uint32_t Crc() const { return crc_; }

 private:
  TextBuffer& buffer_;
  uint32_t crc_ = kCrc32Initial;
};

std::string_view FirstLine(const std::string& text) {
  const size_t end = text.find_first_of("\r\n");
  return std::string_view(text).substr(0, end == std::string::npos ? text.size() : end);
}

std::string HeaderLine(std::string_view prefix, const std::string& value) {
  std::string line(prefix);
  line += FirstLine(value);
  line += "\r\n";
  return line;
}

// One coordinate as IGC writes it: degrees, minutes and thousandths of a minute.
struct MilliMinuteParts {
  int32_t degrees;
  int32_t minutes;
  int32_t thousandths;
  bool negative;
};

MilliMinuteParts SplitMilliMinutes(Semicircle angle) {
  const int32_t m = SemicircleToMilliMinute(angle);
  const int32_t magnitude = m < 0 ? -m : m;
  return {magnitude / 60000, magnitude % 60000 / 1000, magnitude % 1000, m < 0};
}

std::string BRecord(const TrackPoint& point, bool addEnl) {
  const SystemTime t = DateFromTrackTime(point.time);
  const MilliMinuteParts lat = SplitMilliMinutes(point.lat);
  const MilliMinuteParts lon = SplitMilliMinutes(point.lon);
  std::string line =
      CFormat("B%02d%02d%02d%02d%02d%03d%c%03d%02d%03d%cA%05d%05d", t.hour, t.minute, t.second, lat.degrees,
              lat.minutes, lat.thousandths, lat.negative ? 'S' : 'N', lon.degrees, lon.minutes, lon.thousandths,
              lon.negative ? 'W' : 'E', point.baroAlt, IgcGpsAltitudeField(point.gpsAlt));
  if (addEnl) line += CFormat("%03d", IgcEnlField(point.aux));
  line += "\r\n";
  return line;
}

void Encode(const IgcEncoderInput& in, IgcTextBuilder& out, EncodedIgc& result) {
  const std::string_view serial = FirstLine(in.serial);
  const std::string_view description = FirstLine(in.description);
  out.Signed(std::string("AXTV") + std::string(serial) + " " + std::string(description) + "\r\n");

  const SystemTime date = DateFromTrackTime(in.points.empty() ? 0 : in.points.front().time);
  out.Signed(CFormat("HFDTE%02d%02d%02d\r\n", date.day, date.month, date.year % 100));
  out.Unsigned(HeaderLine("HOPLTPILOT: ", in.pilot));
  out.Unsigned(HeaderLine("HOGTYGLIDERTYPE: ", in.gliderType));
  out.Unsigned(HeaderLine("HOGIDGLIDERID: ", in.gliderId));
  out.Unsigned("HODTM100GPSDATUM: WGS-84\r\n");
  out.Unsigned(HeaderLine("HOCIDCOMPETITIONID: ", in.competitionId));
  out.Unsigned(HeaderLine("HOCCLCOMPETITION CLASS: ", in.competitionClass));
  out.Unsigned(HeaderLine("HOSITSite: ", in.site));
  if (in.addEnl) out.Signed("I013638ENL\r\n");

  for (const TrackPoint& point : in.points) out.Signed(BRecord(point, in.addEnl));

  out.Signed(CFormat("LXTV Trelvik version %d.%02d\r\n", in.programVersion / 100, in.programVersion % 100));
  const SystemTime& d = in.downloadTime;
  out.Signed(
      CFormat("LXTV Downloaded %d-%02d-%02d  %02d:%02d:%02d\r\n", d.year, d.month, d.day, d.hour, d.minute, d.second));

  result.isSigned = in.wantSecurity && in.signable == 1;
  if (result.isSigned) out.Unsigned("G" + IgcSecurityRecord(out.Crc()) + "\r\n");
}

}  // namespace

int32_t IgcGpsAltitudeField(int32_t gpsAltDecimetres) {
  if (gpsAltDecimetres < 0) return 0;
  return static_cast<int32_t>((static_cast<int64_t>(gpsAltDecimetres) + 5) / 10);
}

int32_t IgcEnlField(float aux) {
  // NaN and negative depths count as no noise; the comparison in double keeps
  // huge values from overflowing the integer conversion.
  if (!(aux >= 0.0f)) return 0;
  const double scaled = static_cast<double>(aux) * 3.28084 + 0.5;
  if (scaled > 999.0) return 999;
  return static_cast<int32_t>(scaled);
}

EncodedIgc EncodeIgc(const IgcEncoderInput& input) {
  EncodedIgc result;
  TextBuffer buffer(kIgcTextBufferStart, input.textLimit);
  if (buffer.Failed()) return result;
  try {
    IgcTextBuilder builder(buffer);
    Encode(input, builder, result);
  } catch (const std::bad_alloc&) {
    // A line that could not even be formatted fails like a buffer that cannot grow.
    return EncodedIgc{-1, {}, false};
  }
  if (buffer.Failed()) return EncodedIgc{-1, {}, false};
  result.length = static_cast<int32_t>(buffer.Length());
  result.text = buffer.Take();
  return result;
}

}  // namespace trelvik
