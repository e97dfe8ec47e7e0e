#include "flytec/flytec_flights.hpp"

#include <cmath>
#include <fstream>
#include <iterator>
#include <string_view>

#include "base/c_format.hpp"

namespace trelvik::sim {
namespace {

bool TwoDigits(std::string_view text, size_t pos, int& value) {
  if (pos + 2 > text.size() || text[pos] < '0' || text[pos] > '9' || text[pos + 1] < '0' || text[pos + 1] > '9') {
    return false;
  }
  value = (text[pos] - '0') * 10 + (text[pos + 1] - '0');
  return true;
}

// Calls `line` for every line of `text` without its line end.
template <typename F>
void ForEachLine(std::string_view text, F&& line) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view l = text.substr(start, end - start);
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    line(l);
    start = end + 1;
  }
}

// Every line of `text` passed through `edit`, which may change or drop it
// (returning false); line ends are kept as they were.
template <typename F>
std::string EditLines(const std::string& text, F&& edit) {
  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    std::string line = text.substr(start, end - start);
    if (edit(line)) out += line;
    start = end;
  }
  return out;
}

}  // namespace

bool LoadFlight(const std::string& path, SimFlight& flight, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  flight = SimFlight{};
  flight.igc.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  bool dated = false;
  bool first = true;
  uint32_t previous = 0;
  uint32_t elapsed = 0;
  ForEachLine(flight.igc, [&](std::string_view line) {
    if (line.starts_with("HFDTE") && !dated) {
      size_t pos = 5;
      if (line.substr(5).starts_with("DATE:")) pos = 10;
      if (line.substr(5).starts_with(" DATE:")) pos = 11;
      dated = TwoDigits(line, pos, flight.day) && TwoDigits(line, pos + 2, flight.month) &&
              TwoDigits(line, pos + 4, flight.year);
    }
    int h = 0, m = 0, s = 0;
    if (!line.starts_with("B") || !TwoDigits(line, 1, h) || !TwoDigits(line, 3, m) || !TwoDigits(line, 5, s)) return;
    const uint32_t time = static_cast<uint32_t>(h * 3600 + m * 60 + s);
    if (first) {
      flight.start = time;
      first = false;
    } else {
      elapsed += time >= previous ? time - previous : (previous >= time + 3600 ? time + 86400 - previous : 0);
    }
    previous = time;
  });
  if (!dated || first) {
    error = path + ": no date line or no position";
    return false;
  }
  flight.duration = elapsed;
  return true;
}

SimFlight GenerateFlight(int number) {
  constexpr int kPoints = 600;
  constexpr uint32_t kStart = 10 * 3600;
  SimFlight flight;
  flight.day = 15 - number % 14;
  flight.month = 7;
  flight.year = 24;
  flight.start = kStart;
  flight.duration = (kPoints - 1) * 2;
  std::string& igc = flight.igc;
  igc += "AFLY01234\r\n";
  igc += CFormat("HFDTE%02d%02d%02d\r\n", flight.day, flight.month, flight.year);
  igc += "HFPLTPILOT:Sim Pilot\r\nHFFTYFRTYPE:FLYTEC,6030\r\n";
  for (int i = 0; i < kPoints; ++i) {
    const uint32_t t = kStart + static_cast<uint32_t>(i) * 2;
    const double angle = i * 0.05;
    const int latMilli = 24000 + static_cast<int>(std::lround(300 * std::sin(angle))) + i;
    const int lonMilli = 8000 + static_cast<int>(std::lround(400 * std::cos(angle)));
    const int alt = 2200 + (i % 200) - (i / 3);
    igc += CFormat("B%02u%02u%02u46%05dN008%05dEA%05d%05d\r\n", t / 3600, t / 60 % 60, t % 60, latMilli, lonMilli,
                   alt, alt + 15);
  }
  igc += "G3A5F0C1D2E3F40516273849ABCDEF01\r\n";
  return flight;
}

std::string WithoutDateLines(const std::string& igc) {
  return EditLines(igc, [](std::string& line) { return !line.starts_with("HFDTE"); });
}

std::string WithoutRecords(const std::string& igc, char letter) {
  return EditLines(igc, [letter](std::string& line) { return line.empty() || line[0] != letter; });
}

std::string WithBadDate(const std::string& igc) {
  return EditLines(igc, [](std::string& line) {
    if (line.starts_with("HFDTE") && line.size() >= 7) line.replace(5, 2, "32");
    return true;
  });
}

std::string WithCutPositions(const std::string& igc, int every) {
  int count = 0;
  return EditLines(igc, [&](std::string& line) {
    if (line.starts_with("B") && every > 0 && ++count % every == 0 && line.size() > 30) {
      const bool crlf = line.ends_with("\r\n");
      line = line.substr(0, 30) + (crlf ? "\r\n" : "\n");
    }
    return true;
  });
}

}  // namespace trelvik::sim
