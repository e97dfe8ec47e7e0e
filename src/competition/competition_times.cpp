#include "competition/competition_times.hpp"

#include <cctype>

#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/date_time_parsers.hpp"

namespace trelvik {
namespace {

constexpr const char* kCaption = "Read comp. time";
// The years the time base covers; later years would wrap round.
constexpr int kFirstYear = 1990;
constexpr int kLastYear = 2099;

// Reads digits at `pos` into `value`; false when there are none.
bool Digits(std::string_view text, size_t& pos, int& value) {
  const size_t start = pos;
  value = 0;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) && pos - start < 4) {
    value = value * 10 + (text[pos++] - '0');
  }
  return pos > start;
}

bool Expect(std::string_view text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

}  // namespace

std::string CompetitionTimeText(TrackTime time) {
  if (time == 0) return {};
  const SystemTime d = DateFromTrackTime(time);
  return CFormat("%d-%02d-%02d  %02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute, d.second);
}

std::string CompetitionTimeLine(TrackTime time, std::string_view none) {
  return time == 0 ? std::string(none) : CompetitionTimeText(time);
}

std::optional<TrackTime> ParseCompetitionTime(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return TrackTime{0};
  size_t pos = 0;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!Digits(text, pos, year) || !Expect(text, pos, '-') || !Digits(text, pos, month) || !Expect(text, pos, '-') ||
      !Digits(text, pos, day)) {
    return std::nullopt;
  }
  if (!Expect(text, pos, ' ')) return std::nullopt;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  if (!Digits(text, pos, hour) || !Expect(text, pos, ':') || !Digits(text, pos, minute) || !Expect(text, pos, ':') ||
      !Digits(text, pos, second) || pos != text.size()) {
    return std::nullopt;
  }
  if (year < kFirstYear || year > kLastYear || !IsValidCalendarDay(year, month, day) || hour > 23 || minute > 59 ||
      second > 59) {
    return std::nullopt;
  }
  SystemTime date;
  date.year = static_cast<uint16_t>(year);
  date.month = static_cast<uint16_t>(month);
  date.day = static_cast<uint16_t>(day);
  date.hour = static_cast<uint16_t>(hour);
  date.minute = static_cast<uint16_t>(minute);
  date.second = static_cast<uint16_t>(second);
  return TrackTimeFromDate(date);
}

std::optional<CompetitionTimes> CheckCompetitionTimes(UserInterface& ui, std::string_view start,
                                                      std::string_view stop) {
  const std::optional<TrackTime> first = ParseCompetitionTime(start);
  if (!first) {
    ShowError(ui, "Bad start time", kCaption);
    return std::nullopt;
  }
  const std::optional<TrackTime> last = ParseCompetitionTime(stop);
  if (!last) {
    ShowError(ui, "Bad stop time", kCaption);
    return std::nullopt;
  }
  if (*first != 0 && *last != 0 && *first >= *last) {
    ShowError(ui, "Stop time before start time", kCaption);
    return std::nullopt;
  }
  return CompetitionTimes{*first, *last};
}

}  // namespace trelvik
