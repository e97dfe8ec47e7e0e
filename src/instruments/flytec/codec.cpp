#include "instruments/flytec/codec.hpp"

#include <array>

#include "access/nmea.hpp"
#include "base/c_format.hpp"
#include "records/date_time_parsers.hpp"
#include "records/names.hpp"
#include "records/number_parsers.hpp"
#include "records/text_scan.hpp"

namespace trelvik::flytec {
namespace {

// Blanks collapsed, cut to `limit` characters, optionally upper-cased.
std::string CleanField(std::string_view field, size_t limit, bool upper) {
  std::string text(field);
  CollapseBlanks(text);
  if (text.size() > limit) {
    text.resize(limit);
    CollapseBlanks(text);  // a cut may leave a blank at the end
  }
  if (upper) {
    for (char& c : text) c = ToUpper(c);
  }
  return text;
}

}  // namespace

std::string PBRTR(int index) {
  std::string text = CFormat("$PBRTR,%02d", index);
  FinishNmeaSentence(text);
  return static_cast<char>(kXon) + text;
}

ProductLine ParseProductLine(std::string line, ProductData& product) {
  std::array<int, 5> offsets{};
  const int fields = CheckNmeaSentence(line, offsets);
  if (fields < 5 || NmeaField(line, offsets[0]) != "$PBRSNP") return ProductLine::OtherLine;
  ProductData parsed;
  parsed.model = CleanField(NmeaField(line, offsets[1]), 16, true);
  parsed.pilot = CleanField(NmeaField(line, offsets[2]), 40, false);
  parsed.serial = CleanField(NmeaField(line, offsets[3]), 7, false);
  parsed.software = CleanField(NmeaField(line, offsets[4]), 6, false);
  if (parsed.pilot.empty()) return ProductLine::NoPilot;
  product = std::move(parsed);
  return ProductLine::Product;
}

std::string ModelName(std::string_view model) {
  struct Row {
    std::string_view substring;
    std::string_view name;
  };
  // Searched top to bottom: "COMPEO+" before "COMPEO", which it contains.
  static constexpr Row kModels[] = {
      {"5020", "5020"},       {"5030", "5030"},         {"6020", "6020"},
      {"6030", "6030"},       {"COMPEO+", "Compeo+"},   {"COMPEO", "Compeo"},
      {"COMPETINO+", "Competino+"}, {"COMPETINO", "Competino"}, {"GALILEO", "Galileo"},
  };
  for (const Row& row : kModels) {
    if (model.find(row.substring) != std::string_view::npos) return std::string(row.name);
  }
  return "Unknown";
}

bool CanListTracks(std::string_view model, std::string_view software) {
  if (model == "COMPETINO" || model == "5020") return software > std::string_view("1.13");
  if (model == "COMPEO" || model == "5030" || model == "GALILEO") return software > std::string_view("2.19");
  return model == "COMPEO+" || model == "6030" || model == "COMPETINO+" || model == "6020";
}

std::string_view TrackListErrorText(TrackListError error) {
  switch (error) {
    case TrackListError::None: return "";
    case TrackListError::ParseError: return "NMEA line parse error";
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
  std::array<int, 6> offsets{};
  const int fields = CheckNmeaSentence(line, offsets);
  if (fields < 6) return TrackListError::ParseError;
  if (NmeaField(line, offsets[0]) != "$PBRTL") return TrackListError::Identifier;
  TrackListLine parsed;
  if (ParseUnsignedInt(NmeaField(line, offsets[1]), parsed.count) < 0) return TrackListError::Count;
  if (ParseUnsignedInt(NmeaField(line, offsets[2]), parsed.index) < 0) return TrackListError::Index;
  CalendarDate date;
  if (ParseDateDMY(NmeaField(line, offsets[3]), date) < 0) return TrackListError::Date;
  ClockTime start;
  if (ParseTimeHMS(NmeaField(line, offsets[4]), ':', start) < 0) return TrackListError::Time;
  ClockTime duration;
  if (ParseTimeHMS(NmeaField(line, offsets[5]), ':', duration) < 0) return TrackListError::Duration;
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

std::string FixedWidth(std::string_view text, size_t width) {
  size_t n = text.size() < width ? text.size() : width;
  // Step back over UTF-8 continuation bytes so that no character is split.
  if (n < text.size()) {
    while (n > 0 && (static_cast<uint8_t>(text[n]) & 0xC0) == 0x80) --n;
  }
  std::string out = NmeaFieldText(text.substr(0, n), ' ');
  out.append(width - n, ' ');
  return out;
}

}  // namespace trelvik::flytec
