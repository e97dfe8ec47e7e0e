#include "b_record_fields.hpp"

#include <cmath>
#include <fstream>
#include <sstream>

#include "base/c_format.hpp"

namespace trelvik::bench {
namespace {

constexpr char kFlight[] = "../shared/flights/pg-flytec5020-2007-3s.igc";

double Angle(const std::string& digits, int degreeDigits, char hemisphere) {
  const double degrees = std::stod(digits.substr(0, static_cast<size_t>(degreeDigits)));
  const double minutes = std::stod(digits.substr(static_cast<size_t>(degreeDigits))) / 1000.0;
  const double value = degrees + minutes / 60.0;
  return (hemisphere == 'S' || hemisphere == 'W' ? -value : value) * M_PI / 180;
}

void AddFix(BRecordFields& f, const std::string& line) {
  // B HHMMSS DDMMmmm N DDDMMmmm E V PPPPP GGGGG
  const std::string lat = line.substr(7, 7), lon = line.substr(15, 8);
  f.times.push_back(line.substr(1, 6));
  f.latitudes.push_back(lat.substr(0, 4) + "." + lat.substr(4) + line[14]);
  f.longitudes.push_back(lon.substr(0, 5) + "." + lon.substr(5) + line[23]);
  f.altitudes.push_back(line.substr(25, 5));
  f.altitudes.push_back(line.substr(30, 5));
  f.positions.push_back({Angle(lat, 2, line[14]), Angle(lon, 3, line[23])});
}

BRecordFields Load() {
  BRecordFields f;
  std::ifstream in(kFlight);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 35 && line[0] == 'B') AddFix(f, line);
  }
  if (!f.positions.empty()) {
    f.source = kFlight;
    return f;
  }
  // A thermalling glider: 3 s fixes on 40 m circles drifting east.
  for (int i = 0; i < 9000; ++i) {
    const double t = i * 3.0;
    const double northM = 40 * std::sin(t / 20), eastM = 40 * std::cos(t / 20) + t * 2;
    const double lat = 46.5 + northM / 111150, lon = 7.5 + eastM / 76500;
    const int sec = 36000 + i * 3;
    const auto latMin = static_cast<int>(std::lround((lat - 46) * 60000));
    const auto lonMin = static_cast<int>(std::lround((lon - 7) * 60000));
    AddFix(f, CFormat("B%02d%02d%02d46%05dN007%05dEA%05d%05d", sec / 3600, sec / 60 % 60, sec % 60, latMin, lonMin,
                      1500 + i % 300, 1520 + i % 300));
  }
  f.source = "generated";
  return f;
}

}  // namespace

const BRecordFields& Flight() {
  static const BRecordFields fields = Load();
  return fields;
}

}  // namespace trelvik::bench
