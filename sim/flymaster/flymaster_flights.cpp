#include "flymaster/flymaster_flights.hpp"

#include <cmath>
#include <string_view>

namespace trelvik::sim {
namespace {

constexpr int kDaysBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr size_t kRecordsPerBlock = 42;  // 252 data bytes, the most a length byte allows in sixes

bool Digits(std::string_view text, size_t pos, size_t n, int32_t& value) {
  if (pos + n > text.size()) return false;
  value = 0;
  for (size_t i = pos; i < pos + n; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

uint32_t DaysSince2000(int year, int month, int day) {
  uint32_t days = 0;
  for (int y = 2000; y < year; ++y) days += y % 4 == 0 ? 366 : 365;
  days += static_cast<uint32_t>(kDaysBefore[month - 1] + day - 1);
  if (month > 2 && year % 4 == 0) ++days;
  return days;
}

std::string Frame(uint8_t type, const std::string& data) {
  std::string block;
  block += static_cast<char>(type);
  block += static_cast<char>(type);
  block += static_cast<char>(data.size());
  uint8_t sum = static_cast<uint8_t>(data.size());
  for (const char c : data) sum ^= static_cast<uint8_t>(c);
  block += data;
  block += static_cast<char>(sum);
  return block;
}

void Put32(std::string& d, uint32_t v) {
  for (int i = 0; i < 4; ++i) d += static_cast<char>(v >> (8 * i) & 0xFF);
}
void Put16(std::string& d, int32_t v) {
  d += static_cast<char>(v & 0xFF);
  d += static_cast<char>(v >> 8 & 0xFF);
}

std::string KeyData(const FlymasterFix& fix, bool badLatitude) {
  std::string d(1, '\0');
  Put32(d, static_cast<uint32_t>(badLatitude ? 5400001 : fix.lat));
  Put32(d, static_cast<uint32_t>(fix.lon));
  Put16(d, fix.gpsAlt);
  Put16(d, fix.pressure);
  Put32(d, fix.time);
  return d;
}

bool FitsDelta(const FlymasterFix& a, const FlymasterFix& b) {
  const auto small = [](int32_t d) { return d >= -128 && d <= 127; };
  return small(b.lat - a.lat) && small(b.lon - a.lon) && small(b.gpsAlt - a.gpsAlt) && small(b.pressure - a.pressure) &&
         b.time >= a.time && b.time - a.time <= 255;
}

std::string DeltaRecord(const FlymasterFix& a, const FlymasterFix& b) {
  std::string r(1, '\0');
  r += static_cast<char>(static_cast<int8_t>(b.lat - a.lat));
  r += static_cast<char>(static_cast<int8_t>(b.lon - a.lon));
  r += static_cast<char>(static_cast<int8_t>(b.gpsAlt - a.gpsAlt));
  r += static_cast<char>(static_cast<int8_t>(b.pressure - a.pressure));
  r += static_cast<char>(static_cast<uint8_t>(b.time - a.time));
  return r;
}

}  // namespace

int32_t PressureAt(int32_t metres) {
  const double atmospheres = std::pow(1.0 - metres / 44307.69, 1.0 / 0.190284);
  return static_cast<int32_t>(std::lround(atmospheres / 0.0009869232667160128 * 10.0));
}

FlymasterFlight FlymasterFlightFromIgc(const SimFlight& flight) {
  FlymasterFlight out;
  const uint32_t day0 = DaysSince2000(2000 + flight.year, flight.month, flight.day) * 86400u;
  uint32_t dayOffset = 0;
  int32_t previous = -1;
  size_t start = 0;
  const std::string_view text = flight.igc;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    int32_t h, m, s, latD, latM, lonD, lonM, baro, gps;
    if (!line.starts_with("B") || line.size() < 35 || !Digits(line, 1, 2, h) || !Digits(line, 3, 2, m) ||
        !Digits(line, 5, 2, s) || !Digits(line, 7, 2, latD) || !Digits(line, 9, 5, latM) ||
        !Digits(line, 15, 3, lonD) || !Digits(line, 18, 5, lonM) || !Digits(line, 25, 5, baro) ||
        !Digits(line, 30, 5, gps)) {
      continue;
    }
    const int32_t seconds = h * 3600 + m * 60 + s;
    if (previous >= 0 && seconds + 3600 < previous) dayOffset += 86400;
    previous = seconds;
    FlymasterFix fix;
    fix.time = day0 + dayOffset + static_cast<uint32_t>(seconds);
    fix.lat = (latD * 60000 + latM) * (line[14] == 'S' ? -1 : 1);
    fix.lon = (lonD * 60000 + lonM) * (line[23] == 'E' ? -1 : 1);
    fix.gpsAlt = gps;
    fix.pressure = PressureAt(baro);
    fix.baroAlt = baro;
    out.fixes.push_back(fix);
  }
  if (!out.fixes.empty()) {
    out.start = out.fixes.front().time;
    out.duration = out.fixes.back().time - out.fixes.front().time;
  }
  return out;
}

std::vector<std::string> FlymasterBlocks(const FlymasterFlight& flight, uint32_t serial, const std::string& pilot,
                                         const StreamFaults& faults) {
  std::vector<std::string> blocks;
  std::string info(63, '\0');
  info[0] = 1;
  info[1] = 20;
  for (int i = 0; i < 4; ++i) info[4 + static_cast<size_t>(i)] = static_cast<char>(serial >> (8 * i) & 0xFF);
  info.replace(8, 3, "123");
  info.replace(16, pilot.size() < 15 ? pilot.size() : 15, pilot.substr(0, 15));
  info.replace(46, 10, "Sim Glider");
  blocks.push_back(Frame(0xA0, info));
  if (faults.deltaFirst && flight.fixes.size() > 1) {
    blocks.push_back(Frame(0xA2, DeltaRecord(flight.fixes[0], flight.fixes[0])));
  }
  std::string records;
  const auto flush = [&] {
    if (!records.empty()) blocks.push_back(Frame(0xA2, records));
    records.clear();
  };
  bool firstKey = true;
  for (size_t i = 0; i < flight.fixes.size(); ++i) {
    const FlymasterFix& fix = flight.fixes[i];
    if (i == 0 || !FitsDelta(flight.fixes[i - 1], fix)) {
      flush();
      if (!faults.dropKeys) blocks.push_back(Frame(0xA1, KeyData(fix, faults.badLatitude && firstKey)));
      firstKey = false;
      continue;
    }
    records += DeltaRecord(flight.fixes[i - 1], fix);
    if (records.size() == kRecordsPerBlock * 6) flush();
  }
  flush();
  blocks.push_back(std::string("\xA3\xA3", 2));
  return blocks;
}

}  // namespace trelvik::sim
