// PFM sentences, the product answer, the flight list and the settings.
#include "instruments/flymaster/codec.hpp"

#include "access/nmea.hpp"
#include "base/c_format.hpp"
#include "records/date_time_parsers.hpp"
#include "records/number_parsers.hpp"
#include "records/track_time.hpp"

namespace trelvik::flymaster {
namespace {

constexpr size_t kProductLimit = 40;
constexpr size_t kSoftwareLimit = 10;
constexpr int kLongestAltitudeAlarm = 11000;

}  // namespace

std::string PfmSentence(std::string_view body, bool upperHex) {
  std::string text = "$" + std::string(body);
  text += CFormat(upperHex ? "*%02X\r\n" : "*%02x\r\n", NmeaChecksum(text));
  return text;
}

std::string SentenceText(std::string_view text, size_t limit) {
  std::string out;
  size_t characters = 0;
  for (const char c : text) {
    const bool continuation = (static_cast<uint8_t>(c) & 0xC0) == 0x80;
    if (!continuation && characters++ == limit) break;
    out += c;
  }
  return NmeaFieldText(out, ' ');
}

std::optional<ProductData> ParseProductLine(std::string line) {
  std::vector<std::string_view> fields;
  if (CheckSentence(line, fields) != 0 || fields.size() < 5 || fields[0] != "$PBRSNP") return std::nullopt;
  ProductData product;
  product.product = std::string(fields[1].substr(0, kProductLimit));
  product.serial = std::string(fields[3]);
  product.software = std::string(fields[4].substr(0, kSoftwareLimit));
  return product;
}

std::string_view TrackListErrorText(TrackListError error) {
  switch (error) {
    case TrackListError::None: return "";
    case TrackListError::TooFew: return "Too few parameters";
    case TrackListError::Identifier: return "Bad NMEA identifier";
    case TrackListError::Count: return "Bad track count parameter";
    case TrackListError::Index: return "Bad track index parameter";
    case TrackListError::Date: return "Bad track date parameter";
    case TrackListError::Time: return "Bad track time parameter";
    case TrackListError::Duration: return "Bad track duration parameter";
  }
  return "";
}

TrackListError ParseTrackListLine(std::string line, TrackListLine& entry) {
  std::vector<std::string_view> fields;
  // A line that fails its checksum has, as far as the unit's word goes, no fields.
  if (CheckSentence(line, fields) != 0 || fields.size() < 6) return TrackListError::TooFew;
  if (fields[0] != "$PFMLST") return TrackListError::Identifier;
  TrackListLine parsed;
  if (ParseUnsignedInt(fields[1], parsed.count) < 0) return TrackListError::Count;
  if (ParseUnsignedInt(fields[2], parsed.index) < 0) return TrackListError::Index;
  CalendarDate date;
  if (ParseDateDMY(fields[3], date) < 0) return TrackListError::Date;
  ClockTime start;
  if (ParseTimeHMS(fields[4], ':', start) < 0) return TrackListError::Time;
  ClockTime duration;
  if (ParseTimeHMS(fields[5], ':', duration) < 0) return TrackListError::Duration;
  SystemTime when;
  when.year = static_cast<uint16_t>(date.year + 2000);
  when.month = static_cast<uint16_t>(date.month);
  when.day = static_cast<uint16_t>(date.day);
  when.hour = static_cast<uint16_t>(start.hour);
  when.minute = static_cast<uint16_t>(start.minute);
  when.second = static_cast<uint16_t>(start.second);
  parsed.start = TrackTimeFromDate(when);
  parsed.duration = static_cast<uint32_t>(duration.SecondsOfDay());
  entry = parsed;
  return TrackListError::None;
}

std::string PFMDNL(TrackTime start) {
  const SystemTime t = DateFromTrackTime(start);
  return PfmSentence(
      CFormat("PFMDNL,%02d%02d%02d%02d%02d%02d,", t.year - 2000, t.month, t.day, t.hour, t.minute, t.second));
}

std::string SettingsSentence(SettingsCommand command, const std::vector<std::string>& texts) {
  const auto text = [&](size_t i, size_t limit) { return i < texts.size() ? SentenceText(texts[i], limit) : ""; };
  switch (command) {
    case SettingsCommand::PilotData:
      return PfmSentence(CFormat("PFMPLT,%s,%s,%s,%s,", text(0, 14).c_str(), text(1, 7).c_str(), text(2, 14).c_str(),
                                 text(3, 14).c_str()));
    case SettingsCommand::AltitudeAlarm: {
      int32_t metres = 0;
      if (texts.empty() || ParseUnsignedInt(texts[0], metres) < 0 || metres > kLongestAltitudeAlarm) return {};
      return PfmSentence(CFormat("PFMALT,%d,", metres));
    }
    case SettingsCommand::Identifiers:
      return PfmSentence(CFormat("PFMIDS,%s,%s,%s", text(0, 7).c_str(), text(1, 7).c_str(), text(2, 14).c_str()));
  }
  return {};
}

}  // namespace trelvik::flymaster
