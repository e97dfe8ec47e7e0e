#include "analysis/flight_corpus.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <cmath>

#include "geo/angles.hpp"
#include "records/track_time.hpp"

namespace trelvik::testing {
namespace {

bool Digits(const std::string& text, size_t at, size_t count, int& value) {
  if (at + count > text.size()) return false;
  value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

// Degrees, whole minutes and thousandths of a minute, then the hemisphere letter.
bool Angle(const std::string& line, size_t at, int degreeDigits, char negative, Semicircle& angle) {
  int degrees = 0, milliMinutes = 0;
  if (!Digits(line, at, degreeDigits, degrees) || !Digits(line, at + degreeDigits, 5, milliMinutes)) return false;
  const double value = degrees + milliMinutes / 60000.0;
  const char hemisphere = line[at + degreeDigits + 5];
  angle = RadiansToSemicircle((hemisphere == negative ? -value : value) * M_PI / 180.0);
  return true;
}

}  // namespace

std::vector<TrackPoint> ReadIgcFixes(const std::string& text) {
  std::vector<TrackPoint> points;
  std::istringstream lines(text);
  std::string line;
  std::optional<TimeOfDayClock> clock;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!clock && line.rfind("HFDTE", 0) == 0) {
      size_t at = line.find_first_of("0123456789");
      int day = 0, month = 0, year = 0;
      if (at != std::string::npos && Digits(line, at, 2, day) && Digits(line, at + 2, 2, month) &&
          Digits(line, at + 4, 2, year)) {
        SystemTime date;
        date.year = static_cast<uint16_t>(year < 80 ? 2000 + year : 1900 + year);
        date.month = static_cast<uint16_t>(month);
        date.day = static_cast<uint16_t>(day);
        clock.emplace(TrackTimeFromDate(date));
      }
      continue;
    }
    if (line.size() < 35 || line[0] != 'B' || !clock) continue;
    int hh = 0, mm = 0, ss = 0, gps = 0;
    TrackPoint point;
    if (!Digits(line, 1, 2, hh) || !Digits(line, 3, 2, mm) || !Digits(line, 5, 2, ss) ||
        !Angle(line, 7, 2, 'S', point.lat) || !Angle(line, 15, 3, 'W', point.lon)) {
      continue;
    }
    const bool negativeGps = line[30] == '-';
    if (!Digits(line, negativeGps ? 31 : 30, negativeGps ? 4 : 5, gps)) gps = 0;
    point.time = clock->Next(static_cast<uint32_t>(ss + 60 * mm + 3600 * hh));
    point.gpsAlt = (negativeGps ? -gps : gps) * 10;
    point.flags = points.empty() ? kNewSegment : 0;
    points.push_back(point);
  }
  return points;
}

std::vector<CorpusFlight> ReadFlightCorpus(const std::string& folder) {
  std::vector<CorpusFlight> flights;
  if (folder.empty() || !std::filesystem::is_directory(folder)) return flights;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".igc") continue;
    std::ifstream file(entry.path(), std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    flights.push_back({entry.path().filename().string(), ReadIgcFixes(bytes.str())});
  }
  std::sort(flights.begin(), flights.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return flights;
}

}  // namespace trelvik::testing
