#include "analysis/olc/olc_claim.hpp"

#include "base/c_format.hpp"
#include "geo/angles.hpp"

namespace trelvik::olc {
namespace {

constexpr uint32_t kSecondsPerDay = 86400;
// Days from 1601-01-01, the contest's day count, to the time base's day 0.
constexpr int kDaysBeforeTimeBase = 142078;

bool StaysAsIs(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  switch (c) {
    case '!':
    case '$':
    case '(':
    case ')':
    case '*':
    case ',':
    case '-':
    case '.':
    case '_': return true;
    default: return false;
  }
}

std::string TimeOfDay(uint32_t seconds) {
  return CFormat("%02d:%02d:%02d", static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                 static_cast<int>(seconds % 60));
}

// "&w0bh=N&w0bg=46&w0bm=30&w0bmd=500&w0lh=E&..." for one point.
std::string Corner(int number, const TrackPoint& p) {
  const int32_t lat = SemicircleToMilliMinute(p.lat);
  const int32_t lon = SemicircleToMilliMinute(p.lon);
  const int64_t latAbs = lat < 0 ? -int64_t{lat} : lat;
  const int64_t lonAbs = lon < 0 ? -int64_t{lon} : lon;
  return CFormat("&w%dbh=%c&w%dbg=%d&w%dbm=%02d&w%dbmd=%03d&w%dlh=%c&w%dlg=%d&w%dlm=%02d&w%dlmd=%03d", number,
                 lat < 0 ? 'S' : 'N', number, static_cast<int>(latAbs / 60000), number,
                 static_cast<int>(latAbs % 60000 / 1000), number, static_cast<int>(latAbs % 1000), number,
                 lon < 0 ? 'W' : 'E', number, static_cast<int>(lonAbs / 60000), number,
                 static_cast<int>(lonAbs % 60000 / 1000), number, static_cast<int>(lonAbs % 1000));
}

}  // namespace

std::string UrlEncode(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (StaysAsIs(byte)) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return encoded;
}

std::string ClaimLine(const CheckedPilot& pilot, const std::string& igcName, const std::array<TrackPoint, 5>& corners,
                      int32_t programVersion) {
  const PilotFields& f = pilot.fields;
  std::string line = "OLCvnolc=" + UrlEncode(f.firstName);
  line += "&na=" + UrlEncode(f.lastName);
  line += "&geb=" + UrlEncode(f.birthDate);
  line += "&gty=" + UrlEncode(f.gliderType);
  line += "&sta=" + UrlEncode(f.startPlace);
  const std::string_view region = f.region < Regions().size() ? Regions()[f.region].code : std::string_view{};
  if (!region.empty()) line += "&region=" + UrlEncode(region);
  line += "&gid=" + UrlEncode(f.callSign);
  line += CFormat("&klasse=%d", pilot.classCode);
  line += "&igcfn=" + UrlEncode(igcName);
  line += "&flugzeug=1";
  const TrackTime start = corners[0].time;
  line += CFormat("&ft=%d", static_cast<int>(start / kSecondsPerDay) + kDaysBeforeTimeBase);
  line += "&s0=" + TimeOfDay(start % kSecondsPerDay);
  for (int i = 0; i < 5; ++i) line += Corner(i, corners[static_cast<size_t>(i)]);
  uint32_t end = corners[4].time % kSecondsPerDay;
  if (end <= start % kSecondsPerDay) end += kSecondsPerDay;
  line += "&s4=" + TimeOfDay(end);
  line += CFormat("&software=Trelvik%d%02d", static_cast<int>(programVersion / 100),
                  static_cast<int>(programVersion % 100));
  return line;
}

std::string ClaimFile(std::string_view line, std::string_view igc) {
  std::string file(line);
  if (!igc.empty()) {
    file += kIgcFieldName;
    file += igc;
  }
  return file;
}

}  // namespace trelvik::olc
